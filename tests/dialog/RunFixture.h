#pragma once
// What every test of the running program shares: an empty store, a test folder
// with a script and an input, a "perl" that only records how it was called,
// and pressing Run while answering the messages it shows.
#include "AppDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

// What EM_GETSEL and CB_GETEDITSEL report when all of text is selected.
inline DWORD WholeText(const std::string& text) { return MAKELONG(0, text.size()); }

class RunFixture : public ::testing::Test {
protected:
    RunFixture()
    {
        DeleteSettingsKey();
        // Opening the output is on by default; only the tests that look at it turn it on.
        SetDword("OpenCvtedFile", 0);
    }

    // The three after-run check boxes as the next start shows them.
    static void PlantOptions(DWORD dwCompleteDialog, DWORD dwOpenCvtedFile, DWORD dwExitAfterCvt)
    {
        SetDword("CompleteDialog", dwCompleteDialog);
        SetDword("OpenCvtedFile", dwOpenCvtedFile);
        SetDword("ExitAfterCvt", dwExitAfterCvt);
    }

    // Start options under which "perl" is recorder.exe: it appends its command
    // line to RecordFile() and succeeds, without running anything.
    LaunchOptions RecordingPerl(const Texts& args = {}) const
    {
        LaunchOptions options = Recording(args);
        options.pathPrefix = m_folder / "fake-perl";
        ::CreateDirectoryA(options.pathPrefix.c_str(), nullptr);
        ::CopyFileA((ProgramFolder() + "\\recorder.exe").c_str(), (options.pathPrefix + "\\perl.exe").c_str(), FALSE);
        return options;
    }

    // Start options that let recorder.exe, started by whatever means, write to RecordFile().
    LaunchOptions Recording(const Texts& args = {}) const { return LaunchOptions{args, {{"CALV_RECORD_FILE", RecordFile()}}, {}}; }
    std::string RecordFile() const { return m_folder / "record.txt"; }
    std::string Recorded() const { return ReadFileText(RecordFile()); }
    static std::string RunLine(const std::string& script, const std::string& input, const std::string& output)
    {
        return "perl \"" + script + "\" \"" + input + "\" \"" + output + "\"\n";
    }

    // Presses Run and answers the message boxes it shows with the buttons
    // given, in order; any further box gets No or OK. Returns once the
    // handler has ended, with the texts of the boxes.
    static Texts PressRun(AppDriver& app, const std::vector<int>& answers = {})
    {
        Texts texts;
        app.ClickAsync(IDC_RUN);
        while (HWND hBox = app.NextMessageOrFinish()) {
            texts.push_back(app.MessageText(hBox));
            int nButton = texts.size() <= answers.size() ? answers[texts.size() - 1]
                          : ::GetDlgItem(hBox, IDNO)    ? IDNO
                                                        : IDOK;
            app.Answer(hBox, nButton);
        }
        return texts;
    }

    // The three fields (folder label, name), the suffix and the completion box, as shown.
    static Texts Shown(const AppDriver& app)
    {
        Texts shown;
        for (int nID : {IDC_SCRIPT_PATH, IDC_SCRIPT_NAME, IDC_INPUT_PATH, IDC_INPUT_NAME, IDC_OUTPUT_PATH,
                        IDC_OUTPUT_NAME, IDC_SUFFIX})
            shown.push_back(app.Text(nID));
        shown.push_back(app.IsChecked(IDC_COMPLETE_DIALOG) ? "checked" : "unchecked");
        return shown;
    }

    TestFolder m_folder;
    const std::string m_script = m_folder.Write("conv.pl", "1;\n");
    const std::string m_input = m_folder.Write("part1.ncd", "n10 g01\n");
};
