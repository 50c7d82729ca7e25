#pragma once
#include "AfxWin.h"
#include "CString.h"
#include "RunText.h"

struct ConversionResult {
    bool bStarted = false;      // the process could be created
    bool bStopped = false;      // Stop ended it before it ended by itself
    DWORD dwExitCode = 0;
    std::string strErrorOutput;  // the end of what the process wrote to its error output (ReadErrorTail)
};

// A command line run hidden, in a job of its own so that stopping it also ends
// every process it started. Its input reads from NUL, its error output goes to
// a temporary file whose end is read back; the file goes with the object.
class CConversionRun {
public:
    explicit CConversionRun(const wchar_t* pszCommandLine);
    ~CConversionRun();
    CConversionRun(const CConversionRun&) = delete;
    CConversionRun& operator=(const CConversionRun&) = delete;

    // Signalled once the process has ended; null when it could not be started.
    HANDLE GetProcessHandle() const { return m_hProcess; }
    // Ends the process and every process it started, unless it has ended by
    // itself. Returns at once: a process stuck in the system ends only when
    // that lets it, and GetProcessHandle is signalled then.
    void Stop();
    // Once the process has ended: how, and the end of its error output.
    ConversionResult GetResult() const;

private:
    HANDLE m_hProcess = nullptr;
    HANDLE m_hJob = nullptr;
    bool m_bInJob = false;
    bool m_bStopped = false;
    HANDLE m_hError = INVALID_HANDLE_VALUE;
};

// The end of a file, as much of it as FindErrorTail with nMaxBytes needs to
// give what it gives for the whole file, without its trailing blanks. Reads
// backwards from the end: a file of any size costs at most a few blocks.
std::string ReadErrorTail(HANDLE hFile, size_t nMaxBytes = kTailMaxBytes);
