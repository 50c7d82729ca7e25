// The recent scripts after runs, as the script list shows them and as they
// are stored at exit: promotion, the case-blind match, the bound of ten.
#include "RunFixture.h"

#include <memory>

namespace {

class RecentScriptsTest : public RunFixture {
protected:
    // Runs are recorded, not carried out, so every run succeeds and no output appears.
    void Start() { m_app = std::make_unique<AppDriver>(RecordingPerl({m_folder.Write("part1.ncd", "n10\n")})); }

    void RunScript(const std::string& path)
    {
        m_app->Type(IDC_SCRIPT_NAME, path);
        EXPECT_EQ(PressRun(*m_app), Texts{}) << path;
    }

    Texts Listed() const { return m_app->ComboItems(IDC_SCRIPT_NAME); }

    // ScriptFile0, ScriptFile1, … as stored, up to the first gap.
    static Texts Stored()
    {
        Texts scripts;
        std::string path;
        while (GetText(("ScriptFile" + std::to_string(scripts.size())).c_str(), path)) scripts.push_back(path);
        return scripts;
    }

    // nCount existing scripts stored most recent first, then a run of a new one:
    // the least recent goes, whatever the count the list started with.
    void RunNewScriptAfterStoring(int nCount)
    {
        Texts paths, names;
        for (int i = 0; i < nCount; ++i) {
            names.push_back("s" + std::to_string(i) + ".pl");
            paths.push_back(m_folder.Write(names.back(), "1;\n"));
            SetText(("ScriptFile" + std::to_string(i)).c_str(), paths.back());
        }
        const std::string newScript = m_folder.Write("new.pl", "1;\n");
        Start();
        EXPECT_EQ(Listed(), names);

        RunScript(newScript);
        paths.pop_back();
        paths.insert(paths.begin(), newScript);
        names.pop_back();
        names.insert(names.begin(), "new.pl");
        EXPECT_EQ(Listed(), names);
        m_app->Close();
        EXPECT_EQ(Stored(), paths);
    }

    std::unique_ptr<AppDriver> m_app;
};

TEST_F(RecentScriptsTest, ARunMovesItsScriptToTheHeadSpelledAsRun)
{
    const std::string a = m_folder.Write("s\\a.pl", "1;\n");
    const std::string b = m_folder.Write("s\\b.pl", "1;\n");
    const std::string upperA = m_folder.Path() + "\\S\\A.PL";
    SetText("ScriptFile0", b);
    SetText("ScriptFile1", a);
    Start();
    EXPECT_EQ(Listed(), (Texts{"b.pl", "a.pl"}));

    // The same file in other letters takes the old entry's place, in the new spelling.
    RunScript(upperA);
    EXPECT_EQ(Listed(), (Texts{"A.PL", "b.pl"}));

    RunScript(b);
    EXPECT_EQ(Listed(), (Texts{"b.pl", "A.PL"}));
    RunScript(b);
    EXPECT_EQ(Listed(), (Texts{"b.pl", "A.PL"}));

    m_app->Close();
    EXPECT_EQ(Stored(), (Texts{b, upperA}));
}

TEST_F(RecentScriptsTest, ANewScriptPushesOutTheLeastRecentOfTen) { RunNewScriptAfterStoring(10); }

TEST_F(RecentScriptsTest, TwelveStoredScriptsStayTwelve) { RunNewScriptAfterStoring(12); }

}  // namespace
