#include "ConversionRun.h"
#include "PathRules.h"

#include <algorithm>

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

// A longer run of lead-byte values before the cut is no text: the tail then starts where the reading stopped.
const size_t kMaxTailRead = 64 * 1024;
const DWORD kTailBlock = 4096;

// Whether the end read so far holds nMaxBytes and, before them, a byte that
// cannot be a lead byte: the next character surely begins after it.
bool ReachesACharacterStart(const std::string& text, size_t nMaxBytes)
{
    for (size_t i = text.size() > nMaxBytes ? text.size() - nMaxBytes : 0; i > 0; --i)
        if (!IsLeadByte932(static_cast<unsigned char>(text[i - 1]))) return true;
    return false;
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
        result.strErrorOutput = ReadErrorTail(hError.h);
    }
    if (bHaveTemp) {
        ::CloseHandle(hError.h);
        hError.h = INVALID_HANDLE_VALUE;
        ::DeleteFileA(szErrorPath);
    }
    return result;
}

std::string ReadErrorTail(HANDLE hFile, size_t nMaxBytes)
{
    std::string text;
    LARGE_INTEGER nPos = {};
    if (hFile == INVALID_HANDLE_VALUE || !::GetFileSizeEx(hFile, &nPos)) return text;
    while (nPos.QuadPart > 0 && text.size() < kMaxTailRead && !ReachesACharacterStart(text, nMaxBytes)) {
        DWORD nBlock = static_cast<DWORD>(std::min<LONGLONG>(nPos.QuadPart, kTailBlock));
        nPos.QuadPart -= nBlock;
        std::string block(nBlock, '\0');
        DWORD dwRead = 0;
        if (!::SetFilePointerEx(hFile, nPos, nullptr, FILE_BEGIN) ||
            !::ReadFile(hFile, &block[0], nBlock, &dwRead, nullptr) || dwRead != nBlock)
            break;
        text.insert(0, block);
        // Trailing blanks are never shown: dropped at once, a flood of them takes no memory.
        size_t nLast = text.find_last_not_of(" \t\r\n");
        text.erase(nLast == std::string::npos ? 0 : nLast + 1);
    }
    return text;
}
