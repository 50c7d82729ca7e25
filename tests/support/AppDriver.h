#pragma once
// Starts the real Calvendrake.exe and uses it from outside, as a person would:
// focus changes, clicks, typed text, drops, message boxes answered, and what
// the screen shows read back through window messages. Also the registry
// values and files the tests plant and read. Every text is UTF-16 and every
// call the wide one, so the tests read the same at any ANSI code page.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using Texts = std::vector<std::wstring>;

std::wstring ProgramFolder();  // where the test programs and Calvendrake.exe are

// The ANSI code page the program under test runs at: CALV_TEST_CODEPAGE when set, else ours.
// At 65001 the program is a copy of Calvendrake.exe whose manifest asks for UTF-8, as Windows'
// UTF-8 setting gives every program; any other is the locale's (tools/wine-bed.sh).
UINT CodePageUnderTest();
std::wstring ProgramName();  // the file in ProgramFolder() that is the program under test
// Whether code page nCodePage carries text exactly, with no best fit or default character.
bool Carries(UINT nCodePage, const std::wstring& text);
std::wstring FromBytes(UINT nCodePage, const std::string& bytes);
std::string ToBytes(UINT nCodePage, const std::wstring& text);

struct LaunchOptions {
    Texts args;                                               // quoted as a shell would
    std::vector<std::pair<std::wstring, std::wstring>> env;  // set for the program only
    std::wstring program;                                     // a copy of Calvendrake.exe to start instead
    std::wstring folder = {};                                 // its current folder (default: ours)
};

HANDLE StartCalvendrake(const LaunchOptions& options);  // the process
// The exit code; the handle is closed. This thread's messages are handled meanwhile: a second
// instance sends to the window it finds, which may be ours. One still running after a generous
// bound is ended and gives STILL_ACTIVE.
DWORD WaitForExit(HANDLE hProcess);
// Polls until the condition holds; false after the timeout (a generous bound, not a measurement).
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 30000);

std::wstring WindowText(HWND hWnd);  // WM_GETTEXT, which also reads another process's windows
Texts ComboItems(HWND hCombo);       // a combo box's list, top to bottom
// A message answered with a handle: Wine's synchronous SendMessage gives 0 for these across
// processes; the result handed to a SendMessageCallback callback is the real one.
LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A block written into the process of hWnd, for a message that points at it; it stays until that process ends.
void* CopyToProcessOf(HWND hWnd, const std::string& block);
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
    std::wstring Text(int nID) const { return WindowText(Control(nID)); }
    bool IsChecked(int nID) const { return ::SendMessageW(Control(nID), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    Texts ComboItems(int nID) const { return ::ComboItems(Control(nID)); }
    RECT WindowRect() const { RECT rect = {}; ::GetWindowRect(m_hDlg, &rect); return rect; }
    int FocusedId() const;               // the control with the keyboard focus (the combo for its edit)
    DWORD EditSelection(int nID) const;  // MAKELONG(start, end) of an edit or the combo's edit

    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { ::SendMessageW(m_hDlg, message, wParam, lParam); }
    void Focus(int nID) { Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(nID)), TRUE); }  // kill-focus handlers run
    void Type(int nID, const std::wstring& text)  // focuses the field and replaces its text
    {
        Focus(nID);
        ::SendMessageW(Control(nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Click(int nID) { ::SendMessageW(Control(nID), BM_CLICK, 0, 0); }  // returns once the handler has ended
    void ClickAsync(int nID);  // for a handler that opens a modal window: returns at once
    void Finish();             // waits for the handler of ClickAsync
    HWND NextMessageOrFinish();  // after ClickAsync: the next message box, or NULL once the handler has ended

    // A shown top-level window of the program of that class owned by hOwner (by default any but the dialog);
    // owned by the dialog, also one another process shows.
    HWND WaitForWindow(const wchar_t* pszClass = L"#32770", HWND hOwner = nullptr);
    HWND FindWindowOf(const wchar_t* pszClass, HWND hOwner = nullptr) const;
    std::wstring MessageText(HWND hBox) const { return WindowText(::GetDlgItem(hBox, 0xFFFF)); }
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
constexpr wchar_t kSettingsKey[] = L"Software\\Harnox\\Quen\\Calvendrake";
inline void DeleteSettingsKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }
inline void SetValue(const wchar_t* pszName, DWORD dwType, const void* pData, size_t cbData)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, pszName, dwType, pData, static_cast<DWORD>(cbData));
}
inline void SetDword(const wchar_t* pszName, DWORD dwValue) { SetValue(pszName, REG_DWORD, &dwValue, sizeof(dwValue)); }
// A REG_SZ value. The registry keeps it in UTF-16: what a program at code page 932 stored through
// RegSetValueExA is this same value.
inline void SetText(const wchar_t* pszName, const std::wstring& text) { SetValue(pszName, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t)); }
bool GetText(const wchar_t* pszName, std::wstring& text);  // the stored text without a final NUL

std::string ReadFileText(const std::wstring& path);  // the bytes; "" when it cannot be read

// Small Perl scripts the tests run through the bridge.
extern const char kCopyScript[];  // copies input to output, upper-cased
extern const char kFailScript[];  // saved as UTF-8, writes 31 lines to its error output, the last Japanese, and exits with 1
