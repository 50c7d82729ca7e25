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
    for (std::wstring path; GetText((L"ScriptFile" + std::to_wstring(scripts.size())).c_str(), path);) scripts.push_back(path);
    return scripts;
}

TEST_F(SettingsTest, RecentScriptsKeepTheirOrderAndTakeTheNewSpelling)
{
    const std::wstring s0 = m_folder.Write(L"s0.pl", "1;\n"), a = m_folder.Write(L"a.pl", "1;\n");
    SetText(L"ScriptFile0", s0);
    SetText(L"ScriptFile1", a);
    AppDriver app(RecordingPerl({m_input}));
    // The same script in other letters takes the old entry's place, in the new spelling, also when first.
    for (const std::wstring& run : {m_folder / L"A.PL", a, s0, s0}) {
        app.Type(IDC_SCRIPT_NAME, run);
        EXPECT_EQ(PressRun(app), Texts{}) << run;
    }
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{L"s0.pl", L"a.pl"}));
    app.Close();
    EXPECT_EQ(StoredScripts(), (Texts{s0, a}));
}

// The window as shown: corner, both sizes, the toggle and the options it hides.
void ExpectWindow(const AppDriver& app, POINT corner, bool bExpanded)
{
    const RECT rect = app.WindowRect();
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              (std::vector<LONG>{corner.x, corner.y, 396, bExpanded ? 476 : 310}));
    EXPECT_EQ(app.Text(IDC_SETTINGS), bExpanded ? L"設定(&P) <<" : L"設定(&P) >>");
    for (int nID : {IDC_OPEN_CVTED_FILE, IDC_EXIT_AFTER_CVT, IDC_COMPLETE_DIALOG, IDC_SUFFIX})
        EXPECT_EQ(::IsWindowEnabled(app.Control(nID)) != FALSE, bExpanded) << nID;
}

TEST_F(SettingsTest, WhatTheWindowShowedAtCloseIsWhatTheNextStartShows)
{
    DeleteSettingsKey();
    // What a start shows, and how the session before it was closed.
    const int kOptionIds[] = {IDC_OPEN_CVTED_FILE, IDC_EXIT_AFTER_CVT, IDC_COMPLETE_DIALOG};
    struct Session { bool options[3]; std::wstring suffix; bool bExpanded; POINT corner; std::function<void(AppDriver&)> close; };
    const Session sessions[] = {
        {{true, false, false}, L"_cvted", false, {100, 100}, nullptr},  // a first start's defaults
        {{false, true, false}, L"_v2", true, {212, 87},
         [](AppDriver& app) { ::PostMessageW(app.Control(IDOK), BM_CLICK, 0, 0); }},
        {{true, false, true}, L"_v3", false, {-8, 20}, [](AppDriver& app) { app.Close(); }},
        {{false, false, true}, L"-x", true, {40, 150},
         [](AppDriver& app) { ::PostMessageW(app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (size_t i = 0; i < std::size(sessions); ++i) {
        const Session& shown = sessions[i];
        AppDriver app;
        ExpectWindow(app, shown.corner, shown.bExpanded);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(app.IsChecked(kOptionIds[i]), shown.options[i]) << kOptionIds[i];
        EXPECT_EQ(app.Text(IDC_SUFFIX), shown.suffix);
        if (i + 1 == std::size(sessions)) break;  // the last start is only looked at

        const Session& next = sessions[i + 1];
        // Moved first: the toggle changes the height only, wherever the window is.
        ::SetWindowPos(app.Dialog(), nullptr, next.corner.x, next.corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (!shown.bExpanded) app.Click(IDC_SETTINGS);
        ExpectWindow(app, next.corner, true);
        for (int i = 0; i < 3; ++i)
            if (app.IsChecked(kOptionIds[i]) != next.options[i]) app.Click(kOptionIds[i]);
        app.Type(IDC_SUFFIX, next.suffix);
        if (!next.bExpanded) app.Click(IDC_SETTINGS);
        ExpectWindow(app, next.corner, next.bExpanded);
        next.close(app);
        EXPECT_EQ(app.WaitExit(), 0u);
    }
}

TEST_F(SettingsTest, AtTheEndOfASessionTheWindowKeepsWhatClosingWould)
{
    AppDriver app(RecordingPerl({m_input}));
    app.Type(IDC_SCRIPT_NAME, m_script);
    EXPECT_EQ(PressRun(app), Texts{});
    ::SetWindowPos(app.Dialog(), nullptr, 212, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // As Windows ends a session: it asks, tells, then ends the program without destroying its window.
    EXPECT_NE(::SendMessageA(app.Dialog(), WM_QUERYENDSESSION, 0, 0), 0);
    app.Send(WM_ENDSESSION, TRUE);
    app.Kill();
    app.WaitExit();
    EXPECT_EQ(StoredScripts(), Texts{m_script});
    AppDriver next;
    ExpectWindow(next, {212, 87}, false);
    next.Close();
}

TEST_F(SettingsTest, AnOffScreenCornerComesOnScreen)
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetDword(L"Convert", 1);  // positions in pixels, not to be converted from an older store
    // Off every monitor (-32000, where a close while minimised leaves it): the work area's corner.
    SetDword(L"PosLeft", static_cast<DWORD>(-32000));
    SetDword(L"PosTop", static_cast<DWORD>(-32000));
    AppDriver app;
    ExpectWindow(app, {work.left, work.top}, false);
    app.Close();
}

}  // namespace
