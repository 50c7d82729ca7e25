// Run, driven through the real window: the checks and their messages, the
// command line Perl receives, real conversions and the after-run actions.
#include "RunFixture.h"

namespace {

// Makes the shell open .ncd files with recorder.exe while it lives. Wine 8
// reads file types from HKLM's classes only; HKCU\Software\Classes goes unread.
class NcdOpensWithRecorder {
public:
    NcdOpensWithRecorder()
    {
        SetDefault(".ncd", kProgId);
        SetDefault(std::string(kProgId) + "\\shell\\open\\command", "\"" + ProgramFolder() + "\\recorder.exe\" \"%1\"");
    }
    ~NcdOpensWithRecorder()
    {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.ncd");
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string("Software\\Classes\\") + kProgId).c_str());
    }
    NcdOpensWithRecorder(const NcdOpensWithRecorder&) = delete;
    NcdOpensWithRecorder& operator=(const NcdOpensWithRecorder&) = delete;

private:
    static constexpr char kProgId[] = "CalvendrakeTest.ncd";

    static void SetDefault(const std::string& key, const std::string& value)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(hKey);
    }
};

// A run that asked the dialog to end has it gone once it has handled one more message.
bool DialogStaysOpen(AppDriver& app)
{
    app.Send(WM_NULL);
    return ::IsWindow(app.Dialog()) != FALSE;
}

class RunTest : public RunFixture {};

TEST_F(RunTest, RefusesAMissingOrUnusableScriptFirst)
{
    const std::string missing = m_folder / "missing.pl";
    const std::string folder = m_folder / "folder.pl";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string hidden = m_folder.Write("hidden.pl", "1;\n");
    SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    const std::string system = m_folder.Write("system.pl", "1;\n");
    SetAttributes(system, FILE_ATTRIBUTE_SYSTEM);
    const std::string longFolder = m_folder / std::string(250, 'd');
    AppDriver app;

    // Nothing entered at all: only the script is asked for.
    EXPECT_EQ(PressRun(app), Texts{"ｽｸﾘﾌﾟﾄﾌｧｲﾙ を入力してください。"});
    EXPECT_EQ(app.FocusedId(), IDC_SCRIPT_NAME);

    app.Type(IDC_SCRIPT_NAME, missing);
    EXPECT_EQ(PressRun(app), Texts{missing + " は存在しません。"});
    EXPECT_EQ(app.FocusedId(), IDC_SCRIPT_NAME);
    EXPECT_EQ(app.EditSelection(IDC_SCRIPT_NAME), WholeText("missing.pl"));

    for (const std::string& unusable : {folder, hidden, system}) {
        app.Type(IDC_SCRIPT_NAME, unusable);
        EXPECT_EQ(PressRun(app), Texts{unusable + " は不正なファイルです。"});
        EXPECT_EQ(app.FocusedId(), IDC_SCRIPT_NAME);
        EXPECT_EQ(app.EditSelection(IDC_SCRIPT_NAME), WholeText(app.Text(IDC_SCRIPT_NAME)));
    }

    // Too long for the system's buffers: shown whole, and refused as absent.
    app.Type(IDC_SCRIPT_NAME, longFolder + "\\conv.pl");
    EXPECT_EQ(PressRun(app), Texts{longFolder + "\\conv.pl は存在しません。"});
    EXPECT_EQ(app.Text(IDC_SCRIPT_PATH), longFolder + "\\");
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "conv.pl");

    // A refused script does not join the recent scripts.
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{});
    app.Close();
}

