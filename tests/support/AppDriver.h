#pragma once
// Starts the real Calvendrake.exe and uses it from outside, as a person would:
// focus changes, clicks, typed text, drops, message boxes answered, and what
// the screen shows read back through window messages. Also the files and the
// registry values the tests plant and read.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

std::string ProgramFolder();  // where the test programs and Calvendrake.exe are

struct LaunchOptions {
    Texts args;                                             // quoted as a shell would
    std::vector<std::pair<std::string, std::string>> env;  // added, or replacing ours of the same name
    std::string pathPrefix;                                 // folder put first on PATH (to find another perl)
};

struct StartedProcess {
    HANDLE hProcess = nullptr;
    DWORD dwProcessId = 0;
};
StartedProcess StartCalvendrake(const LaunchOptions& options);
// The exit code; the handle is closed. This thread's messages are handled meanwhile: a second
// instance sends to the window it finds, which may be ours. A process still running after a
// generous bound is ended and gives STILL_ACTIVE.
DWORD WaitForExit(HANDLE hProcess);
// Polls until the condition holds; false after the timeout (a generous bound, not a measurement).
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 30000);

std::string WindowText(HWND hWnd);  // WM_GETTEXT, which also reads another process's windows
Texts ComboItems(HWND hCombo);      // a combo box's list, top to bottom
// A message answered with a handle: Wine's synchronous SendMessage gives 0 for these across
// processes, the result handed to a SendMessageCallback callback is the real one.
LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Posts WM_DROPFILES as the shell would, the DROPFILES block written into the target's process.
void DropFiles(HWND hWndTarget, const Texts& paths);
// A window of ours that takes the foreground, to see another process take it back.
HWND TakeForeground();

class AppDriver {
public:
    explicit AppDriver(const LaunchOptions& options = {});
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    HWND Dialog() const { return m_hDlg; }
    HWND Control(int nID) const { return ::GetDlgItem(m_hDlg, nID); }
    DWORD ProcessId() const { return m_dwProcessId; }

    std::string Text(int nID) const { return WindowText(Control(nID)); }
    bool IsChecked(int nID) const { return ::SendMessageA(Control(nID), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    Texts ComboItems(int nID) const { return ::ComboItems(Control(nID)); }
    RECT WindowRect() const;
    int FocusedId() const;               // the control with the keyboard focus (the combo for its edit)
    DWORD EditSelection(int nID) const;  // MAKELONG(start, end) of an edit or the combo's edit

    void Focus(int nID);                          // as Tab would: kill-focus handlers run
    void Type(int nID, const std::string& text);  // focuses the field and replaces its text
    void Click(int nID);                          // returns once the button's handler has ended
    // Presses a button whose handler opens a modal window; returns at once.
    void ClickAsync(int nID);
    void Finish();  // waits for the handler of ClickAsync
    // After ClickAsync: the next message box, or NULL once the handler has ended.
    HWND NextMessageOrFinish();
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { ::SendMessageA(m_hDlg, message, wParam, lParam); }

    // A shown top-level window of the program of that class owned by hOwner (by default any but the dialog).
    HWND WaitForWindow(const char* pszClass = "#32770", HWND hOwner = nullptr);
    std::string MessageText(HWND hBox) const { return WindowText(::GetDlgItem(hBox, 0xFFFF)); }
    void Answer(HWND hBox, int nButton);  // IDOK, IDYES, IDNO, IDCANCEL

    void Close();     // Escape; waits for the process to end
    DWORD WaitExit();  // waits for the process to end by itself

private:
    HWND FindWindowOf(const char* pszClass, HWND hOwner) const;

    HANDLE m_hProcess = nullptr;
    DWORD m_dwProcessId = 0;
    HWND m_hDlg = nullptr;
    HANDLE m_hClickThread = nullptr;
};

// The program's registry key.
constexpr char kSettingsKey[] = "Software\\Harnox\\Quen\\Calvendrake";
void DeleteSettingsKey();
void SetValue(const char* pszName, DWORD dwType, const std::string& data);
inline void SetDword(const char* pszName, DWORD dwValue)
{
    SetValue(pszName, REG_DWORD, std::string(reinterpret_cast<const char*>(&dwValue), sizeof dwValue));
}
inline void SetText(const char* pszName, const std::string& text) { SetValue(pszName, REG_SZ, text + '\0'); }
bool GetText(const char* pszName, std::string& text);  // the stored bytes without a final NUL
DWORD GetDword(const char* pszName);                    // 0xDEADBEEF when absent

// A fresh folder per test under %TEMP%, removed afterwards.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string operator/(const std::string& name) const { return m_strPath + "\\" + name; }
    std::string Write(const std::string& name, const std::string& content) const;  // folders are created

private:
    std::string m_strPath;
};
std::string ReadFileText(const std::string& path);  // "" when it cannot be read

// Small Perl scripts the tests run through the bridge.
extern const char kCopyScript[];  // copies input to output, upper-cased
extern const char kFailScript[];  // writes 31 lines to its error output and exits with 1
