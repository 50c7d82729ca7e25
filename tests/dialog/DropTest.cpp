// Files dropped on the three directory labels, as the shell delivers them: one file fills
// that label's field; anything else changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "AppDriver.h"
#include "DropFiles.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

// A label shows a folder whole or, when it is too long for the label, shortened with an
// ellipsis that keeps its beginning and its end.
::testing::AssertionResult ShowsFolder(const std::string& label, const std::string& folder)
{
    if (label == folder) return ::testing::AssertionSuccess();
    const size_t nDots = label.find("...");
    if (nDots != std::string::npos && folder.compare(0, nDots, label, 0, nDots) == 0) {
        const std::string tail = label.substr(nDots + 3);
        if (!tail.empty() && folder.size() >= tail.size() &&
            folder.compare(folder.size() - tail.size(), tail.size(), tail) == 0)
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "label \"" << label << "\" does not show \"" << folder << "\"";
}

// Posted messages are handled in order: once a toggle posted after the drops has changed
// the window's height, every drop before it has been handled.
void WaitForPostedDrops(AppDriver& app)
{
    const LONG nHeight = app.WindowRect().bottom - app.WindowRect().top;
    ::PostMessageA(app.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_SETTINGS, BN_CLICKED),
                   reinterpret_cast<LPARAM>(app.Control(IDC_SETTINGS)));
    ASSERT_TRUE(WaitUntil([&] { return app.WindowRect().bottom - app.WindowRect().top != nHeight; }));
}

class Drop : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    TestFolder m_folder;
};

}  // namespace

TEST_F(Drop, OneFileOnEachLabelFillsThatField)
{
    const std::string script = m_folder.Write("s\\conv.pl", "1;\n");
    const std::string input = m_folder.Write("in\\part.ncd", "G0\n");
    const std::string output = m_folder.Write("out\\result.txt", "");
    AppDriver app;
    // The output is derived with the suffix the field shows at the drop, not the stored one.
    app.Click(IDC_SETTINGS);
    app.Type(IDC_SUFFIX, "_b");

    DropFiles(app.Control(IDC_SCRIPT_PATH), {script});
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_SCRIPT_NAME) == "conv.pl"; }));
    EXPECT_TRUE(ShowsFolder(app.Text(IDC_SCRIPT_PATH), FolderOf(script)));

    DropFiles(app.Control(IDC_INPUT_PATH), {input});
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_INPUT_NAME) == "part.ncd"; }));
    EXPECT_TRUE(ShowsFolder(app.Text(IDC_INPUT_PATH), FolderOf(input)));
    EXPECT_EQ("part_b.ncd", app.Text(IDC_OUTPUT_NAME));
    EXPECT_TRUE(ShowsFolder(app.Text(IDC_OUTPUT_PATH), FolderOf(input)));

    DropFiles(app.Control(IDC_OUTPUT_PATH), {output});
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_OUTPUT_NAME) == "result.txt"; }));
    EXPECT_TRUE(ShowsFolder(app.Text(IDC_OUTPUT_PATH), FolderOf(output)));
    // The other fields keep what they had.
    EXPECT_EQ("conv.pl", app.Text(IDC_SCRIPT_NAME));
    EXPECT_EQ("part.ncd", app.Text(IDC_INPUT_NAME));
    EXPECT_EQ("_b", app.Text(IDC_SUFFIX));
    app.Close();
}

TEST_F(Drop, SeveralFilesOrADropBesideTheLabelsChangeNothing)
{
    const std::string first = m_folder.Write("a\\first.ncd", "");
    const std::string second = m_folder.Write("b\\second.ncd", "");
    AppDriver app;
    DropFiles(app.Control(IDC_INPUT_PATH), {first});
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_INPUT_NAME) == "first.ncd"; }));
    const std::string inputLabel = app.Text(IDC_INPUT_PATH);
    const std::string outputLabel = app.Text(IDC_OUTPUT_PATH);

    for (int nID : {IDC_SCRIPT_PATH, IDC_INPUT_PATH, IDC_OUTPUT_PATH}) DropFiles(app.Control(nID), {second, first});
    // Posted straight at windows that never asked for drops.
    for (int nID : {IDC_INPUT_NAME, IDC_OUTPUT_NAME, IDC_RUN}) DropFiles(app.Control(nID), {second});
    DropFiles(app.Dialog(), {second});
    WaitForPostedDrops(app);

    EXPECT_EQ("", app.Text(IDC_SCRIPT_NAME));
    EXPECT_EQ("", app.Text(IDC_SCRIPT_PATH));
    EXPECT_EQ("first.ncd", app.Text(IDC_INPUT_NAME));
    EXPECT_EQ(inputLabel, app.Text(IDC_INPUT_PATH));
    EXPECT_EQ("first_cvted.ncd", app.Text(IDC_OUTPUT_NAME));
    EXPECT_EQ(outputLabel, app.Text(IDC_OUTPUT_PATH));
    app.Close();
}
