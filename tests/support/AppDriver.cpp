#include "AppDriver.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>
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
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

DWORD WINAPI SendClick(LPVOID pv) { return static_cast<DWORD>(::SendMessageA(static_cast<HWND>(pv), BM_CLICK, 0, 0)); }

void CALLBACK StoreAnswer(HWND, UINT, ULONG_PTR dwData, LRESULT lResult)
{
    *reinterpret_cast<std::pair<bool, LRESULT>*>(dwData) = {true, lResult};
}

}  // namespace

std::string ProgramFolder()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecA(szPath);
    return szPath;
}

HANDLE StartCalvendrake(const LaunchOptions& options, const std::wstring& wideArg)
{
    std::string commandLineAnsi = "\"" + (options.program.empty() ? ProgramFolder() + "\\Calvendrake.exe" : options.program) + "\"";
    for (const std::string& arg : options.args) commandLineAnsi += " \"" + arg + "\"";
    std::wstring commandLine = Wide(commandLineAnsi) + (wideArg.empty() ? L"" : L" \"" + wideArg + L"\"");
    // The options' variables are ours while the program starts and inherits them.
    auto env = options.env;
    for (auto& var : env) {
        std::string old = std::getenv(var.first.c_str()) ? std::getenv(var.first.c_str()) : "";
        ::SetEnvironmentVariableA(var.first.c_str(), var.second.c_str());
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
                                    options.folder.empty() ? nullptr : Wide(options.folder).c_str(), &si, &pi);
        if (!bStarted && ::GetLastError() == ERROR_INTERNAL_ERROR) ::Sleep(200);
        else if (!bStarted) break;
    }
    for (const auto& var : env) ::SetEnvironmentVariableA(var.first.c_str(), var.second.c_str());
    if (!bStarted) throw std::runtime_error("cannot start " + commandLineAnsi + ": error " + std::to_string(::GetLastError()));
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

// WM_GETTEXT through the ANSI or the wide SendMessage, as Char asks.
template <typename Char>
std::basic_string<Char> TextOf(HWND hWnd, LRESULT(WINAPI* pfnSend)(HWND, UINT, WPARAM, LPARAM))
{
    std::basic_string<Char> text(static_cast<size_t>(pfnSend(hWnd, WM_GETTEXTLENGTH, 0, 0)) + 1, Char());
    text.resize(static_cast<size_t>(pfnSend(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

std::string WindowText(HWND hWnd) { return TextOf<char>(hWnd, ::SendMessageA); }
std::wstring WideWindowText(HWND hWnd) { return TextOf<wchar_t>(hWnd, ::SendMessageW); }

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

Texts ComboItems(HWND hCombo)
{
    // Wide on purpose: Wine answers CB_GETLBTEXT from another process in UTF-16 even when asked in ANSI.
    Texts items;
    for (WPARAM i = 0; i < static_cast<WPARAM>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0)); ++i) {
        wchar_t szItem[1024] = L"";
        ::SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szItem));
        char szText[2048] = "";
        ::WideCharToMultiByte(CP_ACP, 0, szItem, -1, szText, sizeof(szText), nullptr, nullptr);
        items.push_back(szText);
    }
    return items;
}

LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::pair<bool, LRESULT> answer = {false, 0};
    if (!::SendMessageCallbackA(hWnd, message, wParam, lParam, StoreAnswer, reinterpret_cast<ULONG_PTR>(&answer))) return 0;
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

void DropFiles(HWND hWndTarget, const std::vector<std::wstring>& paths)
{
    // Wide, as the shell makes it.
    std::wstring names;
    for (const std::wstring& path : paths) names += path + L'\0';
    names += L'\0';
    const DROPFILES header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    block.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
    // A drop handle of ours would point into our memory.
    ::PostMessageA(hWndTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(CopyToProcessOf(hWndTarget, block)), 0);
}

HWND TakeForeground()
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(hWnd);
    DispatchPending();
    return hWnd;
}

AppDriver::AppDriver(const LaunchOptions& options, const std::wstring& wideArg)
{
    m_hProcess = StartCalvendrake(options, wideArg);
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
    char szClass[16] = "";
    ::GetClassNameA(Control(nID), szClass, sizeof(szClass));
    return static_cast<DWORD>(::SendMessageA(Control(nID), lstrcmpiA(szClass, "ComboBox") ? EM_GETSEL : CB_GETEDITSEL, 0, 0));
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
    if (!WaitUntil([&] { return (hBox = FindWindowOf("#32770")) || !m_hClickThread || ::WaitForSingleObject(m_hClickThread, 0) == WAIT_OBJECT_0; },
                   60000))
        throw std::runtime_error("the click's handler neither ended nor showed a message");
    if (!hBox) Finish();
    return hBox;
}

HWND AppDriver::FindWindowOf(const char* pszClass, HWND hOwner) const
{
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        char szClass[64] = "";
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if ((dwProcessId == m_dwProcessId || hOwner == m_hDlg) && hWnd != m_hDlg && ::IsWindowVisible(hWnd) && lstrcmpiA(szClass, pszClass) == 0 &&
            (!hOwner || ::GetWindow(hWnd, GW_OWNER) == hOwner))
            return hWnd;
    }
    return nullptr;
}

HWND AppDriver::WaitForWindow(const char* pszClass, HWND hOwner)
{
    HWND hFound = nullptr;
    if (!WaitUntil([&] { return (hFound = FindWindowOf(pszClass, hOwner)) != nullptr; }))
        throw std::runtime_error(std::string("no window of class ") + pszClass + " appeared");
    return hFound;
}

void AppDriver::Answer(HWND hBox, int nButton)
{
    ::PostMessageA(::GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
    WaitUntil([hBox] { return !::IsWindow(hBox); });
}

void AppDriver::Close() { Finish(); ::PostMessageA(m_hDlg, WM_COMMAND, IDCANCEL, 0); WaitExit(); }

DWORD AppDriver::WaitExit()
{
    DWORD dwExitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(m_hProcess, 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(m_hProcess, &dwExitCode);
    return dwExitCode;
}

bool GetText(const char* pszName, std::string& text)
{
    char szData[2048];
    DWORD cbData = sizeof(szData);
    if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, pszName, RRF_RT_ANY, nullptr, szData, &cbData) != ERROR_SUCCESS)
        return false;
    text.assign(szData, cbData && szData[cbData - 1] == '\0' ? cbData - 1 : cbData);
    return true;
}

std::string ReadFileText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
