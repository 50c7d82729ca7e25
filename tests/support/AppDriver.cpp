#include "AppDriver.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

const char kCopyScript[] =
    "open(my $in, '<', $ARGV[0]) or die \"cannot read $ARGV[0]: $!\\n\";\n"
    "open(my $out, '>', $ARGV[1]) or die \"cannot write $ARGV[1]: $!\\n\";\n"
    "while (<$in>) { print $out uc $_; }\n"
    "close $out or die;\n";

const char kFailScript[] =
    "print STDERR \"line $_\\n\" for 1 .. 30;\n"
    "print STDERR \"G-code error at N40\\n\";\n"
    "exit 1;\n";

namespace {

void DispatchPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

struct HandleAnswer {
    bool bAnswered = false;
    LRESULT lResult = 0;
};

void CALLBACK StoreAnswer(HWND, UINT, ULONG_PTR dwData, LRESULT lResult)
{
    *reinterpret_cast<HandleAnswer*>(dwData) = HandleAnswer{true, lResult};
}

struct WindowQuery {
    DWORD dwProcessId;
    HWND hExcept;
    const char* pszClass;
    HWND hOwner;  // NULL: any
    HWND hFound;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (dwProcessId != q.dwProcessId || hWnd == q.hExcept || !::IsWindowVisible(hWnd) ||
        lstrcmpiA(szClass, q.pszClass) != 0 || (q.hOwner && ::GetWindow(hWnd, GW_OWNER) != q.hOwner))
        return TRUE;
    q.hFound = hWnd;
    return FALSE;
}

DWORD WINAPI SendClick(LPVOID pv)
{
    ::SendMessageA(static_cast<HWND>(pv), BM_CLICK, 0, 0);
    return 0;
}

// Our environment (WINEPATH's bridge, CALV_* variables) with the options' changes.
std::string EnvironmentFor(const LaunchOptions& options)
{
    std::string block;
    auto changed = [&](const std::string& name) {
        for (const auto& var : options.env)
            if (lstrcmpiA(var.first.c_str(), name.c_str()) == 0) return true;
        return false;
    };
    for (char** pp = _environ; *pp; ++pp) {
        std::string var = *pp;
        std::string name = var.substr(0, var.find('=', 1));  // hidden variables like "=C:" start with '='
        if (changed(name)) continue;
        if (!options.pathPrefix.empty() && lstrcmpiA(name.c_str(), "PATH") == 0)
            var = name + "=" + options.pathPrefix + ";" + var.substr(name.size() + 1);
        block += var + '\0';
    }
    for (const auto& var : options.env) block += var.first + "=" + var.second + '\0';
    return block + '\0';
}

void RemoveTree(const std::string& path)
{
    std::string from = path + '\0';  // a double-terminated list
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
}

}  // namespace

std::string ProgramFolder()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecA(szPath);
    return szPath;
}

StartedProcess StartCalvendrake(const LaunchOptions& options)
{
    std::string commandLine = "\"" + ProgramFolder() + "\\Calvendrake.exe\"";
    for (const std::string& arg : options.args) commandLine += " \"" + arg + "\"";
    std::string environment = EnvironmentFor(options);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while an earlier
    // test's processes wind down; a try a moment later starts it.
    for (int nTry = 1;; ++nTry) {
        if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, &environment[0], nullptr, &si, &pi))
            break;
        DWORD dwError = ::GetLastError();
        if (dwError != ERROR_INTERNAL_ERROR || nTry == 5)
            throw std::runtime_error("cannot start " + commandLine + ": error " + std::to_string(dwError));
        ::Sleep(200);
    }
    ::CloseHandle(pi.hThread);
    return StartedProcess{pi.hProcess, pi.dwProcessId};
}

DWORD WaitForExit(HANDLE hProcess)
{
    DWORD dwExitCode = STILL_ACTIVE;
    for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 60000;) {
        DispatchPending();
        if (::MsgWaitForMultipleObjects(1, &hProcess, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0) {
            ::GetExitCodeProcess(hProcess, &dwExitCode);
            break;
        }
    }
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

std::string WindowText(HWND hWnd)
{
    std::string text(static_cast<size_t>(::SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(::SendMessageA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

Texts ComboItems(HWND hCombo)
{
    // Wide on purpose: Wine answers CB_GETLBTEXT from another process in UTF-16 even when asked in ANSI.
    Texts items;
    for (WPARAM i = 0; i < static_cast<WPARAM>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0)); ++i) {
        std::wstring item(static_cast<size_t>(::SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(::SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
        std::string text(item.size() * 2, '\0');
        text.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, item.c_str(), static_cast<int>(item.size()),
                                                              &text[0], static_cast<int>(text.size()), nullptr, nullptr)));
        items.push_back(text);
    }
    return items;
}

LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandleAnswer answer;
    if (!::SendMessageCallbackA(hWnd, message, wParam, lParam, StoreAnswer, reinterpret_cast<ULONG_PTR>(&answer)))
        return 0;
    // The callback arrives as a message to this thread.
    WaitUntil([&answer] { return DispatchPending(), answer.bAnswered; });
    return answer.lResult;
}

void DropFiles(HWND hWndTarget, const Texts& paths)
{
    std::string block(sizeof(DROPFILES), '\0');
    reinterpret_cast<DROPFILES*>(&block[0])->pFiles = sizeof(DROPFILES);
    for (const std::string& path : paths) block += path + '\0';
    block += '\0';
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWndTarget, &dwProcessId);
    // A drop handle of ours would point into our memory. The target's DragFinish cannot free
    // this block: it stays until the target ends.
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool bWritten = pRemote && ::WriteProcessMemory(hProcess, pRemote, block.data(), block.size(), nullptr);
    ::CloseHandle(hProcess);
    if (!bWritten) throw std::runtime_error("cannot write the drop into the target's process");
    ::PostMessageA(hWndTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(pRemote), 0);
}

HWND TakeForeground()
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "foreground", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(hWnd);
    DispatchPending();
    return hWnd;
}

