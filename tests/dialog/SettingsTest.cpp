// What outlives a run, through real restarts: the recent scripts, the options,
// suffix, panel state and position, and what a start makes of odd stored values.
#include "RunFixture.h"

#include <functional>

namespace {

using SettingsTest = RunFixture;

// ScriptFile0, ScriptFile1, ... as stored, up to the first gap.
Texts StoredScripts()
{
    Texts scripts;
    for (std::string path; GetText(("ScriptFile" + std::to_string(scripts.size())).c_str(), path);) scripts.push_back(path);
    return scripts;
}

TEST_F(SettingsTest, RecentScriptsKeepTheirOrderAndTenAtMost)
{
    Texts paths, names;  // s0 .. s10; s10 is missing
    for (int i = 0; i <= 10; ++i) {
        names.push_back("s" + std::to_string(i) + ".pl");
        paths.push_back(i == 10 ? m_folder / names.back() : m_folder.Write(names.back(), "1;\n"));
    }
    const std::string a = m_folder.Write("a.pl", "1;\n"), upperA = m_folder / "A.PL", neu = m_folder.Write("new.pl", "1;\n");
    // head (if any), then texts[nFrom, nTo)
    auto range = [](const std::string& head, const Texts& texts, size_t nFrom, size_t nTo) {
        Texts result(head.empty() ? 0 : 1, head);
        result.insert(result.end(), texts.begin() + static_cast<std::ptrdiff_t>(nFrom), texts.begin() + static_cast<std::ptrdiff_t>(nTo));
        return result;
    };
    struct Session { Texts stored, runs, listed, storedAfter; } const sessions[] = {
        // The same script in other letters takes the old entry's place, in the new spelling, also when first.
        {{paths[0], a}, {upperA, a, paths[0], paths[0]}, {"s0.pl", "a.pl"}, {paths[0], a}},
        // Ten: the least recent goes. Nine: none goes (a missing script is left out at start).
        {range("", paths, 0, 10), {neu}, range("new.pl", names, 0, 9), range(neu, paths, 0, 9)},
        {range("", paths, 1, 11), {neu}, range("new.pl", names, 1, 10), range(neu, paths, 1, 10)},
        // The stored run shrinks with the list.
        {paths, {}, range("", names, 0, 10), range("", paths, 0, 10)},
    };
    for (const Session& session : sessions) {
        DeleteSettingsKey();
        for (size_t i = 0; i < session.stored.size(); ++i) SetText(("ScriptFile" + std::to_string(i)).c_str(), session.stored[i]);
        AppDriver app(RecordingPerl({m_input}));
        for (const std::string& run : session.runs) {
            app.Type(IDC_SCRIPT_NAME, run);
            EXPECT_EQ(PressRun(app), Texts{}) << run;
        }
        EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), session.listed);
        app.Close();
        EXPECT_EQ(StoredScripts(), session.storedAfter);
    }
}

// The window as shown: corner, both sizes, the toggle and the options it hides.
void ExpectWindow(const AppDriver& app, POINT corner, bool bExpanded)
{
    const RECT rect = app.WindowRect();
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              (std::vector<LONG>{corner.x, corner.y, 396, bExpanded ? 476 : 310}));
    EXPECT_EQ(app.Text(IDC_SETTINGS), bExpanded ? "設定(&P) <<" : "設定(&P) >>");
    for (int nID : {IDC_OPEN_CVTED_FILE, IDC_EXIT_AFTER_CVT, IDC_COMPLETE_DIALOG, IDC_SUFFIX})
        EXPECT_EQ(::IsWindowEnabled(app.Control(nID)) != FALSE, bExpanded) << nID;
}

TEST_F(SettingsTest, WhatTheWindowShowedAtCloseIsWhatTheNextStartShows)
{
    DeleteSettingsKey();
    // What a start shows, and how the session before it was closed.
    struct Session { bool bOpen, bExit, bComplete; std::string suffix; bool bExpanded; POINT corner; std::function<void(AppDriver&)> close; };
    const Session sessions[] = {
        {true, false, false, "_cvted", false, {100, 100}, nullptr},  // a first start's defaults
        {false, true, false, "_v2", true, {212, 87},
         [](AppDriver& app) { ::PostMessageA(app.Control(IDOK), BM_CLICK, 0, 0); }},
        {true, false, true, "_v3", false, {-8, 20}, [](AppDriver& app) { app.Close(); }},
        {false, false, true, "-x", true, {40, 150},
         [](AppDriver& app) { ::PostMessageA(app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (size_t i = 0; i < std::size(sessions); ++i) {
        const Session& shown = sessions[i];
        AppDriver app;
        ExpectWindow(app, shown.corner, shown.bExpanded);
        EXPECT_EQ(app.IsChecked(IDC_OPEN_CVTED_FILE), shown.bOpen);
        EXPECT_EQ(app.IsChecked(IDC_EXIT_AFTER_CVT), shown.bExit);
        EXPECT_EQ(app.IsChecked(IDC_COMPLETE_DIALOG), shown.bComplete);
        EXPECT_EQ(app.Text(IDC_SUFFIX), shown.suffix);
        if (i + 1 == std::size(sessions)) break;  // the last start is only looked at

        const Session& next = sessions[i + 1];
        // Moved first: the toggle changes the height only, wherever the window is.
        ::SetWindowPos(app.Dialog(), nullptr, next.corner.x, next.corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (!shown.bExpanded) app.Click(IDC_SETTINGS);
        ExpectWindow(app, next.corner, true);
        if (app.IsChecked(IDC_OPEN_CVTED_FILE) != next.bOpen) app.Click(IDC_OPEN_CVTED_FILE);
        if (app.IsChecked(IDC_EXIT_AFTER_CVT) != next.bExit) app.Click(IDC_EXIT_AFTER_CVT);
        if (app.IsChecked(IDC_COMPLETE_DIALOG) != next.bComplete) app.Click(IDC_COMPLETE_DIALOG);
        app.Type(IDC_SUFFIX, next.suffix);
        if (!next.bExpanded) app.Click(IDC_SETTINGS);
        ExpectWindow(app, next.corner, next.bExpanded);
        next.close(app);
        EXPECT_EQ(app.WaitExit(), 0u);
    }
}

TEST_F(SettingsTest, OddStoredValuesGiveDefaultsAndAnOffScreenCornerComesOnScreen)
{
    RECT work = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetDword("Convert", 1);  // positions in pixels, not to be converted from an older store
    // Off every monitor (-32000, where a close while minimised leaves it): the work area's corner.
    SetDword("PosLeft", static_cast<DWORD>(-32000));
    SetDword("PosTop", static_cast<DWORD>(-32000));
    // Too big for the program's fields: the defaults, collapsed and "_cvted".
    SetValue("OptOnOff", REG_QWORD, std::string(8, '\0'));
    SetValue("SuffixName", REG_BINARY, std::string(260, 'a'));
    AppDriver app;
    ExpectWindow(app, {work.left, work.top}, false);
    EXPECT_EQ(app.Text(IDC_SUFFIX), "_cvted");
    app.Close();
}

}  // namespace
