#pragma once
#include "AfxWin.h"
#include "CString.h"

struct ConversionResult {
    bool bStarted = false;      // the process could be created
    DWORD dwExitCode = 0;
    std::string strErrorOutput;  // what the process wrote to its error output
};

// Runs a command line hidden and waits for it. Its input reads from NUL, its
// error output goes to a temporary file that is read back and removed. While
// it runs, windows keep painting and show the wait cursor; input waits in the
// queue until the run ends.
ConversionResult RunConversion(const char* pszCommandLine);