TEST_F(RunTest, ChecksInputThenOutputAndAsksBeforeReplacing)
{
    const std::string script = m_folder.Write("conv.pl", "1;\n");
    const std::string input = m_folder.Write("part1.ncd", "N10 G01\n");
    const std::string folder = m_folder / "folder.ncd";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string output = m_folder.Write("part1_cvted.ncd", "old\n");
    const std::string question = output + " は既に存在します。\n上書きしますか?";
    // Read-only is fine for reading; only the output must be writable.
    SetAttributes(script, FILE_ATTRIBUTE_READONLY);
    SetAttributes(input, FILE_ATTRIBUTE_READONLY);
    SetAttributes(output, FILE_ATTRIBUTE_READONLY);
    AppDriver app(RecordingPerl());

    app.Type(IDC_SCRIPT_NAME, script);
    EXPECT_EQ(PressRun(app), Texts{"入力ﾌｧｲﾙ を入力してください。"});
    EXPECT_EQ(app.FocusedId(), IDC_INPUT_NAME);

    app.Type(IDC_INPUT_NAME, folder);
    EXPECT_EQ(PressRun(app), Texts{folder + " は不正なファイルです。"});
    EXPECT_EQ(app.FocusedId(), IDC_INPUT_NAME);
    EXPECT_EQ(app.EditSelection(IDC_INPUT_NAME), WholeText("folder.ncd"));

    // An emptied name leaves only the folder: the file is asked for again.
    app.Type(IDC_INPUT_NAME, "");
    EXPECT_EQ(PressRun(app), Texts{"入力ﾌｧｲﾙ を入力してください。"});
    EXPECT_EQ(app.FocusedId(), IDC_INPUT_NAME);

    app.Type(IDC_INPUT_NAME, input);
    EXPECT_EQ(PressRun(app), Texts{"出力ﾌｧｲﾙ を入力してください。"});
    EXPECT_EQ(app.FocusedId(), IDC_OUTPUT_NAME);

    // A read-only output cannot be replaced, so there is nothing to ask.
    app.Type(IDC_OUTPUT_NAME, output);
    EXPECT_EQ(PressRun(app), Texts{output + " は不正なファイルです。"});
    EXPECT_EQ(app.FocusedId(), IDC_OUTPUT_NAME);
    EXPECT_EQ(app.EditSelection(IDC_OUTPUT_NAME), WholeText("part1_cvted.ncd"));

    SetAttributes(output, FILE_ATTRIBUTE_NORMAL);
    app.ClickAsync(IDC_RUN);
    HWND hQuestion = app.WaitForWindow();
    EXPECT_EQ(app.MessageText(hQuestion), question);
    // No is the default: Enter answers it.
    app.AnswerWithEnter(hQuestion);
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);
    EXPECT_EQ(app.FocusedId(), IDC_OUTPUT_NAME);
    EXPECT_EQ(app.EditSelection(IDC_OUTPUT_NAME), WholeText("part1_cvted.ncd"));
    EXPECT_EQ(ReadFileText(output), "old\n");
    EXPECT_FALSE(FileExists(RecordFile()));

    EXPECT_EQ(PressRun(app, {IDYES}), Texts{question});
    EXPECT_EQ(Recorded(), "perl \"" + script + "\" \"" + input + "\" \"" + output + "\"\n");
    app.Close();
}

TEST_F(RunTest, ResolvesATypedInputNameBeforeTheChecks)
{
    const std::string script = m_folder.Write("conv.pl", "1;\n");
    const std::string input = m_folder.Write("a.ncd", "N10\n");
    const std::string typed = m_folder.Write("c.ncd", "N20\n");
    AppDriver app(RecordingPerl({input}));
    app.Type(IDC_SCRIPT_NAME, script);

    // Typed and Run pressed at once: the check already sees the new path.
    app.Type(IDC_INPUT_NAME, "b.ncd");
    EXPECT_EQ(PressRun(app), Texts{m_folder / "b.ncd は存在しません。"});
    EXPECT_EQ(app.FocusedId(), IDC_INPUT_NAME);
    EXPECT_EQ(app.EditSelection(IDC_INPUT_NAME), WholeText("b.ncd"));

    // The output proposed at start-up stays: typing an input does not derive another.
    app.Type(IDC_INPUT_NAME, "c.ncd");
    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_EQ(Recorded(), "perl \"" + script + "\" \"" + typed + "\" \"" + m_folder / "a_cvted.ncd" + "\"\n");
    app.Close();
}

TEST_F(RunTest, ConvertsInFoldersWhoseNamesHoldBackslashBytes)
{
    // The second bytes of 表 and ソ are 0x5C, the backslash.
    const std::string folder = m_folder / "表示\\ソフト";
    const std::string script = m_folder.Write("表示\\ソフト\\変換.pl", kCopyScript);
    const std::string input = m_folder.Write("表示\\ソフト\\ソフト.ncd", "n10 g01 x1.5\n");
    PlantOptions(1, 0, 0);
    AppDriver app(LaunchOptions{{input}, {}, {}});
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "ソフト_cvted.ncd");

    app.Type(IDC_SCRIPT_NAME, script);
    EXPECT_EQ(PressRun(app), Texts{"完了しました。"});
    EXPECT_EQ(ReadFileText(folder + "\\ソフト_cvted.ncd"), "N10 G01 X1.5\n");
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{"変換.pl"});
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "変換.pl");
    app.Close();
}

