// Files dropped on the three folder labels fill their fields; a drop notice
// naming no label changes nothing and puts nothing back on screen.
#include "DialogSnapshot.h"
#include "DropFiles.h"
#include "RecordedRun.h"
#include "RunFixture.h"

namespace {

class PathFieldDrop : public RunFixture {
protected:
    PathFieldDrop() : m_script(m_folder.Write("conv.pl", "1;\n")), m_input(m_folder.Write("part1.ncd", "N10\n"))
    {
        SetText("ScriptFile0", m_script);
    }

    // Drops one path on a label and waits until the name field shows the name expected.
    static void DropAndWait(AppDriver& app, int nLabelID, const std::string& path, int nNameID,
                            const std::string& name)
    {
        DropFiles(app.Control(nLabelID), {path});
        EXPECT_TRUE(WaitUntil([&] { return app.Text(nNameID) == name; })) << path << " shows " << app.Text(nNameID);
    }

    const std::string m_script;
    const std::string m_input;
};

TEST_F(PathFieldDrop, DroppedPathsFillTheirFieldsUnchecked)
{
    const std::string part2 = m_folder.Write("part2.ncd", "N20\n");
    const std::string folder = m_folder / "tools";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string other = m_folder.Write("other.pl", "1;\n");
    AppDriver app(RecordingPerl({m_input}));

    DropAndWait(app, IDC_INPUT_PATH, part2, IDC_INPUT_NAME, "part2.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "part2_cvted.ncd");
    DropAndWait(app, IDC_OUTPUT_PATH, m_folder / "mine.ncd", IDC_OUTPUT_NAME, "mine.ncd");
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "part2.ncd");

    // A folder is taken as the script here, and refused by Run; the list stays as stored.
    DropAndWait(app, IDC_SCRIPT_PATH, folder, IDC_SCRIPT_NAME, "tools");
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{"conv.pl"});
    EXPECT_EQ(PressRun(app), Texts{folder + " は不正なファイルです。"});

    DropAndWait(app, IDC_SCRIPT_PATH, other, IDC_SCRIPT_NAME, "other.pl");
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(other, part2, m_folder / "mine.ncd"));
    app.Close();
}

TEST_F(PathFieldDrop, ANoticeForNoLabelChangesAndPushesNothing)
{
    AppDriver app(RecordingPerl({m_input}));
    // Typed, and neither pulled nor resolved: a push would put the old texts back.
    ::SendMessageA(app.Control(IDC_SUFFIX), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("_typed"));
    ::SendMessageA(app.Control(IDC_INPUT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed.ncd"));
    const DialogSnapshot before = TakeSnapshot(app);

    EXPECT_EQ(::SendMessageA(app.Dialog(), WM_PATH_DROPPED, 1234, 0), 0);
    EXPECT_EQ(TakeSnapshot(app), before);
    app.Close();
}

}  // namespace
