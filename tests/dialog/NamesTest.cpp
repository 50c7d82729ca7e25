// Names that come in from outside, at every way in: what code page 932 carries
// is taken as always; a name it cannot carry is refused by its real name, and
// the look-alike the ANSI calls make of it, a file beside it, is neither taken,
// proposed nor run.
#include "RunFixture.h"

namespace {

const wchar_t kRefusal[] = L"\nﾌｧｲﾙ名に、ｼﾌﾄJIS で表せない文字が含まれています。\nﾌｧｲﾙ名を変更してください。";

// A name on disk, whether code page 932 carries it, and its look-alike where a file can have that name.
struct Name { std::wstring name; bool bCarried; std::string lookalike; };
const Name kNames[] = {
    {L"Müller.ncd", false, "Muller.ncd"},
    {L"a¥b.ncd", false, "a\\b.ncd"},
    {L"100¢.ncd", false, "100￠.ncd"},
    {L"加工〜1.ncd", false, ""},  // 加工?1.ncd
    {L"𠮷野.ncd", false, ""},      // ??野.ncd
    {L"表示\\ソフト.ncd", true, ""},
    {L"髙橋.ncd", true, ""},
    {L"ﾃｽﾄ.ncd", true, ""},
    {L"～1.ncd", true, ""},
};

std::string Ansi(const std::wstring& text)
{
    std::string ansi(text.size() * 2, '\0');
    ansi.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0],
                                                           static_cast<int>(ansi.size()), nullptr, nullptr)));
    return ansi;
}

// The first message box of a process but hWndNot.
HWND WaitForBoxOf(DWORD dwProcessId, HWND hWndNot = nullptr)
{
    HWND hBox = nullptr;
    WaitUntil([&] {
        for (hBox = ::FindWindowExA(nullptr, nullptr, "#32770", nullptr); hBox; hBox = ::FindWindowExA(nullptr, hBox, "#32770", nullptr)) {
            DWORD dwOwner = 0;
            ::GetWindowThreadProcessId(hBox, &dwOwner);
            if (dwOwner == dwProcessId && hBox != hWndNot && ::IsWindowVisible(hBox)) return true;
        }
        return false;
    });
    return hBox;
}

class NamesTest : public RunFixture {
protected:
    NamesTest()
    {
        for (const Name& row : kNames) {
            std::filesystem::create_directories(std::filesystem::path(Path(row)).parent_path());
            std::ofstream(std::filesystem::path(Path(row))) << "N10\n";
            if (!row.lookalike.empty()) m_folder.Write(row.lookalike, "N10\n");
        }
        SetText("ScriptFile0", m_script);
    }
    std::wstring Path(const Name& row) const { return Wide(m_folder.Path()) + L"\\" + row.name; }
    std::string AnsiPath(const Name& row) const { return m_folder / Ansi(row.name); }
    static std::string Shown(const Name& row) { return Ansi(row.name.substr(row.name.rfind(L'\\') + 1)); }

    // The message of a refused name: its real name, then why.
    void Refused(HWND hBox, const Name& row) const
    {
        ASSERT_NE(hBox, nullptr);
        EXPECT_EQ(WideWindowText(::GetDlgItem(hBox, 0xFFFF)), Path(row) + kRefusal);
        ::PostMessageA(::GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
        WaitUntil([hBox] { return !::IsWindow(hBox); });
    }
    // After a name came into the field nFieldID: taken, the field shows it; refused, its message,
    // then the focus on the field and, unless before is empty, the window as it was.
    void Expect(AppDriver& app, const Name& row, int nFieldID, const Texts& before) const
    {
        if (row.bCarried) {
            app.Finish();
            EXPECT_TRUE(WaitUntil([&] { return app.Text(nFieldID) == Shown(row); })) << app.Text(nFieldID);
            return;
        }
        Refused(WaitForBoxOf(app.ProcessId(), app.Dialog()), row);
        app.Finish();
        EXPECT_TRUE(WaitUntil([&] { return app.FocusedId() == nFieldID; }));
        if (!before.empty()) {
            EXPECT_EQ(RunFixture::Shown(app), before);
        }
    }
};

TEST_F(NamesTest, FirstLaunch)
{
    for (const Name& row : kNames) {
        SCOPED_TRACE(Ansi(row.name));
        AppDriver app(LaunchOptions{}, Path(row));
        Expect(app, row, IDC_INPUT_NAME, {});
        if (!row.bCarried) {
            EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "");
        }
        app.Close();
    }
}

