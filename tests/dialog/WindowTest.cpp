// What the main window shows besides the paths: its controls' texts under the
// ids the code uses, and the version box from the system menu.
#include "RunFixture.h"

namespace {

using WindowTest = RunFixture;

TEST_F(WindowTest, ControlsShowTheirTextsAndTheSystemMenuOpensTheVersionBox)
{
    AppDriver app;
    EXPECT_EQ(WindowText(app.Dialog()), "Calvendrake");
    const std::pair<int, const char*> controls[] = {
        {IDC_SCRIPT_GROUP, " ｽｸﾘﾌﾟﾄﾌｧｲﾙ "}, {IDC_INPUT_GROUP, " 入力ﾌｧｲﾙ "}, {IDC_OUTPUT_GROUP, " 出力ﾌｧｲﾙ "},
        {IDC_SCRIPT_BROWSE, "参照(&S)"}, {IDC_INPUT_BROWSE, "参照(&I)"}, {IDC_OUTPUT_BROWSE, "参照(&O)"},
        {IDC_RUN, "実行(&R)"}, {IDOK, "終了(&X)"}, {IDC_SETTINGS, "設定(&P) >>"},
        {IDC_OPEN_CVTED_FILE, "変換後 出力ﾌｧｲﾙ を開く(&1)"}, {IDC_EXIT_AFTER_CVT, "変換後 Calvendrake を終了する(&2)"},
        {IDC_COMPLETE_DIALOG, "変換後 ﾀﾞｲｱﾛｸﾞ を表示する(&3)"},
    };
    for (const auto& control : controls) EXPECT_EQ(app.Text(control.first), control.second) << control.first;
    EXPECT_TRUE(::GetWindowLongA(app.Control(IDC_RUN), GWL_STYLE) & BS_DEFPUSHBUTTON);  // Enter runs

    // Another process cannot read the system menu under Wine: open it as Alt+Space does
    // and go up from its top to its last item.
    ::PostMessageA(app.Dialog(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND hMenu = app.WaitForWindow("#32768");
    ::PostMessageA(hMenu, WM_KEYDOWN, VK_UP, 0);
    ::PostMessageA(hMenu, WM_KEYDOWN, VK_RETURN, 0);
    HWND hAbout = app.WaitForWindow("#32770", app.Dialog());
    EXPECT_EQ(WindowText(hAbout), "Calvendrakeのﾊﾞｰｼﾞｮﾝ情報");
    // The label after the icon names the version of the program's own version resource.
    EXPECT_EQ(WindowText(::GetWindow(::GetWindow(hAbout, GW_CHILD), GW_HWNDNEXT)), "Calvendrake Version 3.0.0.0");
    EXPECT_FALSE(::IsWindowEnabled(app.Dialog()));
    app.Answer(hAbout, IDOK);
    EXPECT_FALSE(::IsWindow(hAbout));
    app.Click(IDC_SETTINGS);  // the main window answers again
    EXPECT_EQ(app.Text(IDC_SETTINGS), "設定(&P) <<");
    app.Close();
}

}  // namespace
