// What the user typed or toggled and no handler has read yet survives the
// browse buttons and drops: each reads the dialog before it shows a new path.
#include "FileChooser.h"
#include "RecordedRun.h"
#include "RunFixture.h"

namespace {

class PathFieldPull : public RunFixture {
protected:
    // Options panel open, one stored script and a started input.
    PathFieldPull() : m_script(m_folder.Write("conv.pl", "1;\n")), m_input(m_folder.Write("part1.ncd", "N10\n"))
    {
        SetDword("OptOnOff", 0);
        SetText("ScriptFile0", m_script);
    }

    const std::string m_script;
    const std::string m_input;
};

TEST_F(PathFieldPull, ChoosingAnOutputKeepsAToggledCheckBox)
{
    AppDriver app(RecordingPerl({m_input}));
    ASSERT_FALSE(app.IsChecked(IDC_OPEN_CVTED_FILE));
    app.Click(IDC_OPEN_CVTED_FILE);
    ASSERT_TRUE(app.IsChecked(IDC_OPEN_CVTED_FILE));

    FileChooser(app, IDC_OUTPUT_BROWSE).Choose("out.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "out.ncd");
    EXPECT_TRUE(app.IsChecked(IDC_OPEN_CVTED_FILE));
    app.Close();
}

TEST_F(PathFieldPull, BrowsingAnInputDerivesTheOutputWithTheTypedSuffix)
{
    const std::string part2 = m_folder.Write("part2.ncd", "N20\n");
    AppDriver app(RecordingPerl({m_input}));
    // Typed with the focus in the field, as a user would: the suffix field has no
    // handler of its own, so leaving it for a button or a drop reads nothing.
    app.Type(IDC_SUFFIX, "_new");

    FileChooser(app, IDC_INPUT_BROWSE).Choose("part2.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "part2_new.ncd");
    EXPECT_EQ(app.Text(IDC_SUFFIX), "_new");
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(m_script, part2, m_folder / "part2_new.ncd"));
    app.Close();
}

}  // namespace