TEST_F(RunTest, ReportsAFailedScriptAndSkipsTheAfterRunActions)
{
    NcdOpensWithRecorder association;
    const std::string failing = m_folder.Write("fail.pl", kFailScript);
    const std::string copying = m_folder.Write("upper.pl", kCopyScript);
    const std::string input = m_folder.Write("part1.ncd", "n10\n");
    const std::string nowhere = m_folder / "missing\\part1.ncd";
    PlantOptions(1, 1, 1);
    AppDriver app(Recording({input}));

    std::string expected = failing + " の実行に失敗しました。（終了コード 3）\n\n";
    for (int nLine = 12; nLine <= 30; ++nLine) expected += "line " + std::to_string(nLine) + "\n";
    expected += "G-code error at N40";
    app.Type(IDC_SCRIPT_NAME, failing);
    EXPECT_EQ(PressRun(app), Texts{expected});
    EXPECT_TRUE(DialogStaysOpen(app));
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{"fail.pl"});

    // An output in a missing folder is not asked about: the script meets the missing folder.
    app.Type(IDC_SCRIPT_NAME, copying);
    app.Type(IDC_OUTPUT_NAME, nowhere);
    Texts texts = PressRun(app);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(copying + " の実行に失敗しました。（終了コード ", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find("cannot write"), std::string::npos) << texts[0];
    EXPECT_TRUE(DialogStaysOpen(app));
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{"upper.pl", "fail.pl"}));

    // Nothing was opened.
    EXPECT_FALSE(FileExists(RecordFile()));
    app.Close();
}

TEST_F(RunTest, ReportsAPerlThatCannotStart)
{
    const std::string script = m_folder.Write("conv.pl", "1;\n");
    const std::string input = m_folder.Write("part1.ncd", "n10\n");
    PlantOptions(1, 0, 1);
    // WINEPATH reaches a program only through PATH, which Wine extends at its start.
    AppDriver app(LaunchOptions{{input}, {{"PATH", "C:\\windows\\system32;C:\\windows"}}, {}});

    app.Type(IDC_SCRIPT_NAME, script);
    EXPECT_EQ(PressRun(app), Texts{"perl を起動できませんでした。"});
    EXPECT_TRUE(DialogStaysOpen(app));
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{"conv.pl"});
    app.Close();
}

TEST_F(RunTest, OpensTheConvertedFileEvenAfterAHandOff)
{
    NcdOpensWithRecorder association;
    const std::string script = m_folder.Write("upper.pl", kCopyScript);
    const std::string input = m_folder.Write("part1.ncd", "n10 g01 x1.5\n");
    const std::string other = m_folder.Write("part2.ncd", "n20\n");
    const std::string output = m_folder / "part1_cvted.ncd";
    PlantOptions(1, 1, 0);
    AppDriver app(Recording({input}));
    app.Type(IDC_SCRIPT_NAME, script);

    app.ClickAsync(IDC_RUN);
    HWND hCompleted = app.WaitForWindow();
    EXPECT_EQ(app.MessageText(hCompleted), "完了しました。");
    // A second launch meanwhile hands its file over and ends.
    EXPECT_NE(WaitForExit(StartCalvendrake(LaunchOptions{{other}, {}, {}}).hProcess), STILL_ACTIVE);
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "part2.ncd");
    app.Answer(hCompleted, IDOK);
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);

    ASSERT_TRUE(WaitUntil([&] { return Recorded().find('\n') != std::string::npos; }));
    EXPECT_EQ(Recorded(), "\"" + ProgramFolder() + "\\recorder.exe\" \"" + output + "\"\n");
    EXPECT_EQ(ReadFileText(output), "N10 G01 X1.5\n");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "part2_cvted.ncd");
    app.Close();
}

TEST_F(RunTest, EndsAfterASuccessfulRunAndStoresTheScript)
{
    const std::string older = m_folder.Write("older.pl", "1;\n");
    const std::string script = m_folder.Write("conv.pl", "1;\n");
    const std::string input = m_folder.Write("part1.ncd", "n10\n");
    SetText("ScriptFile0", older);
    PlantOptions(0, 0, 1);
    AppDriver app(RecordingPerl({input}));
    app.Type(IDC_SCRIPT_NAME, script);

    EXPECT_EQ(PressRun(app), Texts{});
    EXPECT_NE(app.WaitExit(), STILL_ACTIVE);
    std::string stored;
    EXPECT_TRUE(GetText("ScriptFile0", stored));
    EXPECT_EQ(stored, script);
    EXPECT_TRUE(GetText("ScriptFile1", stored));
    EXPECT_EQ(stored, older);
}

}  // namespace
