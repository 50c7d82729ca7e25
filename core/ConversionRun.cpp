#include "ConversionRun.h"
#include "PathRules.h"
#include "PerlLocation.h"

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

// A longer run of lead-byte values before the cut is no text: the tail then starts where the reading stopped.
const size_t kMaxTailRead = 64 * 1024;
const DWORD kTailBlock = 4096;

// Whether the end read so far holds nMaxBytes and, before them, a byte that
// cannot be a lead byte: the next character surely begins after it. That is
// also enough for UTF-8, which needs only the byte before the nMaxBytes (a line
// break or not): a cut inside a UTF-8 character moves forward, never back.
bool ReachesACharacterStart(const std::string& text, size_t nMaxBytes)
{
    for (size_t i = text.size() > nMaxBytes ? text.size() - nMaxBytes : 0; i > 0; --i)
        if (!IsLeadByte932(static_cast<unsigned char>(text[i - 1]))) return true;
    return false;
}

// Whether the job's end, when its last handle closes (also with this program's own end), ends what runs in it.
void SetKillOnClose(HANDLE hJob, bool bKill)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info = {};
    info.BasicLimitInformation.LimitFlags = bKill ? JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE : 0;
    ::SetInformationJobObject(hJob, JobObjectExtendedLimitInformation, &info, sizeof(info));
}

}  // namespace

CConversionRun::CConversionRun(const char* pszCommandLine)
{
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    char szTempDir[MAX_PATH] = "";
    if (::GetTempPathA(MAX_PATH, szTempDir) == 0 || ::GetTempFileNameA(szTempDir, "cvt", 0, m_szErrorPath) == 0)
        m_szErrorPath[0] = '\0';
    else
        m_hError = ::CreateFileA(m_szErrorPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    ScopedHandle hNul(::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                    OPEN_EXISTING, 0, nullptr));

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = hNul.h;
    si.hStdOutput = hNul.h;
    si.hStdError = m_hError != INVALID_HANDLE_VALUE ? m_hError : hNul.h;

    // By its full path: started by name, Windows would also take a perl.exe from the current folder.
    const CString strPerl = FindPerl();
    if (strPerl.IsEmpty()) return;
    std::string strCommandLine(pszCommandLine);  // CreateProcessA may write into it
    PROCESS_INFORMATION pi = {};
    // Suspended until it is in the job, so that nothing it starts escapes it.
    if (!::CreateProcessA(strPerl, &strCommandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
        return;
    // A job of its own: Stop ends all that runs in it, and so does this program's end during
    // the run. Where no job can be had (Windows 7 nests none), Stop ends the process alone.
    m_hJob = ::CreateJobObjectA(nullptr, nullptr);
    if (m_hJob) SetKillOnClose(m_hJob, true);
    m_bInJob = m_hJob && ::AssignProcessToJobObject(m_hJob, pi.hProcess);
    ::ResumeThread(pi.hThread);
    ::CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
}

CConversionRun::~CConversionRun()
{
    if (m_hProcess) ::CloseHandle(m_hProcess);
    // What a script that ended by itself left running stays, as it always has.
    if (m_hJob && !m_bStopped) SetKillOnClose(m_hJob, false);
    if (m_hJob) ::CloseHandle(m_hJob);
    if (m_hError != INVALID_HANDLE_VALUE) ::CloseHandle(m_hError);
    if (m_szErrorPath[0]) ::DeleteFileA(m_szErrorPath);
}

void CConversionRun::Stop()
{
    if (::WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0) return;
    if (!m_bInJob || !::TerminateJobObject(m_hJob, 1)) ::TerminateProcess(m_hProcess, 1);
    ::WaitForSingleObject(m_hProcess, INFINITE);
    m_bStopped = true;
}

ConversionResult CConversionRun::GetResult() const
{
    ConversionResult result;
    result.bStarted = m_hProcess != nullptr;
    result.bStopped = m_bStopped;
    if (result.bStarted) {
        ::GetExitCodeProcess(m_hProcess, &result.dwExitCode);
        result.strErrorOutput = ReadErrorTail(m_hError);
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
