#include "AppDriver.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

const char kCopyScript[] =
    "open(my $in, '<', $ARGV[0]) or die \"cannot read $ARGV[0]: $!\\n\";\n"
    "open(my $out, '>', $ARGV[1]) or die \"cannot write $ARGV[1]: $!\\n\";\n"
    "while (<$in>) { print $out uc $_; }\n";

const char kFailScript[] = u8"print STDERR \"line $_\\n\" for 1 .. 30; print STDERR \"N40: 入力が見つかりません\\n\"; exit 1;\n";

namespace {

void DispatchPending()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

DWORD WINAPI SendClick(LPVOID pv) { return static_cast<DWORD>(::SendMessageW(static_cast<HWND>(pv), BM_CLICK, 0, 0)); }

void CALLBACK StoreAnswer(HWND, UINT, ULONG_PTR dwData, LRESULT lResult)
{
    *reinterpret_cast<std::pair<bool, LRESULT>*>(dwData) = {true, lResult};
}

}  // namespace

std::wstring ProgramFolder()
{
    wchar_t szPath[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecW(szPath);
    return szPath;
}

HANDLE StartCalvendrake(const LaunchOptions& options)
{
    std::wstring commandLine = L"\"" + (options.program.empty() ? ProgramFolder() + L"\\" + ProgramName() : options.program) + L"\"";
    for (const std::wstring& arg : options.args) commandLine += L" \"" + arg + L"\"";
    // The options' variables are ours while the program starts and inherits them.
    auto env = options.env;
    for (auto& var : env) {
        const wchar_t* pszOld = _wgetenv(var.first.c_str());
        const std::wstring old = pszOld ? pszOld : L"";
        ::SetEnvironmentVariableW(var.first.c_str(), var.second.c_str());
        var.second = old;
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while an earlier
    // test's processes wind down; a try a moment later starts it.
    BOOL bStarted = FALSE;
    for (int nTry = 0; !bStarted && nTry < 5; ++nTry) {
        bStarted = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                    options.folder.empty() ? nullptr : options.folder.c_str(), &si, &pi);
        if (!bStarted && ::GetLastError() == ERROR_INTERNAL_ERROR) ::Sleep(200);
        else if (!bStarted) break;
    }
    for (const auto& var : env) ::SetEnvironmentVariableW(var.first.c_str(), var.second.empty() ? nullptr : var.second.c_str());
    if (!bStarted) throw std::runtime_error("cannot start " + ToBytes(CP_UTF8, commandLine) + ": error " + std::to_string(::GetLastError()));
    ::CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD WaitForExit(HANDLE hProcess)
{
    DWORD dwExitCode = STILL_ACTIVE;
    WaitUntil([&] { return DispatchPending(), ::GetExitCodeProcess(hProcess, &dwExitCode) && dwExitCode != STILL_ACTIVE; }, 60000);
    if (dwExitCode == STILL_ACTIVE) ::TerminateProcess(hProcess, 1);
    ::CloseHandle(hProcess);
    return dwExitCode;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    for (DWORD dwStart = ::GetTickCount(); !condition(); ::Sleep(10))
        if (::GetTickCount() - dwStart > dwTimeoutMs) return false;
    return true;
}

std::wstring WindowText(HWND hWnd)
{
    std::wstring text(static_cast<size_t>(::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::SendMessageW(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

Texts ComboItems(HWND hCombo)
{
    Texts items;
    for (WPARAM i = 0; i < static_cast<WPARAM>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0)); ++i) {
        std::wstring item(static_cast<size_t>(::SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(::SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
        items.push_back(item);
    }
    return items;
}

LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::pair<bool, LRESULT> answer = {false, 0};
    if (!::SendMessageCallbackW(hWnd, message, wParam, lParam, StoreAnswer, reinterpret_cast<ULONG_PTR>(&answer))) return 0;
    WaitUntil([&answer] { return DispatchPending(), answer.first; });  // the callback comes as a message
    return answer.second;
}

void* CopyToProcessOf(HWND hWnd, const std::string& block)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    ::WriteProcessMemory(hProcess, pRemote, block.data(), block.size(), nullptr);
    ::CloseHandle(hProcess);
    return pRemote;
}

void DropFiles(HWND hWndTarget, const Texts& paths)
{
    // Wide, as the shell makes it.
    std::wstring names;
    for (const std::wstring& path : paths) names += path + L'\0';
    names += L'\0';
    const DROPFILES header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    block.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
    // A drop handle of ours would point into our memory.
    ::PostMessageW(hWndTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(CopyToProcessOf(hWndTarget, block)), 0);
}

HWND TakeForeground()
{
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(hWnd);
    DispatchPending();
    return hWnd;
}

AppDriver::AppDriver(const LaunchOptions& options)
{
    m_hProcess = StartCalvendrake(options);
    m_dwProcessId = ::GetProcessId(m_hProcess);
    // The first window the program shows is the dialog, or a message it owns.
    m_hDlg = ::GetAncestor(WaitForWindow(), GA_ROOTOWNER);
    ::WaitForInputIdle(m_hProcess, 30000);
}

AppDriver::~AppDriver()
{
    if (m_hClickThread) ::WaitForSingleObject(m_hClickThread, 1000);
    if (::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_hProcess, 1);
    ::CloseHandle(m_hProcess);
}

int AppDriver::FocusedId() const
{
    // Wine hands the activation back after a message box closes; now and then it leaves no
    // window active, and a person would click the dialog, which gives the focus back.
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    DWORD dwThreadId = ::GetWindowThreadProcessId(m_hDlg, nullptr);
    auto hasFocus = [&] { return ::GetGUIThreadInfo(dwThreadId, &info) && info.hwndFocus; };
    if (!WaitUntil(hasFocus, 3000) && (::SetForegroundWindow(m_hDlg), !WaitUntil(hasFocus, 10000))) return 0;
    HWND hWnd = ::GetParent(info.hwndFocus) == m_hDlg ? info.hwndFocus : ::GetParent(info.hwndFocus);  // the combo's edit
    return ::GetDlgCtrlID(hWnd);
}

DWORD AppDriver::EditSelection(int nID) const
{
    wchar_t szClass[16] = L"";
    ::GetClassNameW(Control(nID), szClass, ARRAYSIZE(szClass));
    return static_cast<DWORD>(::SendMessageW(Control(nID), lstrcmpiW(szClass, L"ComboBox") ? EM_GETSEL : CB_GETEDITSEL, 0, 0));
}

void AppDriver::ClickAsync(int nID) { Finish(); m_hClickThread = ::CreateThread(nullptr, 0, SendClick, Control(nID), 0, nullptr); }

void AppDriver::Finish()
{
    if (m_hClickThread && ::WaitForSingleObject(m_hClickThread, 60000) != WAIT_OBJECT_0)
        throw std::runtime_error("the click's handler did not end");
    if (m_hClickThread) ::CloseHandle(m_hClickThread);
    m_hClickThread = nullptr;
}

HWND AppDriver::NextMessageOrFinish()
{
    HWND hBox = nullptr;
    if (!WaitUntil([&] { return (hBox = FindWindowOf(L"#32770")) || !m_hClickThread || ::WaitForSingleObject(m_hClickThread, 0) == WAIT_OBJECT_0; },
                   60000))
        throw std::runtime_error("the click's handler neither ended nor showed a message");
    if (!hBox) Finish();
    return hBox;
}

HWND AppDriver::FindWindowOf(const wchar_t* pszClass, HWND hOwner) const
{
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        wchar_t szClass[64] = L"";
        ::GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if ((dwProcessId == m_dwProcessId || hOwner == m_hDlg) && hWnd != m_hDlg && ::IsWindowVisible(hWnd) && lstrcmpiW(szClass, pszClass) == 0 &&
            (!hOwner || ::GetWindow(hWnd, GW_OWNER) == hOwner))
            return hWnd;
    }
    return nullptr;
}

HWND AppDriver::WaitForWindow(const wchar_t* pszClass, HWND hOwner)
{
    HWND hFound = nullptr;
    if (!WaitUntil([&] { return (hFound = FindWindowOf(pszClass, hOwner)) != nullptr; }))
        throw std::runtime_error("no window of class " + ToBytes(CP_UTF8, pszClass) + " appeared");
    return hFound;
}

void AppDriver::Answer(HWND hBox, int nButton)
{
    ::PostMessageW(::GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
    WaitUntil([hBox] { return !::IsWindow(hBox); });
}

void AppDriver::Close() { Finish(); ::PostMessageW(m_hDlg, WM_COMMAND, IDCANCEL, 0); WaitExit(); }

DWORD AppDriver::WaitExit()
{
    DWORD dwExitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(m_hProcess, 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(m_hProcess, &dwExitCode);
    return dwExitCode;
}

bool GetText(const wchar_t* pszName, std::wstring& text)
{
    wchar_t szData[1024];
    DWORD cbData = sizeof(szData);
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, pszName, RRF_RT_ANY, nullptr, szData, &cbData) != ERROR_SUCCESS)
        return false;
    text.assign(szData, cbData / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return true;
}

std::string ReadFileText(const std::wstring& path)
{
    std::ostringstream text;
    text << std::ifstream(std::filesystem::path(path), std::ios::binary).rdbuf();
    return text.str();
}
