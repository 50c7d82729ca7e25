#include "AppDriver.h"
#include "WindowQueries.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

std::string Quote(const std::string& arg) { return "\"" + arg + "\""; }

struct WindowQuery {
    DWORD dwProcessId;
    const char* pszClass;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    WindowQuery* pQuery = reinterpret_cast<WindowQuery*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (dwProcessId == pQuery->dwProcessId && ::IsWindowVisible(hWnd) && lstrcmpiA(szClass, pQuery->pszClass) == 0)
        pQuery->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD dwProcessId, const char* pszClass)
{
    WindowQuery query{dwProcessId, pszClass, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

DWORD WINAPI SendClick(LPVOID pv)
{
    ::SendMessageA(static_cast<HWND>(pv), BM_CLICK, 0, 0);
    return 0;
}

std::string EnvironmentFor(const LaunchOptions& options)
{
    // Our own environment (WINEPATH's bridge, CALV_* variables), the options' variables replacing ours.
    std::vector<std::pair<std::string, std::string>> vars;
    for (char** pp = _environ; *pp; ++pp) {
        const char* pszEquals = std::strchr(*pp + 1, '=');  // hidden variables like "=C:" start with '='
        if (pszEquals) vars.emplace_back(std::string(*pp, static_cast<size_t>(pszEquals - *pp)), pszEquals + 1);
    }
    for (const auto& var : options.env) {
        auto same = std::find_if(vars.begin(), vars.end(),
                                 [&](const auto& mine) { return lstrcmpiA(mine.first.c_str(), var.first.c_str()) == 0; });
        if (same != vars.end()) same->second = var.second;
        else vars.push_back(var);
    }
    std::string block;
    for (const auto& var : vars) {
        std::string value = var.second;
        if (!options.pathPrefix.empty() && lstrcmpiA(var.first.c_str(), "PATH") == 0)
            value = options.pathPrefix + ";" + value;
        block += var.first + "=" + value + '\0';
    }
    block += '\0';
    return block;
}

}  // namespace

std::string ProgramFolder()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecA(szPath);
    return szPath;
}

std::string CalvendrakePath() { return ProgramFolder() + "\\Calvendrake.exe"; }