AppDriver::AppDriver(const LaunchOptions& options)
{
    StartedProcess started = StartCalvendrake(options);
    m_hProcess = started.hProcess;
    m_dwProcessId = started.dwProcessId;
    if (!WaitUntil([this] { return (m_hDlg = FindWindowOf("#32770", nullptr)) != nullptr; }))
        throw std::runtime_error("Calvendrake's window did not appear");
    ::WaitForInputIdle(m_hProcess, 30000);
}

AppDriver::~AppDriver()
{
    if (m_hClickThread) {
        ::WaitForSingleObject(m_hClickThread, 1000);
        ::CloseHandle(m_hClickThread);
    }
    if (::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_hProcess, 1);
    ::CloseHandle(m_hProcess);
}

RECT AppDriver::WindowRect() const
{
    RECT rect = {};
    ::GetWindowRect(m_hDlg, &rect);
    return rect;
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
    HWND hWnd = info.hwndFocus;
    if (::GetParent(hWnd) != m_hDlg) hWnd = ::GetParent(hWnd);  // the combo box's edit
    return ::GetDlgCtrlID(hWnd);
}

DWORD AppDriver::EditSelection(int nID) const
{
    char szClass[32] = "";
    ::GetClassNameA(Control(nID), szClass, sizeof(szClass));
    UINT message = lstrcmpiA(szClass, "ComboBox") == 0 ? CB_GETEDITSEL : EM_GETSEL;
    return static_cast<DWORD>(::SendMessageA(Control(nID), message, 0, 0));
}

void AppDriver::Focus(int nID) { Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(nID)), TRUE); }

void AppDriver::Type(int nID, const std::string& text)
{
    Focus(nID);
    ::SendMessageA(Control(nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void AppDriver::Click(int nID) { ::SendMessageA(Control(nID), BM_CLICK, 0, 0); }

void AppDriver::ClickAsync(int nID)
{
    Finish();
    m_hClickThread = ::CreateThread(nullptr, 0, SendClick, Control(nID), 0, nullptr);
}

void AppDriver::Finish()
{
    if (!m_hClickThread) return;
    if (::WaitForSingleObject(m_hClickThread, 60000) != WAIT_OBJECT_0)
        throw std::runtime_error("the click's handler did not end");
    ::CloseHandle(m_hClickThread);
    m_hClickThread = nullptr;
}

HWND AppDriver::NextMessageOrFinish()
{
    HWND hBox = nullptr;
    if (!WaitUntil([&] {
            hBox = FindWindowOf("#32770", nullptr);
            return hBox || !m_hClickThread || ::WaitForSingleObject(m_hClickThread, 0) == WAIT_OBJECT_0;
        }, 60000))
        throw std::runtime_error("the click's handler neither ended nor showed a message");
    if (!hBox) Finish();
    return hBox;
}

HWND AppDriver::FindWindowOf(const char* pszClass, HWND hOwner) const
{
    WindowQuery query{m_dwProcessId, m_hDlg, pszClass, hOwner, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.hFound;
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

void AppDriver::Close()
{
    Finish();
    ::PostMessageA(m_hDlg, WM_COMMAND, IDCANCEL, 0);
    WaitExit();
}

DWORD AppDriver::WaitExit()
{
    DWORD dwExitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(m_hProcess, 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(m_hProcess, &dwExitCode);
    return dwExitCode;
}

void DeleteSettingsKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

void SetValue(const char* pszName, DWORD dwType, const std::string& data)
{
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, pszName, dwType, data.data(), static_cast<DWORD>(data.size()));
}

bool GetText(const char* pszName, std::string& text)
{
    DWORD cbData = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, pszName, RRF_RT_ANY, nullptr, nullptr, &cbData) != ERROR_SUCCESS)
        return false;
    text.assign(cbData, '\0');
    ::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, pszName, RRF_RT_ANY, nullptr, &text[0], &cbData);
    text.resize(cbData && text[cbData - 1] == '\0' ? cbData - 1 : cbData);
    return true;
}

DWORD GetDword(const char* pszName)
{
    std::string data;
    DWORD dwValue = 0xDEADBEEF;
    if (GetText(pszName, data) && data.size() == sizeof dwValue) std::memcpy(&dwValue, data.data(), sizeof dwValue);
    return dwValue;
}

TestFolder::TestFolder()
{
    char szTemp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szTemp);
    m_strPath = std::string(szTemp) + "calv-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveTree(m_strPath);
    ::SHCreateDirectoryExA(nullptr, m_strPath.c_str(), nullptr);
}

TestFolder::~TestFolder() { RemoveTree(m_strPath); }

std::string TestFolder::Write(const std::string& name, const std::string& content) const
{
    std::string path = *this / name;
    // The folder part, stepping over double-byte characters: the second byte of 表 or ソ is a backslash too.
    char szFolder[MAX_PATH * 2] = "";
    lstrcpynA(szFolder, path.c_str(), sizeof(szFolder));
    ::PathRemoveFileSpecA(szFolder);
    ::SHCreateDirectoryExA(nullptr, szFolder, nullptr);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string ReadFileText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
