// Names that come in from outside, at every way in and at the code page the
// program runs at (CodePageUnderTest): every name is taken and shown as itself,
// never as the look-alike the ANSI calls make of it, a file beside it. Perl, an
// ANSI program, receives each name as it is where the code page carries it, else
// a short name of the same file that it carries; an output whose own name the code
// page lacks is refused by its real name before anything runs.
#include "Names.h"
#include "RunFixture.h"

#include <shellapi.h>

namespace {

// After the real name perl cannot be given: at code page 932, and at another.
const wchar_t kRefusal932[] = L"\nﾌｧｲﾙ名に、ｼﾌﾄJIS で表せない文字が含まれています。\nﾌｧｲﾙ名を変更してください。";
const wchar_t kRefusalOther[] = L"\nﾌｧｲﾙ名に、この Windows の文字ｺｰﾄﾞで表せない文字が含まれています。\nﾌｧｲﾙ名を変更してください。";

std::wstring Leaf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }
std::wstring Folder(const std::wstring& path) { return path.substr(0, path.rfind(L'\\') + 1); }
std::wstring Proposed(const std::wstring& input, const std::wstring& suffix = L"_cvted") { return input.substr(0, input.rfind(L'.')) + suffix + L".ncd"; }
// The end of a folder label, which shortens a long folder at its front: the folder's own name.
std::wstring LabelEnd(const std::wstring& path)
{
    const std::wstring folder = Folder(path);
    return folder.substr(folder.rfind(L'\\', folder.size() - 2));
}
bool EndsWith(const std::wstring& text, const std::wstring& end) { return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0; }

// The long form of a path whose folder exists.
std::wstring LongName(const std::wstring& path)
{
    wchar_t szLong[MAX_PATH * 2] = L"";
    if (::GetLongPathNameW(path.c_str(), szLong, ARRAYSIZE(szLong))) return szLong;
    ::GetLongPathNameW(Folder(path).c_str(), szLong, ARRAYSIZE(szLong));
    return szLong + Leaf(path);
}

class NamesTest : public RunFixture {
protected:
    NamesTest()
    {
        for (const Name& row : kNames) {
            m_folder.Write(row.name, "N10\n");
            if (row.lookalike) m_folder.Write(FromBytes(932, row.lookalike), "N10\n");
        }
        SetText(L"ScriptFile0", m_script);
    }
    std::wstring Path(const Name& row) const { return m_folder / row.name; }

