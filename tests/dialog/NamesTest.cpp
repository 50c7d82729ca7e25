// Names that come in from outside, at every way in: what code page 932 carries
// is taken as always; a name it cannot carry is refused by its real name, and
// the look-alike the ANSI calls make of it, a file beside it, is neither taken,
// proposed nor run.
#include "Names.h"
#include "RunFixture.h"

namespace {

const wchar_t kRefusal[] = L"\nﾌｧｲﾙ名に、ｼﾌﾄJIS で表せない文字が含まれています。\nﾌｧｲﾙ名を変更してください。";

class NamesTest : public RunFixture {
protected:
    NamesTest()
    {
        for (const Name& row : kNames) {
            std::filesystem::create_directories(std::filesystem::path(Path(row)).parent_path());
            std::ofstream(std::filesystem::path(Path(row))) << "N10\n";
            if (row.lookalike) m_folder.Write(row.lookalike, "N10\n");
        }
        SetText("ScriptFile0", m_script);
    }
    std::wstring Path(const Name& row) const { return Wide(m_folder.Path()) + L"\\" + row.name; }

    // After a name came in for the field nFieldID: taken, the field shows it; refused, a message owned
    // by the dialog names it, and when the dialog's process shows it the focus then goes to the field.
    void Expect(AppDriver& app, const Name& row, int nFieldID) const
    {
        if (row.carried) {
            app.Finish();
            EXPECT_TRUE(WaitUntil([&] { return app.Text(nFieldID) == row.shown; })) << app.Text(nFieldID);
            return;
        }
        HWND hBox = app.WaitForWindow("#32770", app.Dialog());
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hBox, &dwProcessId);
        EXPECT_EQ(WideWindowText(::GetDlgItem(hBox, 0xFFFF)), Path(row) + kRefusal);
        app.Answer(hBox, IDOK);
        app.Finish();
        if (dwProcessId == app.ProcessId()) {
            EXPECT_TRUE(WaitUntil([&] { return app.FocusedId() == nFieldID; }));
        }
    }
    // Every name put in one way; a refused one changes nothing, but a typed one stays in its field.
    void PutEach(AppDriver& app, int nFieldID, const std::function<void(const std::wstring&)>& put, bool bTyped = false) const
    {
        for (const Name& row : kNames) {
            SCOPED_TRACE(testing::PrintToString(row.name));
            const Texts before = Shown(app);
            put(Path(row));
            Expect(app, row, nFieldID);
            if (row.carried) continue;
            if (bTyped) {
                EXPECT_EQ(WideWindowText(app.Control(nFieldID)), Path(row));
            } else {
                EXPECT_EQ(Shown(app), before);
            }
        }
    }
    void PickEach(int nBrowseID, int nFieldID) const
    {
        AppDriver app;
        PutEach(app, nFieldID, [&](const std::wstring& path) {
            Chooser chooser(app, nBrowseID);
            chooser.Press(path, IDOK);
            WaitUntil([&] { return !::IsWindow(chooser.hWnd); });
        });
        app.Close();
    }
};

TEST_F(NamesTest, FirstLaunch)
{
    for (const Name& row : kNames) {
        AppDriver app(LaunchOptions{}, Path(row));
        Expect(app, row, IDC_INPUT_NAME);
        EXPECT_EQ(app.Text(IDC_OUTPUT_NAME).empty(), !row.carried);  // proposed only from a name taken
        app.Close();
    }
}

TEST_F(NamesTest, SecondLaunchOrDropOnALabel)
{
    AppDriver app(RecordingPerl({m_input}));
    PutEach(app, IDC_INPUT_NAME, [](const std::wstring& path) { ::CloseHandle(StartCalvendrake(LaunchOptions{}, path)); });
    PutEach(app, IDC_INPUT_NAME, [&](const std::wstring& path) { DropFiles(app.Control(IDC_INPUT_PATH), {path}); });
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RunLine(m_script, m_folder / "～1.ncd", m_folder / "～1_cvted.ncd"));
    app.Close();
}

TEST_F(NamesTest, PickedInTheScriptChooser) { PickEach(IDC_SCRIPT_BROWSE, IDC_SCRIPT_NAME); }
TEST_F(NamesTest, PickedInTheInputChooser) { PickEach(IDC_INPUT_BROWSE, IDC_INPUT_NAME); }
TEST_F(NamesTest, PickedInTheOutputChooser) { PickEach(IDC_OUTPUT_BROWSE, IDC_OUTPUT_NAME); }

TEST_F(NamesTest, TypedIntoAField)
{
    AppDriver app(RecordingPerl({m_input}));
    HWND hInput = app.Control(IDC_INPUT_NAME);
    // Typed, a name is checked as the focus leaves.
    PutEach(app, IDC_INPUT_NAME, [&](const std::wstring& path) {
        app.Focus(IDC_INPUT_NAME);
        ::SendMessageW(hInput, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        ::PostMessageA(app.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_SETTINGS)), TRUE);
    }, true);
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RunLine(m_script, m_folder / "～1.ncd", m_folder / "part1_cvted.ncd"));
    // Set while the focus is elsewhere, Run checks it; filling another field keeps it.
    ::SendMessageW(hInput, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Path(kNames[0]).c_str()));
    app.ClickAsync(IDC_RUN);
    Expect(app, kNames[0], IDC_INPUT_NAME);
    DropFiles(app.Control(IDC_SCRIPT_PATH), {Wide(m_script)});
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_SCRIPT_NAME) == "conv.pl"; }));
    EXPECT_EQ(WideWindowText(hInput), Path(kNames[0]));
    app.Close();
}

TEST_F(NamesTest, StoredAsARecentScript)
{
    Texts listed;
    for (size_t i = 0; i < std::size(kNames); ++i) {
        const std::wstring value = Path(kNames[i]);
        ::RegSetKeyValueW(HKEY_CURRENT_USER, Wide(kSettingsKey).c_str(), (L"ScriptFile" + std::to_wstring(i)).c_str(), REG_SZ,
                          value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        if (kNames[i].carried) listed.push_back(kNames[i].shown);
    }
    EXPECT_EQ(AppDriver().ComboItems(IDC_SCRIPT_NAME), listed);
}

}  // namespace
