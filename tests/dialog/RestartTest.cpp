// A whole session survives a restart: what the dialog showed when it closed is
// what the next start shows, whichever way it was closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppDriver.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "WindowQueries.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::string>;

constexpr int kExpandedHeight = 476;
constexpr int kCollapsedHeight = 310;

void ExpectWindowAt(const AppDriver& app, int x, int y, int nHeight)
{
    RECT rect = app.WindowRect();
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.bottom - rect.top, nHeight);
}

class Restart : public ::testing::Test {
protected:
    Restart()
    {
        DeleteSettingsKey();
        // Off, so that the session's one run opens nothing; the other two are off by default.
        SetDword("OpenCvtedFile", 0);
    }

    TestFolder m_folder;
};

}  // namespace

TEST_F(Restart, NextStartShowsOptionsSuffixPanelCornerAndRecentScriptsAsLeft)
{
    const std::string older = m_folder.Write("older.pl", "1;\n");
    const std::string script = m_folder.Write("upper.pl", kCopyScript);
    const std::string input = m_folder.Write("part1.ncd", "n10\n");
    SetText("ScriptFile0", older);
    std::string scriptFolder;
    {
        AppDriver app(LaunchOptions{{input}, {}, {}});
        app.Type(IDC_SCRIPT_NAME, script);
        app.ClickAsync(IDC_RUN);
        ASSERT_EQ(app.NextMessageOrFinish(), nullptr);
        ASSERT_EQ(ReadFileText(m_folder / "part1_cvted.ncd"), "N10\n");
        scriptFolder = app.Text(IDC_SCRIPT_PATH);

        app.Click(IDC_SETTINGS);
        app.Click(IDC_EXIT_AFTER_CVT);
        app.Click(IDC_COMPLETE_DIALOG);
        app.Type(IDC_SUFFIX, "_v2");
        MoveWindowTo(app.Dialog(), 212, 87);
        ::PostMessageA(app.Control(IDOK), BM_CLICK, 0, 0);
        ASSERT_EQ(app.WaitExit(), 0u);
    }
    {
        AppDriver app;
        EXPECT_FALSE(app.IsChecked(IDC_OPEN_CVTED_FILE));
        EXPECT_TRUE(app.IsChecked(IDC_EXIT_AFTER_CVT));
        EXPECT_TRUE(app.IsChecked(IDC_COMPLETE_DIALOG));
        EXPECT_EQ(app.Text(IDC_SUFFIX), "_v2");
        ExpectWindowAt(app, 212, 87, kExpandedHeight);
        EXPECT_EQ(app.Text(IDC_SETTINGS), "設定(&P) <<");
        EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{"upper.pl", "older.pl"}));
        EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "upper.pl");
        EXPECT_EQ(app.Text(IDC_SCRIPT_PATH), scriptFolder);
        // The paths of one start's argument are not part of the session.
        EXPECT_EQ(app.Text(IDC_INPUT_NAME), "");
        EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "");

        // Changed, collapsed, moved, and closed with Escape this time.
        app.Click(IDC_COMPLETE_DIALOG);
        app.Click(IDC_SETTINGS);
        MoveWindowTo(app.Dialog(), 40, 150);
        app.Close();
    }
    AppDriver app;
    ExpectWindowAt(app, 40, 150, kCollapsedHeight);
    EXPECT_EQ(app.Text(IDC_SETTINGS), "設定(&P) >>");
    EXPECT_FALSE(app.IsChecked(IDC_OPEN_CVTED_FILE));
    EXPECT_TRUE(app.IsChecked(IDC_EXIT_AFTER_CVT));
    EXPECT_FALSE(app.IsChecked(IDC_COMPLETE_DIALOG));
    EXPECT_EQ(app.Text(IDC_SUFFIX), "_v2");
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{"upper.pl", "older.pl"}));
    app.Close();
}
