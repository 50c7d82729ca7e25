// What the main window shows and how the keyboard walks it, read from the running program.
// Texts are compared as the code page 932 bytes the controls hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppDriver.h"
#include "TestRegistry.h"
#include "WindowQueries.h"
#include "resource.h"

namespace {

// The texts of the controls the program never addresses (id -1), in window order.
std::vector<std::string> UnaddressedTexts(HWND hDlg)
{
    std::vector<std::string> texts;
    for (HWND hWnd = ::GetWindow(hDlg, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (static_cast<WORD>(::GetDlgCtrlID(hWnd)) == 0xFFFF) texts.push_back(WindowText(hWnd));
    }
    return texts;
}

// Presses Tab until the focus is back where it started; the ids visited, the start last.
std::vector<int> TabCycle(AppDriver& app)
{
    std::vector<int> visited;
    const int nStart = app.FocusedId();
    do {
        app.Send(WM_NEXTDLGCTL, 0, FALSE);
        visited.push_back(app.FocusedId());
    } while (visited.back() != nStart && visited.size() < 30);
    return visited;
}

class WindowControls : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
};

}  // namespace

TEST_F(WindowControls, TextsAreShownAsWritten)
{
    AppDriver app;
    EXPECT_EQ("Calvendrake", WindowText(app.Dialog()));

    EXPECT_EQ(" ｽｸﾘﾌﾟﾄﾌｧｲﾙ ", app.Text(IDC_SCRIPT_GROUP));
    EXPECT_EQ(" 入力ﾌｧｲﾙ ", app.Text(IDC_INPUT_GROUP));
    EXPECT_EQ(" 出力ﾌｧｲﾙ ", app.Text(IDC_OUTPUT_GROUP));
    EXPECT_EQ("参照(&S)", app.Text(IDC_SCRIPT_BROWSE));
    EXPECT_EQ("参照(&I)", app.Text(IDC_INPUT_BROWSE));
    EXPECT_EQ("参照(&O)", app.Text(IDC_OUTPUT_BROWSE));
    EXPECT_EQ("実行(&R)", app.Text(IDC_RUN));
    EXPECT_EQ("終了(&X)", app.Text(IDOK));
    EXPECT_EQ("設定(&P) >>", app.Text(IDC_SETTINGS));
    EXPECT_EQ("変換後 出力ﾌｧｲﾙ を開く(&1)", app.Text(IDC_OPEN_CVTED_FILE));
    EXPECT_EQ("変換後 Calvendrake を終了する(&2)", app.Text(IDC_EXIT_AFTER_CVT));
    EXPECT_EQ("変換後 ﾀﾞｲｱﾛｸﾞ を表示する(&3)", app.Text(IDC_COMPLETE_DIALOG));

    // The suffix label ends in an ideographic space (81 40) and a full-width colon (81 46).
    const std::vector<std::string> expected = {
        "ﾊﾟｽ", "ﾌｧｲﾙ名", "ﾊﾟｽ", "ﾌｧｲﾙ名", "ﾊﾟｽ", "ﾌｧｲﾙ名",
        "出力ﾌｧｲﾙ の ｻﾌｨｯｸｽ(&4)\x81\x40\x81\x46", " 設定 "};
    EXPECT_EQ(expected, UnaddressedTexts(app.Dialog()));
    app.Close();
}

TEST_F(WindowControls, TabWalksEveryStopOfTheExpandedWindowInOrder)
{
    AppDriver app;
    EXPECT_EQ(IDC_SCRIPT_NAME, app.FocusedId());
    app.Click(IDC_SETTINGS);
    app.Focus(IDC_SCRIPT_NAME);
    const std::vector<int> expected = {IDC_SCRIPT_BROWSE, IDC_INPUT_NAME, IDC_INPUT_BROWSE, IDC_OUTPUT_NAME,
                                       IDC_OUTPUT_BROWSE, IDC_RUN, IDOK, IDC_SETTINGS, IDC_OPEN_CVTED_FILE,
                                       IDC_EXIT_AFTER_CVT, IDC_COMPLETE_DIALOG, IDC_SUFFIX, IDC_SCRIPT_NAME};
    EXPECT_EQ(expected, TabCycle(app));
    app.Close();
}

TEST_F(WindowControls, TabSkipsTheCollapsedPanel)
{
    AppDriver app;
    EXPECT_EQ(IDC_SCRIPT_NAME, app.FocusedId());
    const std::vector<int> expected = {IDC_SCRIPT_BROWSE, IDC_INPUT_NAME, IDC_INPUT_BROWSE, IDC_OUTPUT_NAME,
                                       IDC_OUTPUT_BROWSE, IDC_RUN, IDOK, IDC_SETTINGS, IDC_SCRIPT_NAME};
    EXPECT_EQ(expected, TabCycle(app));
    app.Close();
}

TEST_F(WindowControls, OnlyTheThreeDirectoryLabelsAcceptDrops)
{
    AppDriver app;
    auto acceptsDrops = [](HWND hWnd) { return (::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; };
    EXPECT_FALSE(acceptsDrops(app.Dialog()));
    for (HWND hWnd = ::GetWindow(app.Dialog(), GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        const int nID = ::GetDlgCtrlID(hWnd);
        const bool bLabel = nID == IDC_SCRIPT_PATH || nID == IDC_INPUT_PATH || nID == IDC_OUTPUT_PATH;
        EXPECT_EQ(bLabel, acceptsDrops(hWnd)) << "control " << nID;
    }
    app.Close();
}
