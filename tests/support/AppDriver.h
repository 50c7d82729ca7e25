#pragma once
// Starts the real Calvendrake.exe and uses its window from outside, as a
// person would: focus changes, clicks, typed text, message boxes answered,
// and what the screen shows read back through window messages.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

std::string ProgramFolder();          // where the test programs and Calvendrake.exe are
std::string CalvendrakePath();

struct LaunchOptions {
    std::vector<std::string> args;    // command-line arguments, quoted as a shell would
    std::vector<std::pair<std::string, std::string>> env;  // variables added, or replacing ours of the same name
    std::string pathPrefix;           // folder put first on PATH (to find another perl)
};

// A started process, without waiting for any window.
struct StartedProcess {
    HANDLE hProcess = nullptr;
    DWORD dwProcessId = 0;
};
StartedProcess StartCalvendrake(const LaunchOptions& options);
DWORD WaitForExit(HANDLE hProcess);  // the exit code; the handle is closed

class AppDriver {
public:
    explicit AppDriver(const LaunchOptions& options = {});
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    HWND Dialog() const { return m_hDlg; }
    HWND Control(int nID) const { return ::GetDlgItem(m_hDlg, nID); }
    DWORD ProcessId() const { return m_dwProcessId; }

    std::string Text(int nID) const;             // a control's text as the screen shows it
    bool IsChecked(int nID) const;
    bool IsEnabled(int nID) const;
    std::vector<std::string> ComboItems(int nID) const;  // the list of a combo box, top to bottom
    RECT WindowRect() const;
    int FocusedId() const;                       // id of the control with the keyboard focus (combo for its edit)
    DWORD EditSelection(int nID) const;          // MAKELONG(start, end) of an edit or the combo's edit

    void Focus(int nID);                         // moves the focus as Tab would; kill-focus handlers run
    void Type(int nID, const std::string& text); // focuses the field and replaces its text, as typing would
    void Click(int nID);                         // presses a button and waits for its handler to end
    // Presses a button whose handler opens a modal window; returns at once. Finish() waits for the handler.
    void ClickAsync(int nID);
    void Finish();
    // After ClickAsync: the next message box the handler opens, or NULL once the handler has ended.
    HWND NextMessageOrFinish();
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);  // synchronous message to the dialog

    // Waits for a top-level window of the program other than the dialog (a message box, a chooser).
    HWND WaitForWindow(const char* pszClass = "#32770");
    std::string MessageText(HWND hBox) const;
    void Answer(HWND hBox, int nButton);         // IDOK, IDYES, IDNO, IDCANCEL
    void AnswerWithEnter(HWND hBox);             // as the Enter key does: with the default button
    // Convenience: waits for the next message box, answers it and returns its text.
    std::string AnswerNextMessage(int nButton = IDOK);
    bool HasOtherWindow() const;

    void Close();                                // Escape; waits for the process to end
    DWORD WaitExit();                            // waits for the process to end by itself

private:
    std::vector<HWND> OtherWindows(const char* pszClass) const;

    HANDLE m_hProcess = nullptr;
    DWORD m_dwProcessId = 0;
    HWND m_hDlg = nullptr;
    HANDLE m_hClickThread = nullptr;
};

// Polls until the condition holds; false after the timeout (a generous bound, not a measurement).
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 30000);
// The main dialog of a process, or NULL.
HWND FindDialogOf(DWORD dwProcessId);
