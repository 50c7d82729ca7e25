#pragma once
// Starts the real Calvendrake.exe and uses it from outside, as a person would:
// focus changes, clicks, typed text, drops, message boxes answered, and what
// the screen shows read back through window messages. Also the registry
// values and files the tests plant and read.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

std::string ProgramFolder();  // where the test programs and Calvendrake.exe are

struct LaunchOptions {
    Texts args;                                             // quoted as a shell would
    std::vector<std::pair<std::string, std::string>> env;  // set for the program only
    std::string program;                                    // a copy of Calvendrake.exe to start instead
    std::string folder = {};                                // its current folder (default: ours)
};

// The process. wideArg, when given, is a last argument passed in UTF-16: a name code page 932 cannot carry.
HANDLE StartCalvendrake(const LaunchOptions& options, const std::wstring& wideArg = std::wstring());
// The exit code; the handle is closed. This thread's messages are handled meanwhile: a second
// instance sends to the window it finds, which may be ours. One still running after a generous
// bound is ended and gives STILL_ACTIVE.
DWORD WaitForExit(HANDLE hProcess);
// Polls until the condition holds; false after the timeout (a generous bound, not a measurement).
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 30000);

std::string WindowText(HWND hWnd);  // WM_GETTEXT, which also reads another process's windows
std::wstring WideWindowText(HWND hWnd);  // the same in UTF-16, as the window holds it
std::wstring Wide(const std::string& text);  // code page 932 text in UTF-16
Texts ComboItems(HWND hCombo);      // a combo box's list, top to bottom
// A message answered with a handle: Wine's synchronous SendMessage gives 0 for these across
// processes; the result handed to a SendMessageCallback callback is the real one.
LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A block written into the process of hWnd, for a message that points at it; it stays until that process ends.
void* CopyToProcessOf(HWND hWnd, const std::string& block);
// Posts WM_DROPFILES as the shell would, the DROPFILES block written into the target's process.
void DropFiles(HWND hWndTarget, const std::vector<std::wstring>& paths);
// A window of ours that takes the foreground, to see another process take it back.
HWND TakeForeground();

class AppDriver {
public:
    explicit AppDriver(const LaunchOptions& options = {}, const std::wstring& wideArg = std::wstring());
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    HWND Dialog() const { return m_hDlg; }
    HWND Control(int nID) const { return ::GetDlgItem(m_hDlg, nID); }
    DWORD ProcessId() const { return m_dwProcessId; }
    std::string Text(int nID) const { return WindowText(Control(nID)); }
    bool IsChecked(int nID) const { return ::SendMessageA(Control(nID), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    Texts ComboItems(int nID) const { return ::ComboItems(Control(nID)); }
    RECT WindowRect() const { RECT rect = {}; ::GetWindowRect(m_hDlg, &rect); return rect; }
    int FocusedId() const;               // the control with the keyboard focus (the combo for its edit)
    DWORD EditSelection(int nID) const;  // MAKELONG(start, end) of an edit or the combo's edit

    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { ::SendMessageA(m_hDlg, message, wParam, lParam); }
    void Focus(int nID) { Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(nID)), TRUE); }  // kill-focus handlers run
    void Type(int nID, const std::string& text)  // focuses the field and replaces its text
    {
        Focus(nID);
        ::SendMessageA(Control(nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Click(int nID) { ::SendMessageA(Control(nID), BM_CLICK, 0, 0); }  // returns once the handler has ended
    void ClickAsync(int nID);  // for a handler that opens a modal window: returns at once
    void Finish();             // waits for the handler of ClickAsync
    HWND NextMessageOrFinish();  // after ClickAsync: the next message box, or NULL once the handler has ended

    // A shown top-level window of the program of that class owned by hOwner (by default any but the dialog);
    // owned by the dialog, also one another process shows.
    HWND WaitForWindow(const char* pszClass = "#32770", HWND hOwner = nullptr);
    HWND FindWindowOf(const char* pszClass, HWND hOwner = nullptr) const;
    std::string MessageText(HWND hBox) const { return WindowText(::GetDlgItem(hBox, 0xFFFF)); }
    void Answer(HWND hBox, int nButton);  // IDOK, IDYES, IDNO, IDCANCEL

    void Close();      // Escape; waits for the process to end
    void Kill() { ::TerminateProcess(m_hProcess, 1); }  // as the task manager ends it
    DWORD WaitExit();  // waits for the process to end by itself

private:
    HANDLE m_hProcess = nullptr;
    DWORD m_dwProcessId = 0;
    HWND m_hDlg = nullptr;
    HANDLE m_hClickThread = nullptr;
};

// The program's registry key.
constexpr char kSettingsKey[] = "Software\\Harnox\\Quen\\Calvendrake";
inline void DeleteSettingsKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }
inline void SetValue(const char* pszName, DWORD dwType, const std::string& data)
{
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, pszName, dwType, data.data(), static_cast<DWORD>(data.size()));
}
inline void SetDword(const char* pszName, DWORD dwValue) { SetValue(pszName, REG_DWORD, std::string(reinterpret_cast<char*>(&dwValue), 4)); }
inline void SetText(const char* pszName, const std::string& text) { SetValue(pszName, REG_SZ, text + '\0'); }
bool GetText(const char* pszName, std::string& text);  // the stored bytes without a final NUL

std::string ReadFileText(const std::string& path);  // "" when it cannot be read

// Small Perl scripts the tests run through the bridge.
extern const char kCopyScript[];  // copies input to output, upper-cased
extern const char kFailScript[];  // saved as UTF-8, writes 31 lines to its error output, the last Japanese, and exits with 1
