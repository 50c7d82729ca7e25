// Names typed into the three name fields become full paths when the focus
// leaves the field: in the previous folder, whole when they carry a folder,
// relative when typed relative, and an emptied name keeps only the folder.
#include "RecordedRun.h"
#include "RunFixture.h"

namespace {

class PathFieldTyped : public RunFixture {
protected:
    // Run checks the script first: one that exists lets it get to the input.
    PathFieldTyped() : m_script(m_folder.Write("conv.pl", "1;\n")) { SetText("ScriptFile0", m_script); }

    // Types into a field and leaves it for another, as Tab would.
    static void TypeAndLeave(AppDriver& app, int nID, const std::string& text, int nNextID)
    {
        app.Type(nID, text);
        app.Focus(nNextID);
    }

    const std::string m_script;
};

TEST_F(PathFieldTyped, BareNamesStayInTheirFieldsFolderAndDeriveNothing)
{
    const std::string input = m_folder.Write("a.ncd", "N10\n");
    const std::string typedInput = m_folder.Write("b.ncd", "N20\n");
    const std::string typedScript = m_folder.Write("other.pl", "1;\n");
    AppDriver app(RecordingPerl({input}));

    TypeAndLeave(app, IDC_INPUT_NAME, "b.ncd", IDC_SCRIPT_NAME);
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "b.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "a_cvted.ncd");
    TypeAndLeave(app, IDC_SCRIPT_NAME, "other.pl", IDC_OUTPUT_NAME);
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "other.pl");

    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(typedScript, typedInput, m_folder / "a_cvted.ncd"));
    app.Close();
}

TEST_F(PathFieldTyped, ANameWithADriveIsTakenWhole)
{
    AppDriver app(Recording({"C:\\work\\a.ncd"}));
    ASSERT_EQ(app.Text(IDC_INPUT_PATH), "C:\\work\\");

    TypeAndLeave(app, IDC_OUTPUT_NAME, "D:\\x\\c.ncd", IDC_INPUT_NAME);
    EXPECT_EQ(app.Text(IDC_OUTPUT_PATH), "D:\\x\\");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "c.ncd");
    EXPECT_EQ(app.Text(IDC_INPUT_PATH), "C:\\work\\");
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "a.ncd");

    TypeAndLeave(app, IDC_INPUT_NAME, "C:\\tmp\\x.ncd", IDC_OUTPUT_NAME);
    EXPECT_EQ(app.Text(IDC_INPUT_PATH), "C:\\tmp\\");
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "x.ncd");
    EXPECT_EQ(PressRun(app), Texts{"C:\\tmp\\x.ncd は存在しません。"});
    app.Close();
}

TEST_F(PathFieldTyped, AnEmptiedNameKeepsTheFolderAndRunAsksForTheFile)
{
    AppDriver app(Recording({"C:\\work\\a.ncd"}));
    TypeAndLeave(app, IDC_INPUT_NAME, "", IDC_OUTPUT_NAME);
    EXPECT_EQ(app.Text(IDC_INPUT_PATH), "C:\\work\\");
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "a_cvted.ncd");
    EXPECT_EQ(PressRun(app), Texts{"入力ﾌｧｲﾙ を入力してください。"});
    app.Close();
}

TEST_F(PathFieldTyped, ARelativePathStaysRelative)
{
    AppDriver app(Recording({"C:\\work\\a.ncd"}));
    TypeAndLeave(app, IDC_INPUT_NAME, "sub\\b.ncd", IDC_OUTPUT_NAME);
    EXPECT_EQ(app.Text(IDC_INPUT_PATH), "sub\\");
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "b.ncd");
    EXPECT_EQ(PressRun(app), Texts{"sub\\b.ncd は存在しません。"});
    app.Close();
}

}  // namespace
