// The script list as the start of the script chooser and as a choice of its
// own: each item stands for its own entry, whatever its name shows.
#include "FileChooser.h"
#include "RecordedRun.h"
#include "RunFixture.h"

namespace {

class PathFieldScriptList : public RunFixture {
protected:
    PathFieldScriptList() : m_input(m_folder.Write("part1.ncd", "N10\n")), m_output(m_folder / "part1_cvted.ncd") {}

    // Stores the scripts most recent first, as the list shows them.
    static void StoreScripts(const Texts& paths)
    {
        for (size_t i = 0; i < paths.size(); ++i) SetText(("ScriptFile" + std::to_string(i)).c_str(), paths[i]);
    }

    // Selects an item as the drop-down list does: the selection, then its notice.
    // -1 leaves no item selected.
    static void SelectItem(AppDriver& app, int nIndex)
    {
        HWND hCombo = app.Control(IDC_SCRIPT_NAME);
        ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        app.Send(WM_COMMAND, MAKEWPARAM(IDC_SCRIPT_NAME, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    }

    const std::string m_input;
    const std::string m_output;
};

TEST_F(PathFieldScriptList, BrowseStartsFromTheSelectedItemAlone)
{
    const std::string three = m_folder.Write("b\\three.pl", "1;\n");
    const std::string one = m_folder.Write("a\\one.pl", "1;\n");
    StoreScripts({three, one});
    AppDriver app;
    HWND hCombo = app.Control(IDC_SCRIPT_NAME);

    // Selected without its notice: the script path still holds three.pl.
    ::SendMessageA(hCombo, CB_SETCURSEL, 1, 0);
    {
        FileChooser chooser(app, IDC_SCRIPT_BROWSE);
        EXPECT_EQ(chooser.Folder(), m_folder / "a");
        EXPECT_EQ(chooser.Name(), "one.pl");
        chooser.Cancel();
    }
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    {
        FileChooser chooser(app, IDC_SCRIPT_BROWSE);
        EXPECT_EQ(chooser.Name(), "");
        chooser.Cancel();
    }
    app.Close();
}

TEST_F(PathFieldScriptList, ItemsOfTheSameNameStandForTheirOwnScripts)
{
    const std::string a = m_folder.Write("a\\conv.pl", "1;\n");
    const std::string b = m_folder.Write("b\\conv.pl", "1;\n");
    StoreScripts({a, b});
    AppDriver app(RecordingPerl({m_input}));
    ASSERT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{"conv.pl", "conv.pl"}));

    SelectItem(app, 1);
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "conv.pl");
    EXPECT_EQ(PressRun(app), Texts{});
    // The run put b first: the second item is a now.
    SelectItem(app, 1);
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(b, m_input, m_output) + RecordedRun(a, m_input, m_output));
    app.Close();
}

TEST_F(PathFieldScriptList, NoSelectionTakesTheLeastRecentScript)
{
    const std::string recent = m_folder.Write("recent.pl", "1;\n");
    const std::string least = m_folder.Write("least.pl", "1;\n");
    StoreScripts({recent, m_folder.Write("middle.pl", "1;\n"), least});
    AppDriver app(RecordingPerl({m_input}));

    SelectItem(app, -1);
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "least.pl");
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RecordedRun(least, m_input, m_output));
    app.Close();
}

TEST_F(PathFieldScriptList, NoSelectionInAnEmptyListEmptiesTheScript)
{
    const std::string typed = m_folder.Write("typed.pl", "1;\n");
    AppDriver app;
    app.Type(IDC_SCRIPT_NAME, typed);
    app.Focus(IDC_INPUT_NAME);
    ASSERT_EQ(app.Text(IDC_SCRIPT_NAME), "typed.pl");

    SelectItem(app, -1);
    EXPECT_EQ(app.Text(IDC_SCRIPT_PATH), "");
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "");
    EXPECT_EQ(PressRun(app), Texts{"ｽｸﾘﾌﾟﾄﾌｧｲﾙ を入力してください。"});
    app.Close();
}

}  // namespace
