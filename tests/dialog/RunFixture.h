#pragma once
// What the tests of a conversion run share: an empty store, a test folder, a
// "perl" that only records how it was called, and pressing Run while
// answering the messages it shows.
#include "AppDriver.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

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
    LaunchOptions RecordingPerl(const std::vector<std::string>& args = {}) const
    {
        std::string strFolder = m_folder / "fake-perl";
        ::CreateDirectoryA(strFolder.c_str(), nullptr);
        ::CopyFileA((ProgramFolder() + "\\recorder.exe").c_str(), (strFolder + "\\perl.exe").c_str(), FALSE);
        LaunchOptions options = Recording(args);
        options.pathPrefix = strFolder;
        return options;
    }

    // Start options that let recorder.exe, started by whatever means, write to RecordFile().
    LaunchOptions Recording(const std::vector<std::string>& args = {}) const
    {
        LaunchOptions options;
        options.args = args;
        options.env = {{"CALV_RECORD_FILE", RecordFile()}};
        return options;
    }

    std::string RecordFile() const { return m_folder / "record.txt"; }
    std::string Recorded() const { return ReadFileText(RecordFile()); }

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

    TestFolder m_folder;
};
