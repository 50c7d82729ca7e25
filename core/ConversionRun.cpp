#include "ConversionRun.h"
#include "PerlLocation.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

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

// Whether this program runs in a job, as Explorer starts it on Windows 7 and 8.
bool IsInJob()
{
    BOOL bInJob = FALSE;
    return ::IsProcessInJob(::GetCurrentProcess(), nullptr, &bInJob) && bInJob;
}

ULONGLONG StartTime(HANDLE hProcess)
{
    FILETIME created = {}, unused[3];
    ::GetProcessTimes(hProcess, &created, &unused[0], &unused[1], &unused[2]);
    return static_cast<ULONGLONG>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

// Ends a process and every process it started, found through their parents' ids in passes
// over all processes until a pass finds no more. A process is a child only when it started
// after its parent: an ended parent's id may be given anew. The handles stay open until the
// end, so that no id found meanwhile is given anew.
void TerminateProcessTree(HANDLE hRoot)
{
    struct Ended { DWORD dwId; HANDLE hProcess; ULONGLONG nStart; };
    std::vector<Ended> ended = {{::GetProcessId(hRoot), hRoot, StartTime(hRoot)}};
    auto find = [&ended](DWORD dwId) {
        return std::find_if(ended.begin(), ended.end(), [dwId](const Ended& e) { return e.dwId == dwId; });
    };
    ::TerminateProcess(hRoot, 1);
    for (size_t nKnown = 0; nKnown < ended.size();) {
        nKnown = ended.size();
        HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL bNext = ::Process32FirstW(hSnapshot, &entry); bNext; bNext = ::Process32NextW(hSnapshot, &entry)) {
            const auto parent = find(entry.th32ParentProcessID);
            if (parent == ended.end() || find(entry.th32ProcessID) != ended.end()) continue;
            const ULONGLONG nParentStart = parent->nStart;
            HANDLE hChild = ::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
            const ULONGLONG nStart = hChild ? StartTime(hChild) : 0;
            if (hChild && nStart >= nParentStart) {
                ::TerminateProcess(hChild, 1);
                ended.push_back({entry.th32ProcessID, hChild, nStart});
            } else if (hChild) {
                ::CloseHandle(hChild);
            }
        }
        ::CloseHandle(hSnapshot);
    }
    for (size_t i = 1; i < ended.size(); ++i) ::CloseHandle(ended[i].hProcess);
}

}  // namespace

CConversionRun::CConversionRun(const wchar_t* pszCommandLine)
{
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    // The error output goes with its last handle, also when this program is ended during the run.
    wchar_t szTempDir[MAX_PATH + 1] = L"", szErrorPath[MAX_PATH] = L"";
    if (::GetTempPathW(MAX_PATH + 1, szTempDir) != 0 && ::GetTempFileNameW(szTempDir, L"cvt", 0, szErrorPath) != 0) {
        m_hError = ::CreateFileW(szErrorPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (m_hError == INVALID_HANDLE_VALUE) ::DeleteFileW(szErrorPath);
    }
    ScopedHandle hNul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                    OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = hNul.h;
    si.hStdOutput = hNul.h;
    si.hStdError = m_hError != INVALID_HANDLE_VALUE ? m_hError : hNul.h;

    // By its full path: started by name, Windows would also take a perl.exe from the current folder.
    const CString strPerl = FindPerl();
    if (strPerl.IsEmpty()) return;
    std::wstring strCommandLine(pszCommandLine);  // CreateProcessW may write into it
    PROCESS_INFORMATION pi = {};
    // Suspended until it is in the job, so that nothing it starts escapes it. Out of a job this
    // program runs in, where that job allows it: Windows 7 nests no jobs, so only then can the
    // script go into a job of its own.
    DWORD dwFlags = CREATE_SUSPENDED | (IsInJob() ? CREATE_BREAKAWAY_FROM_JOB : 0);
    while (!::CreateProcessW(strPerl, &strCommandLine[0], nullptr, nullptr, TRUE, dwFlags, nullptr, nullptr, &si, &pi)) {
        if (!(dwFlags & CREATE_BREAKAWAY_FROM_JOB) || ::GetLastError() != ERROR_ACCESS_DENIED) return;
        dwFlags &= ~CREATE_BREAKAWAY_FROM_JOB;  // the job forbids it
    }
    // A job of its own: Stop ends all that runs in it, and so does this program's end during
    // the run. Where no job can be had, Stop walks the processes the script started instead.
    m_hJob = ::CreateJobObjectW(nullptr, nullptr);
    if (m_hJob) SetKillOnClose(m_hJob, true);
    m_bInJob = m_hJob && ::AssignProcessToJobObject(m_hJob, pi.hProcess);
    ::ResumeThread(pi.hThread);
    ::CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
}

CConversionRun::~CConversionRun()
{
    if (m_hProcess) ::CloseHandle(m_hProcess);
    // A script that ended by itself may have started a program meant to outlive it (a viewer
    // for its output, say): closing the job must not end that.
    if (m_hJob && !m_bStopped) SetKillOnClose(m_hJob, false);
    if (m_hJob) ::CloseHandle(m_hJob);
    if (m_hError != INVALID_HANDLE_VALUE) ::CloseHandle(m_hError);
}

void CConversionRun::Stop()
{
    if (::WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0) return;
    if (!m_bInJob || !::TerminateJobObject(m_hJob, 1)) TerminateProcessTree(m_hProcess);
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
