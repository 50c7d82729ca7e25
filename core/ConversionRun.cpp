#include "ConversionRun.h"

namespace {

// Closes a handle when the scope ends.
struct ScopedHandle {
    HANDLE h;
    explicit ScopedHandle(HANDLE handle) : h(handle) {}
    ~ScopedHandle() { if (h != INVALID_HANDLE_VALUE && h != nullptr) ::CloseHandle(h); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
};

void PumpPaintMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) ::DispatchMessageA(&msg);
}

void WaitKeepingPainted(HANDLE hProcess)
{
    HCURSOR hOldCursor = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    for (;;) {
        PumpPaintMessages();
        if (::MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_PAINT) != WAIT_OBJECT_0 + 1) break;
    }
    ::SetCursor(hOldCursor);
}

std::string ReadAll(HANDLE hFile)
{
    std::string text;
    if (hFile == INVALID_HANDLE_VALUE || ::SetFilePointer(hFile, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return text;
    char buffer[4096];
    DWORD dwRead = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0) text.append(buffer, dwRead);
    return text;
}

}  // namespace

ConversionResult RunConversion(const char* pszCommandLine)
{
    ConversionResult result;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};

    char szTempDir[MAX_PATH] = "";
    char szErrorPath[MAX_PATH] = "";
    bool bHaveTemp = ::GetTempPathA(MAX_PATH, szTempDir) != 0 &&
                     ::GetTempFileNameA(szTempDir, "cvt", 0, szErrorPath) != 0;
    ScopedHandle hError(bHaveTemp ? ::CreateFileA(szErrorPath, GENERIC_READ | GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &sa,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr)
                                  : INVALID_HANDLE_VALUE);
    ScopedHandle hNul(::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                    OPEN_EXISTING, 0, nullptr));

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = hNul.h;
    si.hStdOutput = hNul.h;
    si.hStdError = hError.h != INVALID_HANDLE_VALUE ? hError.h : hNul.h;

    std::string strCommandLine(pszCommandLine);  // CreateProcessA may write into it
    PROCESS_INFORMATION pi = {};
    if (::CreateProcessA(nullptr, &strCommandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        ::CloseHandle(pi.hThread);
        WaitKeepingPainted(pi.hProcess);
        ::GetExitCodeProcess(pi.hProcess, &result.dwExitCode);
        ::CloseHandle(pi.hProcess);
        result.bStarted = true;
        result.strErrorOutput = ReadAll(hError.h);
    }
    if (bHaveTemp) {
        ::CloseHandle(hError.h);
        hError.h = INVALID_HANDLE_VALUE;
        ::DeleteFileA(szErrorPath);
    }
    return result;
}
