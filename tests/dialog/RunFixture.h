#pragma once
// What every test of the running program shares: an empty store, a fresh folder
// with a script and an input, a "perl" that only records how it was called,
// and pressing Run while answering the messages it shows.
#include "AppDriver.h"
#include "resource.h"

#include <dlgs.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <filesystem>
#include <fstream>

// What EM_GETSEL and CB_GETEDITSEL report when all of text is selected.
inline DWORD WholeText(const std::wstring& text) { return MAKELONG(0, text.size()); }

// A fresh folder under %TEMP% named after the test, removed afterwards.
class TestFolder {
public:
    TestFolder() : m_strPath((std::filesystem::temp_directory_path() / ("calv-" + TestName())).wstring())
    {
        Clear();
        ::SHCreateDirectoryExW(nullptr, m_strPath.c_str(), nullptr);
    }
    ~TestFolder() { Clear(); }
    const std::wstring& Path() const { return m_strPath; }
    std::wstring operator/(const std::wstring& name) const { return m_strPath + L"\\" + name; }
    // A file of these bytes, and the folders it lies in.
    std::wstring Write(const std::wstring& name, const std::string& content) const
    {
        const std::filesystem::path path(*this / name);
        ::SHCreateDirectoryExW(nullptr, path.parent_path().c_str(), nullptr);
        std::ofstream(path, std::ios::binary) << content;
        return path.wstring();
    }

private:
    static std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    // Read-only files first made writable: removing them would fail and leave the folder to the next run.
    void Clear() const
    {
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_strPath, error))
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(m_strPath, error);
    }
    std::wstring m_strPath;
};

// The platform's open or save dialog, read and answered through its own controls.
struct Chooser {
    AppDriver& app;
    HWND hWnd;

    Chooser(AppDriver& driver, int nBrowseID) : app(driver)
    {
        app.ClickAsync(nBrowseID);
        hWnd = app.WaitForWindow(L"#32770", app.Dialog());
    }
    HWND NameField() const { return ::GetDlgItem(hWnd, cmb13) ? ::GetDlgItem(hWnd, cmb13) : ::GetDlgItem(hWnd, edt1); }
    void Press(const std::wstring& name, int nButton) const
    {
        ::SendMessageW(NameField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::PostMessageW(::GetDlgItem(hWnd, nButton), BM_CLICK, 0, 0);  // its answer may be a message of its own
    }
};

class RunFixture : public ::testing::Test {
protected:
    // Opening the output is on by default; only the tests that look at it turn it on.
    RunFixture()
    {
        // Another code page than asked for would prove nothing about it.
        if (CodePageUnderTest() != CP_UTF8) {
            EXPECT_EQ(::GetACP(), CodePageUnderTest());
        }
        // A program left running by a test that was stopped would take every later start for a second launch.
        for (int i = 0; HWND hWnd = i < 10 ? ::FindWindowW(nullptr, L"Calvendrake") : nullptr; ++i) {
            DWORD dwProcessId = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcessId);
            HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwProcessId);
            ::TerminateProcess(hProcess, 1);
            ::WaitForSingleObject(hProcess, 5000);
            ::CloseHandle(hProcess);
        }
        DeleteSettingsKey();
        SetDword(L"OpenCvtedFile", 0);
    }

    // The three after-run check boxes as the next start shows them.
    static void PlantOptions(DWORD dwCompleteDialog, DWORD dwOpenCvtedFile, DWORD dwExitAfterCvt)
    {
        SetDword(L"CompleteDialog", dwCompleteDialog);
        SetDword(L"OpenCvtedFile", dwOpenCvtedFile);
        SetDword(L"ExitAfterCvt", dwExitAfterCvt);
    }

    // Start options under which "perl" is recorder.exe, beside a copy of the program (where it
    // goes before PATH): it appends its command line to RecordFile() and succeeds, without running anything.
    LaunchOptions RecordingPerl(const Texts& args = {}) const
    {
        LaunchOptions options = Recording(args);
        CopyProgram(L"recorder.exe", L"app\\perl.exe");
        options.program = CopyProgram(ProgramName(), L"app\\Calvendrake.exe");
        return options;
    }
    // A program of the build copied to a path in the test's folder; its full path.
    std::wstring CopyProgram(const std::wstring& name, const std::wstring& path) const
    {
        return m_folder.Write(path, ReadFileText(ProgramFolder() + L"\\" + name));
    }
    // Start options that let recorder.exe, started by whatever means, write to RecordFile().
    LaunchOptions Recording(const Texts& args = {}) const { return LaunchOptions{args, {{L"CALV_RECORD_FILE", RecordFile()}}, {}}; }
    std::wstring RecordFile() const { return m_folder / L"record.txt"; }
    std::wstring Recorded() const { return FromBytes(CP_UTF8, ReadFileText(RecordFile())); }
    static std::wstring RunLine(const std::wstring& script, const std::wstring& input, const std::wstring& output)
    {
        return L"perl \"" + script + L"\" \"" + input + L"\" \"" + output + L"\"\n";
    }

    // What Run shows after kFailScript, saved as script, failed.
    static std::wstring FailureMessage(const std::wstring& script)
    {
        std::wstring message = script + L" の実行に失敗しました。（終了コード 1）\n\n";
        for (int nLine = 12; nLine <= 30; ++nLine) message += L"line " + std::to_wstring(nLine) + L"\n";
        return message + L"N40: 入力が見つかりません";
    }

    // Presses Run and answers the message boxes it shows with the buttons given, in order;
    // any further box gets No or OK. Returns once the handler has ended, with the boxes' texts.
    static Texts PressRun(AppDriver& app, const std::vector<int>& answers = {})
    {
        app.ClickAsync(IDC_RUN);
        return AnswerUntilFinished(app, answers);
    }
    // The same for a handler already started.
    static Texts AnswerUntilFinished(AppDriver& app, const std::vector<int>& answers = {})
    {
        Texts texts;
        while (HWND hBox = app.NextMessageOrFinish()) {
            texts.push_back(app.MessageText(hBox));
            const bool bAnswered = texts.size() <= answers.size();
            app.Answer(hBox, bAnswered ? answers[texts.size() - 1] : ::GetDlgItem(hBox, IDNO) ? IDNO : IDOK);
        }
        return texts;
    }
    // Presses Run and returns the first message box it shows, unanswered.
    static HWND FirstMessageOfRun(AppDriver& app) { app.ClickAsync(IDC_RUN); return app.WaitForWindow(); }

    // The three fields (folder label, name), the suffix and the completion box, as shown.
    static Texts Shown(const AppDriver& app)
    {
        Texts shown;
        for (int nID : {IDC_SCRIPT_PATH, IDC_SCRIPT_NAME, IDC_INPUT_PATH, IDC_INPUT_NAME, IDC_OUTPUT_PATH, IDC_OUTPUT_NAME, IDC_SUFFIX})
            shown.push_back(app.Text(nID));
        shown.push_back(app.IsChecked(IDC_COMPLETE_DIALOG) ? L"checked" : L"unchecked");
        return shown;
    }

    TestFolder m_folder;
    const std::wstring m_script = m_folder.Write(L"conv.pl", "1;\n");
    const std::wstring m_input = m_folder.Write(L"part1.ncd", "n10 g01\n");
};