    // After a name came in for the field nFieldID: the field shows it, with no message; an input
    // not typed has the output proposed beside it.
    static void ExpectTaken(AppDriver& app, const std::wstring& path, int nFieldID, bool bProposes = false)
    {
        HWND hBox = nullptr;
        WaitUntil([&] { return app.Text(nFieldID) == Leaf(path) || (hBox = app.FindWindowOf(L"#32770", app.Dialog())); });
        if (hBox) {
            ADD_FAILURE() << "refused: " << testing::PrintToString(app.MessageText(hBox));
            app.Answer(hBox, IDOK);
        }
        app.Finish();
        EXPECT_EQ(app.Text(nFieldID), Leaf(path));
        if (bProposes) ExpectProposed(app, path);
    }
    // The output proposed from an input: its name, in the input's folder.
    static void ExpectProposed(AppDriver& app, const std::wstring& input, const std::wstring& suffix = L"_cvted")
    {
        EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), Leaf(Proposed(input, suffix)));
        EXPECT_TRUE(EndsWith(app.Text(IDC_OUTPUT_PATH), LabelEnd(input))) << testing::PrintToString(app.Text(IDC_OUTPUT_PATH));
    }
    // Every name put in one way and taken.
    void PutEach(AppDriver& app, int nFieldID, const std::function<void(const std::wstring&)>& put, bool bProposes = false) const
    {
        for (const Name& row : kNames) {
            SCOPED_TRACE(testing::PrintToString(row.name));
            put(Path(row));
            ExpectTaken(app, Path(row), nFieldID, bProposes);
        }
    }
    void PickEach(int nBrowseID, int nFieldID) const
    {
        AppDriver app;
        PutEach(app, nFieldID, [&](const std::wstring& path) {
            Chooser chooser(app, nBrowseID);
            chooser.Press(path, IDOK);
            WaitUntil([&] { return !::IsWindow(chooser.hWnd); });
        }, nBrowseID == IDC_INPUT_BROWSE);
        app.Close();
    }

    // The arguments perl received in the one start recorded after before; none when it was not started.
    Texts RunSince(const std::wstring& before) const
    {
        std::wstring line = Recorded().substr(before.size());
        if (!line.empty()) line.pop_back();  // its line break
        int nArgs = 0;
        LPWSTR* ppszArgs = ::CommandLineToArgvW(line.c_str(), &nArgs);
        Texts args(ppszArgs + 1, ppszArgs + nArgs);
        ::LocalFree(ppszArgs);
        return args;
    }
    // How perl received a path: as it is where the code page carries it, else by a name it carries of the same file.
    static void ExpectReceived(const std::wstring& received, const std::wstring& path)
    {
        if (Carries(CodePageUnderTest(), path)) {
            EXPECT_EQ(received, path);
        } else {
            EXPECT_TRUE(Carries(CodePageUnderTest(), received)) << testing::PrintToString(received);
            EXPECT_EQ(LongName(received), path);
        }
    }
    // Run with the input and the output the dialog shows: run, or refused by the output's real name.
    void ExpectRun(AppDriver& app, const std::wstring& input, const std::wstring& output) const
    {
        const std::wstring before = Recorded();
        const Texts messages = PressRun(app);
        if (Carries(CodePageUnderTest(), Leaf(output))) {
            EXPECT_EQ(messages, Texts{});
            const Texts args = RunSince(before);
            ASSERT_EQ(args.size(), 3u);
            ExpectReceived(args[0], m_script);
            ExpectReceived(args[1], input);
            ExpectReceived(args[2], output);
            return;
        }
        EXPECT_EQ(messages, Texts{output + (CodePageUnderTest() == 932 ? kRefusal932 : kRefusalOther)});
        EXPECT_EQ(app.FocusedId(), IDC_OUTPUT_NAME);
        EXPECT_EQ(Recorded(), before);
    }
};

TEST_F(NamesTest, FirstLaunch)
{
    for (const Name& row : kNames) {
        SCOPED_TRACE(testing::PrintToString(row.name));
        AppDriver app(LaunchOptions{{Path(row)}, {}, {}});
        ExpectTaken(app, Path(row), IDC_INPUT_NAME, true);
        app.Close();
    }
}

TEST_F(NamesTest, SecondLaunchOrDropOnALabelAndRun)
{
    AppDriver app(RecordingPerl({m_input}));
    PutEach(app, IDC_INPUT_NAME, [](const std::wstring& path) { ::CloseHandle(StartCalvendrake(LaunchOptions{{path}, {}, {}})); }, true);
    for (const Name& row : kNames) {
        SCOPED_TRACE(testing::PrintToString(row.name));
        DropFiles(app.Control(IDC_INPUT_PATH), {Path(row)});
        ExpectTaken(app, Path(row), IDC_INPUT_NAME, true);
        ExpectRun(app, Path(row), Proposed(Path(row)));
    }
    app.Close();
}

TEST_F(NamesTest, PickedInTheScriptChooser) { PickEach(IDC_SCRIPT_BROWSE, IDC_SCRIPT_NAME); }
TEST_F(NamesTest, PickedInTheInputChooser) { PickEach(IDC_INPUT_BROWSE, IDC_INPUT_NAME); }
TEST_F(NamesTest, PickedInTheOutputChooser) { PickEach(IDC_OUTPUT_BROWSE, IDC_OUTPUT_NAME); }

TEST_F(NamesTest, TypedIntoAField)
{
    AppDriver app(RecordingPerl({m_input}));
    // Typed, a name is read as the focus leaves.
    for (int nFieldID : {IDC_INPUT_NAME, IDC_OUTPUT_NAME}) {
        PutEach(app, nFieldID, [&](const std::wstring& path) {
            app.Type(nFieldID, path);
            ::PostMessageW(app.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_SETTINGS)), TRUE);
        });
    }
    // Typed and Run pressed at once: the output is read as Run takes the focus. Its name is
    // plain, so an input the code page lacks is run, by a name it carries.
    for (const Name& row : {kNames[0], kNames[3], kNames[5]}) {
        SCOPED_TRACE(testing::PrintToString(row.name));
        const std::wstring output = m_folder / L"out.ncd";
        app.Type(IDC_INPUT_NAME, Path(row));
        app.ClickAsync(IDC_SETTINGS);  // the focus leaves; whatever this shows is answered
        AnswerUntilFinished(app);
        app.Type(IDC_OUTPUT_NAME, output);
        ExpectRun(app, Path(row), output);
    }
    app.Close();
}

