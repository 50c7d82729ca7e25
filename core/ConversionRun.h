#pragma once
#include "AfxWin.h"
#include "CString.h"
#include "RunText.h"

struct ConversionResult {
    bool bStarted = false;      // the process could be created
    DWORD dwExitCode = 0;
    std::string strErrorOutput;  // the end of what the process wrote to its error output (ReadErrorTail)
};

// Runs a command line hidden and waits for it. Its input reads from NUL, its
// error output goes to a temporary file whose end is read back before the file
// is removed. While it runs, windows keep painting and show the wait cursor;
// input waits in the queue until the run ends.
ConversionResult RunConversion(const char* pszCommandLine);

// The end of a file, as much of it as ErrorOutputTail with nMaxBytes needs to
// give what it gives for the whole file, without its trailing blanks. Reads
// backwards from the end: a file of any size costs at most a few blocks.
std::string ReadErrorTail(HANDLE hFile, size_t nMaxBytes = kTailMaxBytes);
