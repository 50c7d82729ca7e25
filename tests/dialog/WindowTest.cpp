// What the main window shows besides the paths: its controls' texts under the
// ids the code uses, and the version box from the system menu.
#include "RunFixture.h"

namespace {

using WindowTest = RunFixture;

TEST_F(WindowTest, ControlsShowTheirTextsAndTheSystemMenuOpensTheVersionBox)
{
    AppDriver app;
    EXPECT_EQ(WindowText(app.Dialog()), L"Calvendrake");
    const std::pair<int, const wchar_t*> controls[] = {
        {IDC_SCRIPT_GROUP, L" ｽｸﾘﾌﾟﾄﾌｧｲﾙ "}, {IDC_INPUT_GROUP, L" 入力ﾌｧｲﾙ "}, {IDC_OUTPUT_GROUP, L" 出力ﾌｧｲﾙ "},
        {IDC_SCRIPT_BROWSE, L"参照(&S)"}, {IDC_INPUT_BROWSE, L"参照(&I)"}, {IDC_OUTPUT_BROWSE, L"参照(&O)"},
        {IDC_RUN, L"実行(&R)"}, {IDOK, L"終了(&X)"}, {IDC_SETTINGS, L"設定(&P) >>"},
        {IDC_OPEN_CVTED_FILE, L"変換後 出力ﾌｧｲﾙ を開く(&1)"}, {IDC_EXIT_AFTER_CVT, L"変換後 Calvendrake を終了する(&2)"},
        {IDC_COMPLETE_DIALOG, L"変換後 ﾀﾞｲｱﾛｸﾞ を表示する(&3)"},
    };
    for (const auto& control : controls) EXPECT_EQ(app.Text(control.first), control.second) << control.first;
    EXPECT_TRUE(::GetWindowLongW(app.Control(IDC_RUN), GWL_STYLE) & BS_DEFPUSHBUTTON);  // Enter runs

    // Another process cannot read the system menu under Wine: open it as Alt+Space does
    // and go up from its top to its last item.
    ::PostMessageW(app.Dialog(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND hMenu = app.WaitForWindow(L"#32768");
    ::PostMessageW(hMenu, WM_KEYDOWN, VK_UP, 0);
    ::PostMessageW(hMenu, WM_KEYDOWN, VK_RETURN, 0);
    HWND hAbout = app.WaitForWindow(L"#32770", app.Dialog());
    EXPECT_EQ(WindowText(hAbout), L"Calvendrakeのﾊﾞｰｼﾞｮﾝ情報");
    // The static that is not the icon names the version of the program's own version resource.
    HWND hLabel = ::FindWindowExW(hAbout, nullptr, L"Static", nullptr);
    while ((::GetWindowLongW(hLabel, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) hLabel = ::FindWindowExW(hAbout, hLabel, L"Static", nullptr);
    EXPECT_EQ(WindowText(hLabel), L"Calvendrake Version 3.0.0.0");
    EXPECT_FALSE(::IsWindowEnabled(app.Dialog()));
    app.Answer(hAbout, IDOK);
    EXPECT_FALSE(::IsWindow(hAbout));
    app.Click(IDC_SETTINGS);  // the main window answers again
    EXPECT_EQ(app.Text(IDC_SETTINGS), L"設定(&P) <<");
    app.Close();
}

// Where a control lies against the window's client area.
std::wstring Placement(HWND hDlg, HWND hControl)
{
    RECT client, rect = {}, both;
    ::GetClientRect(hDlg, &client);
    ::MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::GetWindowRect(hControl, &rect);
    return rect.top >= client.bottom ? L"below" : ::UnionRect(&both, &client, &rect) && ::EqualRect(&both, &client) ? L"inside" : L"cut";
}

void SetScreenDpi(DWORD dwDpi) { ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dwDpi, 4); }

// At each resolution, set as a user sets the scale, the window shows the same part of the dialog:
// the button row and not the options when collapsed, the options too when expanded.
TEST_F(WindowTest, EveryResolutionShowsTheSamePartOfTheDialog)
{
    // Physical pixels, as the program lays them out (DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2).
    using SetAwarenessFn = HANDLE(WINAPI*)(HANDLE);
    reinterpret_cast<SetAwarenessFn>(reinterpret_cast<void (*)()>(::GetProcAddress(
        ::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")))(reinterpret_cast<HANDLE>(-4));
    struct Restore { ~Restore() { SetScreenDpi(96); } } restore;
    const struct { DWORD dwDpi; std::vector<LONG> collapsed, expanded; } rows[] = {
        {96, {396, 310}, {396, 476}}, {120, {495, 388}, {495, 595}}, {144, {594, 465}, {594, 714}}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto &row = rows[i], &other = rows[(i + 1) % std::size(rows)];
        SCOPED_TRACE(row.dwDpi);
        SetScreenDpi(row.dwDpi);
        DeleteSettingsKey();
        AppDriver app;
        const HWND hOptions = ::FindWindowExW(app.Dialog(), nullptr, L"Button", L" 設定 ");
        auto size = [&app] { const RECT r = app.WindowRect(); return std::vector<LONG>{r.right - r.left, r.bottom - r.top}; };
        EXPECT_EQ(size(), row.collapsed);
        for (int nID : {IDC_RUN, IDOK, IDC_SETTINGS}) EXPECT_EQ(Placement(app.Dialog(), app.Control(nID)), L"inside") << nID;
        EXPECT_EQ(Placement(app.Dialog(), hOptions), L"below");
        app.Click(IDC_SETTINGS);
        EXPECT_EQ(size(), row.expanded);
        EXPECT_EQ(Placement(app.Dialog(), hOptions), L"inside");
        // Moved to a monitor of another resolution: its size for that one, where Windows suggests.
        const RECT suggested = {200, 150, 300, 250};
        app.Send(WM_DPICHANGED, MAKEWPARAM(other.dwDpi, other.dwDpi),
                 reinterpret_cast<LPARAM>(CopyToProcessOf(app.Dialog(), std::string(reinterpret_cast<const char*>(&suggested), sizeof suggested))));
        EXPECT_EQ(std::make_pair(app.WindowRect().left, app.WindowRect().top), std::make_pair(200L, 150L));
        EXPECT_EQ(size(), other.expanded);
        app.Close();
    }
}

}  // namespace