StartedProcess StartCalvendrake(const LaunchOptions& options)
{
    std::string commandLine = Quote(CalvendrakePath());
    for (const std::string& arg : options.args) commandLine += " " + Quote(arg);
    std::string environment = EnvironmentFor(options);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR (1359) while an
    // earlier test's processes wind down; a second try a moment later starts it.
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
    if (::WaitForSingleObject(hProcess, 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(hProcess, &dwExitCode);
    ::CloseHandle(hProcess);
    return dwExitCode;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    for (DWORD dwStart = ::GetTickCount(); !condition();) {
        if (::GetTickCount() - dwStart > dwTimeoutMs) return false;
        ::Sleep(10);
    }
    return true;
}

HWND FindDialogOf(DWORD dwProcessId)
{
    for (HWND hWnd : TopLevelWindows(dwProcessId, "#32770")) {
        if (WindowText(hWnd) == "Calvendrake" && ::GetWindow(hWnd, GW_OWNER) == nullptr) return hWnd;
    }
    return nullptr;
}

AppDriver::AppDriver(const LaunchOptions& options)
{
    StartedProcess started = StartCalvendrake(options);
    m_hProcess = started.hProcess;
    m_dwProcessId = started.dwProcessId;
    if (!WaitUntil([this] { return (m_hDlg = FindDialogOf(m_dwProcessId)) != nullptr; }))
        throw std::runtime_error("Calvendrake's window did not appear");
    ::WaitForInputIdle(m_hProcess, 30000);
}

AppDriver::~AppDriver()
{
    if (m_hClickThread) {
        ::WaitForSingleObject(m_hClickThread, 1000);
        ::CloseHandle(m_hClickThread);
    }
    if (m_hProcess) {
        if (::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_hProcess, 1);
        ::CloseHandle(m_hProcess);
    }
}

std::string AppDriver::Text(int nID) const { return WindowText(Control(nID)); }
bool AppDriver::IsChecked(int nID) const { return ::SendMessageA(Control(nID), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool AppDriver::IsEnabled(int nID) const { return ::IsWindowEnabled(Control(nID)) != FALSE; }

std::vector<std::string> AppDriver::ComboItems(int nID) const { return ComboBoxItems(Control(nID)); }

RECT AppDriver::WindowRect() const
{
    RECT rect = {};
    ::GetWindowRect(m_hDlg, &rect);
    return rect;
}

int AppDriver::FocusedId() const
{
    // When a message box closes, Wine hands the activation back to the dialog
    // through the X server: until then no window of the thread has the focus.
    // Without a window manager it sometimes leaves no window active at all; a
    // person would then click the dialog's caption, and the dialog gives the
    // focus back to the control that had it.
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    DWORD dwThreadId = ::GetWindowThreadProcessId(m_hDlg, nullptr);
    auto hasFocus = [&] { return ::GetGUIThreadInfo(dwThreadId, &info) && info.hwndFocus; };
    if (!WaitUntil(hasFocus, 3000)) {
        ::SetForegroundWindow(m_hDlg);
        if (!WaitUntil(hasFocus, 10000)) return 0;
    }
    HWND hWnd = info.hwndFocus;
    // The combo box's edit field is a child of the combo box.
    if (::GetParent(hWnd) != m_hDlg && ::GetParent(hWnd)) hWnd = ::GetParent(hWnd);
    return ::GetDlgCtrlID(hWnd);
}

DWORD AppDriver::EditSelection(int nID) const
{
    char szClass[32] = "";
    ::GetClassNameA(Control(nID), szClass, sizeof(szClass));
    UINT message = lstrcmpiA(szClass, "ComboBox") == 0 ? CB_GETEDITSEL : EM_GETSEL;
    return static_cast<DWORD>(::SendMessageA(Control(nID), message, 0, 0));
}

void AppDriver::Focus(int nID)
{
    ::SendMessageA(m_hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(nID)), TRUE);
}

void AppDriver::Type(int nID, const std::string& text)
{
    Focus(nID);
    ::SendMessageA(Control(nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void AppDriver::Click(int nID)
{
    ::SendMessageA(Control(nID), BM_CLICK, 0, 0);
}

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
            std::vector<HWND> others = OtherWindows("#32770");
            hBox = others.empty() ? nullptr : others.front();
            return hBox || !m_hClickThread || ::WaitForSingleObject(m_hClickThread, 0) == WAIT_OBJECT_0;
        }, 60000))
        throw std::runtime_error("the click's handler neither ended nor showed a message");
    if (!hBox) Finish();
    return hBox;
}

void AppDriver::Send(UINT message, WPARAM wParam, LPARAM lParam) { ::SendMessageA(m_hDlg, message, wParam, lParam); }

std::vector<HWND> AppDriver::OtherWindows(const char* pszClass) const
{
    std::vector<HWND> windows = TopLevelWindows(m_dwProcessId, pszClass);
    std::vector<HWND> others;
    for (HWND hWnd : windows)
        if (hWnd != m_hDlg) others.push_back(hWnd);
    return others;
}

bool AppDriver::HasOtherWindow() const { return !OtherWindows("#32770").empty(); }

HWND AppDriver::WaitForWindow(const char* pszClass)
{
    HWND hFound = nullptr;
    if (!WaitUntil([&] {
            std::vector<HWND> others = OtherWindows(pszClass);
            hFound = others.empty() ? nullptr : others.front();
            return hFound != nullptr;
        }))
        throw std::runtime_error(std::string("no window of class ") + pszClass + " appeared");
    return hFound;
}

std::string AppDriver::MessageText(HWND hBox) const { return WindowText(::GetDlgItem(hBox, 0xFFFF)); }

void AppDriver::Answer(HWND hBox, int nButton)
{
    ::PostMessageA(::GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
    WaitUntil([hBox] { return !::IsWindow(hBox); });
}

void AppDriver::AnswerWithEnter(HWND hBox)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hBox, nullptr), &info);
    HWND hTarget = info.hwndFocus ? info.hwndFocus : hBox;
    ::PostMessageA(hTarget, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(hTarget, WM_KEYUP, VK_RETURN, 0xC0000001);
    WaitUntil([hBox] { return !::IsWindow(hBox); });
}

std::string AppDriver::AnswerNextMessage(int nButton)
{
    HWND hBox = WaitForWindow();
    std::string text = MessageText(hBox);
    Answer(hBox, nButton);
    return text;
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