TEST_F(NamesTest, SecondLaunch)
{
    AppDriver app(RecordingPerl({m_input}));
    for (const Name& row : kNames) {
        SCOPED_TRACE(Ansi(row.name));
        const Texts before = RunFixture::Shown(app);
        HANDLE hLaunch = StartCalvendrake(LaunchOptions{}, Path(row));
        if (!row.bCarried) Refused(WaitForBoxOf(::GetProcessId(hLaunch)), row);
        EXPECT_EQ(WaitForExit(hLaunch), 0u);
        if (row.bCarried) {
            EXPECT_EQ(app.Text(IDC_INPUT_NAME), Shown(row));
        } else {
            EXPECT_EQ(RunFixture::Shown(app), before);
        }
    }
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RunLine(m_script, AnsiPath(kNames[8]), m_folder / "～1_cvted.ncd"));
    app.Close();
}

TEST_F(NamesTest, DroppedOnALabel)
{
    AppDriver app(RecordingPerl({m_input}));
    for (const Name& row : kNames) {
        SCOPED_TRACE(Ansi(row.name));
        const Texts before = RunFixture::Shown(app);
        DropFiles(app.Control(IDC_INPUT_PATH), std::vector<std::wstring>{Path(row)});
        Expect(app, row, IDC_INPUT_NAME, before);
    }
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RunLine(m_script, AnsiPath(kNames[8]), m_folder / "～1_cvted.ncd"));
    app.Close();
}

TEST_F(NamesTest, PickedInEachChooser)
{
    AppDriver app(RecordingPerl({m_input}));
    const struct { int nBrowseID, nFieldID; } choosers[] = {
        {IDC_OUTPUT_BROWSE, IDC_OUTPUT_NAME}, {IDC_INPUT_BROWSE, IDC_INPUT_NAME}, {IDC_SCRIPT_BROWSE, IDC_SCRIPT_NAME}};
    for (const auto& chooser : choosers) {
        for (const Name& row : kNames) {
            SCOPED_TRACE(Ansi(row.name) + " " + std::to_string(chooser.nBrowseID));
            app.Focus(IDC_SETTINGS);
            const Texts before = RunFixture::Shown(app);
            Chooser dialog(app, chooser.nBrowseID);
            dialog.Press(Path(row), IDOK);
            WaitUntil([&] { return !::IsWindow(dialog.hWnd); });
            Expect(app, row, chooser.nFieldID, before);
        }
    }
    const std::string last = AnsiPath(kNames[8]);
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), RunLine(last, last, m_folder / "～1_cvted.ncd"));
    app.Close();
}

TEST_F(NamesTest, TypedIntoAField)
{
    AppDriver app(RecordingPerl({m_input}));
    HWND hField = app.Control(IDC_INPUT_NAME);
    auto type = [&](const Name& row) { ::SendMessageW(hField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Path(row).c_str())); };
    // Set while the focus is elsewhere, Run checks the name.
    app.Focus(IDC_SETTINGS);
    type(kNames[0]);
    app.ClickAsync(IDC_RUN);
    Expect(app, kNames[0], IDC_INPUT_NAME, {});
    // Another field filled meanwhile puts no look-alike into this one.
    const std::string script = m_folder.Write("conv2.pl", "1;\n");
    DropFiles(app.Control(IDC_SCRIPT_PATH), Texts{script});
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_SCRIPT_NAME) == "conv2.pl"; }));
    EXPECT_EQ(WideWindowText(hField), Path(kNames[0]));
    // Typed, the name is checked as the focus leaves; a refused one stays in the field as typed.
    std::string runs;
    for (const Name& row : kNames) {
        SCOPED_TRACE(Ansi(row.name));
        const Texts before = RunFixture::Shown(app);
        type(row);
        ::PostMessageA(app.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_SETTINGS)), TRUE);
        Expect(app, row, IDC_INPUT_NAME, {});
        if (!row.bCarried) {
            EXPECT_EQ(WideWindowText(hField), Path(row));
            EXPECT_EQ(app.Text(IDC_INPUT_PATH), before[2]);
            continue;
        }
        EXPECT_EQ(PressRun(app), Texts{});
        runs += RunLine(script, AnsiPath(row), m_folder / "part1_cvted.ncd");
        app.Focus(IDC_INPUT_NAME);
    }
    EXPECT_EQ(Recorded(), runs);
    app.Close();
}

TEST_F(NamesTest, StoredAsARecentScript)
{
    Texts listed;
    for (size_t i = 0; i < std::size(kNames); ++i) {
        const std::wstring value = Path(kNames[i]);
        ::RegSetKeyValueW(HKEY_CURRENT_USER, Wide(kSettingsKey).c_str(), (L"ScriptFile" + std::to_wstring(i)).c_str(), REG_SZ,
                          value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        if (kNames[i].bCarried) listed.push_back(Shown(kNames[i]));
    }
    AppDriver app;
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), listed);
    app.Close();
}

}  // namespace