// A name typed, then the file of its look-alike dropped: the field shows the dropped file,
// whose name is what an ANSI read of the typed one gives, and Run takes that file.
TEST_F(NamesTest, ATypedNameIsReplacedByTheFileDroppedAfterIt)
{
    AppDriver app(RecordingPerl());
    app.Type(IDC_SCRIPT_NAME, m_script);
    for (const Name& row : kNames) {
        if (!row.lookalike) continue;
        SCOPED_TRACE(testing::PrintToString(row.name));
        const std::wstring dropped = m_folder / FromBytes(932, row.lookalike);
        app.Type(IDC_INPUT_NAME, Leaf(row.name));
        app.ClickAsync(IDC_SETTINGS);  // the focus leaves; whatever this shows is answered
        AnswerUntilFinished(app);
        DropFiles(app.Control(IDC_INPUT_PATH), {dropped});
        EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_INPUT_NAME) == Leaf(dropped); })) << testing::PrintToString(app.Text(IDC_INPUT_NAME));
        ExpectRun(app, dropped, Proposed(dropped));
    }
    app.Close();
}

TEST_F(NamesTest, StoredAsARecentScript)
{
    Texts listed;
    for (size_t i = 0; i < std::size(kNames); ++i) {
        SetText((L"ScriptFile" + std::to_wstring(i)).c_str(), Path(kNames[i]));
        listed.push_back(Leaf(kNames[i].name));
    }
    EXPECT_EQ(AppDriver().ComboItems(IDC_SCRIPT_NAME), listed);
}

// A real conversion with Japanese names throughout; the output is proposed where the code page
// carries its name, and typed in the same folder where it does not.
TEST_F(NamesTest, ConvertsAJapaneseNamedFile)
{
    const std::wstring script = m_folder.Write(L"表示\\変換.pl", kCopyScript);
    const std::wstring input = m_folder.Write(L"データ\\部品.ncd", "n10 g01 x1.5\n");
    const std::wstring output = Carries(CodePageUnderTest(), Leaf(Proposed(input))) ? Proposed(input) : Folder(input) + L"out.ncd";
    SetText(L"ScriptFile0", script);
    PlantOptions(0, 0, 0);
    AppDriver app(LaunchOptions{{input}, {}, {}});
    if (output != Proposed(input)) app.Type(IDC_OUTPUT_NAME, output);
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(ReadFileText(output), "N10 G01 X1.5\n");
    app.Close();
}

// A suffix is part of a name like any other: the output is proposed with it, in the input's folder.
TEST_F(NamesTest, TheSuffixKeepsEveryCharacter)
{
    for (const std::wstring suffix : {L"_¥", L"_ü", L"_変換"}) {
        SCOPED_TRACE(testing::PrintToString(suffix));
        DeleteSettingsKey();
        AppDriver app;
        ::SendMessageW(app.Control(IDC_SUFFIX), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(suffix.c_str()));
        DropFiles(app.Control(IDC_INPUT_PATH), {m_input});
        ExpectTaken(app, m_input, IDC_INPUT_NAME);
        ExpectProposed(app, m_input, suffix);
        app.Close();
    }
}

// A user folder whose name code page 932 lacks holds the temporary folder: a failure's error output still shows.
TEST_F(NamesTest, ATemporaryFolderOfAnyNameKeepsTheErrorOutput)
{
    const std::wstring temp = m_folder / L"Zoë";
    ::CreateDirectoryW(temp.c_str(), nullptr);
    const std::wstring failing = m_folder.Write(L"fail.pl", kFailScript);
    AppDriver app(LaunchOptions{{m_input}, {{L"TEMP", temp}, {L"TMP", temp}}, {}});
    app.Type(IDC_SCRIPT_NAME, failing);
    EXPECT_EQ(PressRun(app), Texts{FailureMessage(failing)});
    app.Close();
}

}  // namespace
