// The three choosers of the browse buttons, read and answered through their own
// windows: where they open, what they offer, open or save, and what each answer
// does to the fields.
#include "DialogSnapshot.h"
#include "FileChooser.h"
#include "RecordedRun.h"
#include "RunFixture.h"

namespace {

const Texts kDataTypes = {"NCD File(*.ncd)", "Text File(*.txt)", "すべてのファイル(*.*)"};
const Texts kScriptTypes = {"Perl Script(*.pl)", "すべてのファイル(*.*)"};

class ChooserTest : public RunFixture {
protected:
    // One stored script, and an input the program starts with.
    ChooserTest() : m_script(m_folder.Write("conv.pl", "1;\n")), m_input(m_folder.Write("part1.ncd", "N10\n"))
    {
        SetText("ScriptFile0", m_script);
    }

    const std::string m_script;
    const std::string m_input;
};

TEST_F(ChooserTest, InputChooserOpensAtTheInputAndTakesOnlyExistingFiles)
{
    const std::string part2 = m_folder.Write("part2.ncd", "N20\n");
    AppDriver app(RecordingPerl({m_input}));
    {
        FileChooser chooser(app, IDC_INPUT_BROWSE);
        EXPECT_EQ(chooser.Folder(), m_folder.Path());
        EXPECT_EQ(chooser.Name(), "part1.ncd");
        EXPECT_EQ(chooser.FileTypes(), kDataTypes);
        EXPECT_EQ(chooser.SelectedFileType(), 0);
        EXPECT_FALSE(chooser.ShowsReadOnlyBox());

        // The chooser itself refuses a missing file and stays open.
        EXPECT_NE(chooser.ChooseRefused("missing.ncd"), "");
        EXPECT_TRUE(::IsWindow(chooser.Window()));
        chooser.Choose("part2.ncd");
    }
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "part2.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "part2_cvted.ncd");

    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(m_script, part2, m_folder / "part2_cvted.ncd"));
    app.Close();
}

TEST_F(ChooserTest, OutputChooserSavesAnyNameWithTheDefaultExtensionAndAsksNothing)
{
    m_folder.Write("part1_cvted.ncd", "old\n");
    const std::string other = m_folder.Write("other.ncd", "other\n");
    AppDriver app(RecordingPerl({m_input}));
    std::string strOpenTitle, strOpenText;
    {
        FileChooser opener(app, IDC_INPUT_BROWSE);
        strOpenTitle = opener.Title();
        strOpenText = opener.OkText();
        opener.Cancel();
    }
    {
        FileChooser saver(app, IDC_OUTPUT_BROWSE);
        EXPECT_NE(saver.Title(), strOpenTitle);
        EXPECT_NE(saver.OkText(), strOpenText);
        EXPECT_EQ(saver.Folder(), m_folder.Path());
        EXPECT_EQ(saver.Name(), "part1_cvted.ncd");
        EXPECT_EQ(saver.FileTypes(), kDataTypes);
        EXPECT_EQ(saver.SelectedFileType(), 0);
        EXPECT_FALSE(saver.ShowsReadOnlyBox());
        // A new name without extension gets the data files' one, in the folder shown.
        saver.Choose("out");
    }
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "out.ncd");
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "part1.ncd");
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(m_script, m_input, m_folder / "out.ncd"));

    // An existing file is taken as it is; only Run asks about replacing it.
    FileChooser(app, IDC_OUTPUT_BROWSE).Choose("other.ncd");
    EXPECT_FALSE(app.HasOtherWindow());
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "other.ncd");
    EXPECT_EQ(PressRun(app, {IDYES}), Texts{other + " は既に存在します。\n上書きしますか?"});
    EXPECT_EQ(Recorded(), RecordedRun(m_script, m_input, m_folder / "out.ncd") + RecordedRun(m_script, m_input, other));
    app.Close();
}

TEST_F(ChooserTest, ScriptChooserOpensAtTheSelectedScriptWithPerlScripts)
{
    const std::string one = m_folder.Write("scripts\\one.pl", "1;\n");
    const std::string two = m_folder.Write("scripts\\two.pl", "1;\n");
    SetText("ScriptFile0", one);
    AppDriver app(RecordingPerl({m_input}));
    {
        FileChooser chooser(app, IDC_SCRIPT_BROWSE);
        EXPECT_EQ(chooser.Folder(), m_folder / "scripts");
        EXPECT_EQ(chooser.Name(), "one.pl");
        EXPECT_EQ(chooser.FileTypes(), kScriptTypes);
        EXPECT_EQ(chooser.SelectedFileType(), 0);
        EXPECT_FALSE(chooser.ShowsReadOnlyBox());
        chooser.Choose("two.pl");
    }
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "two.pl");
    // Chosen is not yet run: the list is as stored.
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{"one.pl"});
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(two, m_input, m_folder / "part1_cvted.ncd"));
    app.Close();
}

TEST_F(ChooserTest, CancelledChoosersChangeNothingNotEvenUnpulledEdits)
{
    SetDword("OptOnOff", 0);
    AppDriver app(RecordingPerl({m_input}));
    // Edits no handler has read yet: neither the suffix field nor a check box has a handler.
    app.Type(IDC_SUFFIX, "_typed");
    app.Click(IDC_COMPLETE_DIALOG);
    const DialogSnapshot before = TakeSnapshot(app);
    ASSERT_EQ(before.at(IDC_COMPLETE_DIALOG), "checked");

    for (int nBrowseID : {IDC_SCRIPT_BROWSE, IDC_INPUT_BROWSE, IDC_OUTPUT_BROWSE}) {
        FileChooser(app, nBrowseID).Cancel();
        EXPECT_EQ(TakeSnapshot(app), before) << "after cancelling the chooser of " << nBrowseID;
    }
    // The paths are the ones the program started with, and the toggle is still the user's.
    EXPECT_EQ(PressRun(app), Texts{"完了しました。"});
    EXPECT_EQ(Recorded(), RecordedRun(m_script, m_input, m_folder / "part1_cvted.ncd"));
    app.Close();
}

}  // namespace
