// Run, driven through the real window: the checks in order with their messages,
// focus and selection; the command line Perl receives; real conversions;
// failures; the after-run actions; the window while a script runs, and what
// stopping a script ends.
#include "RunFixture.h"

#include <tlhelp32.h>

#include <algorithm>
#include <sstream>

namespace {

using RunTest = RunFixture;

// Makes the shell open .ncd files with recorder.exe while it lives. Wine reads
// file types from HKLM's classes only; HKCU\Software\Classes goes unread.
struct NcdOpensWithRecorder {
    const std::wstring command = L"\"" + ProgramFolder() + L"\\recorder.exe\" \"%1\"";
    NcdOpensWithRecorder() { Set(L".ncd", L"CalvTest.ncd"); Set(L"CalvTest.ncd\\shell\\open\\command", command); }
    ~NcdOpensWithRecorder() { Set(L".ncd", L""); Set(L"CalvTest.ncd", L""); }
    // An empty value removes the key.
    static void Set(const std::wstring& key, const std::wstring& value)
    {
        if (value.empty()) ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str());
        else ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), nullptr, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
};

// The icon a message box shows (Wine's icon control is 1088).
LRESULT BoxIcon(HWND hBox) { return SendForHandle(::GetDlgItem(hBox, 1088), STM_GETICON); }

// Whether a Unix process runs, seen through Wine's drive Z: (a zombie has ended).
bool UnixProcessRuns(const std::wstring& pid)
{
    const std::string stat = ReadFileText(L"Z:\\proc\\" + pid + L"\\stat");
    return stat.find(')') != std::wstring::npos && stat.compare(stat.rfind(')'), 3, ") Z") != 0;
}

// The full path of the file a process was started from; "" when it cannot be asked.
std::wstring ImageOf(DWORD dwProcessId)
{
    wchar_t szImage[MAX_PATH] = L"";
    DWORD dwSize = MAX_PATH;
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcessId);
    if (hProcess && !::QueryFullProcessImageNameW(hProcess, 0, szImage, &dwSize)) szImage[0] = L'\0';
    if (hProcess) ::CloseHandle(hProcess);
    return szImage;
}

// A running process of that name, started by the given process when one is given, from the
// given file when one is given; 0 when there is none. The name counts: Wine soon gives an ended
// process's id to a new one, and programs started by the old holder of that id then look like its children.
DWORD FindProcess(const wchar_t* pszName, DWORD dwParentId = 0, const std::wstring& image = {})
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD dwFound = 0;
    for (BOOL bNext = ::Process32FirstW(hSnapshot, &entry); bNext && !dwFound; bNext = ::Process32NextW(hSnapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, pszName) == 0 && (!dwParentId || entry.th32ParentProcessID == dwParentId) &&
            (image.empty() || lstrcmpiW(ImageOf(entry.th32ProcessID).c_str(), image.c_str()) == 0))
            dwFound = entry.th32ProcessID;
    ::CloseHandle(hSnapshot);
    return dwFound;
}

// Makes a kernel32 function of a running program return bResult and do nothing else from now
// on: the answer Windows gives where Wine does not (Windows 7 refusing a second job, a script
// stuck in the system outliving its job's end). A system DLL lies at the same address in every
// process of one bitness; both functions used take two arguments.
bool PlantAnswer(DWORD dwProcessId, const char* pszFunction, BOOL bResult)
{
    const auto pFunction = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), pszFunction));
    const BYTE code[] = {0xB8, static_cast<BYTE>(bResult), 0, 0, 0, sizeof(void*) == 8 ? 0xC3 : 0xC2, 8, 0};  // mov eax, bResult; ret
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    DWORD dwOld = 0;
    const bool bDone = ::VirtualProtectEx(hProcess, pFunction, sizeof(code), PAGE_EXECUTE_READWRITE, &dwOld) &&
                       ::WriteProcessMemory(hProcess, pFunction, code, sizeof(code), nullptr);
    ::CloseHandle(hProcess);
    return bDone;
}

// The error-output files of runs in the temporary folder.
int ErrorFilesLeft()
{
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        nFiles += entry.path().filename().wstring().rfind(L"cvt", 0) == 0 && entry.path().extension() == L".tmp";
    return nFiles;
}

const wchar_t kStopQuestion[] = L"ｽｸﾘﾌﾟﾄ の実行を中止しますか?";
// Writes part of the output, starts a child, tells both process ids beside the output and never ends.
const char kHangScript[] =
    "open(my $out, '>', $ARGV[1]) or die; print $out \"partial\\n\"; close $out;\n"
    "if (my $child = fork() // die) { open(my $ids, '>', \"$ARGV[1].ids\") or die; print $ids \"$$ $child\"; close $ids }\n"
    "sleep 1 while 1;\n";

TEST_F(RunTest, ChecksTheFieldsInOrderAndRefusesWithTheFocusOnTheField)
{
    const std::wstring missing = m_folder / L"missing.pl", folder = m_folder / L"folder.ncd";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring hidden = m_folder.Write(L"hidden.pl", "1;\n"), system = m_folder.Write(L"system.pl", "1;\n");
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    // Exactly MAX_PATH bytes: too long for the program's buffers, so absent even though it exists.
    const std::wstring longPath = m_folder.Write(std::wstring(251 - m_folder.Path().size(), 'd') + L"\\conv.pl", "1;\n");
    const std::wstring output = m_folder.Write(L"part1_cvted.ncd", "old\n");
    // Read-only is fine for reading; only the output must be writable.
    for (const std::wstring& path : {m_script, m_input, output}) ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring kEnterScript = L"ｽｸﾘﾌﾟﾄﾌｧｲﾙ を入力してください。", kNotExist = L" は存在しません。";
    const std::wstring kEnterInput = L"入力ﾌｧｲﾙ を入力してください。", kInvalid = L" は不正なファイルです。";
    // The output is never the input or the script, however spelt; a namesake elsewhere is only asked about.
    const std::wstring kSameInput = L"\n入力ﾌｧｲﾙと同じﾌｧｲﾙには出力できません。", kQuestion = L" は既に存在します。\n上書きしますか?";
    const std::wstring dot = m_folder / L".\\part1.ncd", dotDot = m_folder / L"folder.ncd\\..\\part1.ncd";
    const std::wstring namesake = m_folder.Write(L"folder.ncd\\part1.ncd", "n20\n");
    std::wstring shortInput(MAX_PATH, '\0'), upperInput = m_input, upperScript = m_script;
    shortInput.resize(::GetShortPathNameW(m_input.c_str(), &shortInput[0], MAX_PATH));
    for (std::wstring* path : {&upperInput, &upperScript}) ::CharUpperW(&(*path)[0]);
    // Typed into a field, the message Run shows, where the focus is then and whether all its text is selected.
    struct Step { int nField; std::wstring typed, message; int nFocus; bool bSelected; } const steps[] = {
        {IDC_SCRIPT_NAME, L"", kEnterScript, IDC_SCRIPT_NAME, false},
        {IDC_SCRIPT_NAME, missing, missing + kNotExist, IDC_SCRIPT_NAME, true},
        {IDC_SCRIPT_NAME, L"", kEnterScript, IDC_SCRIPT_NAME, false},  // the folder alone is no script
        {IDC_SCRIPT_NAME, folder, folder + kInvalid, IDC_SCRIPT_NAME, true},
        {IDC_SCRIPT_NAME, hidden, hidden + kInvalid, IDC_SCRIPT_NAME, true},
        {IDC_SCRIPT_NAME, system, system + kInvalid, IDC_SCRIPT_NAME, true},
        {IDC_SCRIPT_NAME, longPath, longPath + kNotExist, IDC_SCRIPT_NAME, true},
        {IDC_SCRIPT_NAME, m_script, kEnterInput, IDC_INPUT_NAME, false},
        {IDC_INPUT_NAME, folder, folder + kInvalid, IDC_INPUT_NAME, true},
        // A bare name typed and Run pressed at once: it is resolved first.
        {IDC_INPUT_NAME, L"b.ncd", m_folder / L"b.ncd" + kNotExist, IDC_INPUT_NAME, true},
        // An emptied name leaves only the folder: the file is asked for again.
        {IDC_INPUT_NAME, L"", kEnterInput, IDC_INPUT_NAME, false},
        {IDC_INPUT_NAME, m_input, L"出力ﾌｧｲﾙ を入力してください。", IDC_OUTPUT_NAME, false},
        {IDC_OUTPUT_NAME, m_input, m_input + kSameInput, IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, upperInput, upperInput + kSameInput, IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, shortInput, shortInput + kSameInput, IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, dot, dot + kSameInput, IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, dotDot, dotDot + kSameInput, IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, upperScript, upperScript + L"\nｽｸﾘﾌﾟﾄﾌｧｲﾙと同じﾌｧｲﾙには出力できません。", IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, namesake, namesake + kQuestion, IDC_OUTPUT_NAME, true},
        {IDC_OUTPUT_NAME, output, output + kInvalid, IDC_OUTPUT_NAME, true},
    };
    AppDriver app(RecordingPerl());
    for (const Step& step : steps) {
        app.Type(step.nField, step.typed);
        EXPECT_EQ(PressRun(app), Texts{step.message});
        EXPECT_EQ(app.FocusedId(), step.nFocus) << step.message;
        if (step.bSelected) {
            EXPECT_EQ(app.EditSelection(step.nFocus), WholeText(app.Text(step.nFocus))) << step.message;
        }
    }
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{});  // refused scripts are not remembered

    // Writable, the output is asked about, No by default and with the warning icon.
    ::SetFileAttributesW(output.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::wstring question = output + kQuestion;
    HWND hQuestion = FirstMessageOfRun(app);
    EXPECT_EQ(app.MessageText(hQuestion), question);
    EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(hQuestion, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_NE(BoxIcon(hQuestion), 0);
    app.Answer(hQuestion, IDNO);  // as for the namesake above; the one recorded run below is Yes's

    EXPECT_EQ(PressRun(app, {IDYES}), Texts{question});
    EXPECT_EQ(Recorded(), RunLine(m_script, m_input, output));
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{L"conv.pl"});
    app.Close();
}

TEST_F(RunTest, ConvertsInFoldersWhoseNamesHoldBackslashBytes)
{
    // The second bytes of 表 and ソ are 0x5C, the backslash.
    const std::wstring script = m_folder.Write(L"表示\\ソフト\\変換.pl", kCopyScript);
    const std::wstring input = m_folder.Write(L"表示\\ソフト\\ソフト.ncd", "n10 g01 x1.5\n");
    PlantOptions(1, 0, 0);
    // Opened from its folder, the data file's neighbour perl.exe is never run.
    CopyProgram(L"recorder.exe", L"表示\\ソフト\\perl.exe");
    AppDriver app(LaunchOptions{{input}, {{L"CALV_RECORD_FILE", RecordFile()}}, {}, m_folder / L"表示\\ソフト"});
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), L"ソフト_cvted.ncd");
    app.Type(IDC_SCRIPT_NAME, script);

    HWND hCompleted = FirstMessageOfRun(app);
    EXPECT_EQ(app.MessageText(hCompleted), L"完了しました。");
    EXPECT_EQ(WindowText(hCompleted), L"Calvendrake");
    // The information icon, not the warning every other message shows.
    const LRESULT lIcon = BoxIcon(hCompleted);
    EXPECT_NE(lIcon, 0);
    app.Answer(hCompleted, IDOK);
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);
    EXPECT_EQ(ReadFileText(m_folder / L"表示\\ソフト\\ソフト_cvted.ncd"), "N10 G01 X1.5\n");
    EXPECT_EQ(Recorded(), L"");
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{L"変換.pl"});

    app.Type(IDC_SCRIPT_NAME, L"");
    HWND hRefused = FirstMessageOfRun(app);
    EXPECT_NE(BoxIcon(hRefused), lIcon);
    app.Answer(hRefused, IDOK);
    app.Close();
}

TEST_F(RunTest, AFailedRunIsReportedAndSkipsTheAfterRunActions)
{
    NcdOpensWithRecorder association;
    CopyProgram(L"recorder.exe", L"perl.exe");
    const std::wstring failing = m_folder.Write(L"fail.pl", kFailScript);
    struct Failure { LaunchOptions options; std::wstring script, message; } const failures[] = {
        {Recording({m_input}), failing, FailureMessage(failing)},
        // WINEPATH reaches a program only through PATH, which Wine extends at its start. The
        // perl.exe of the current folder, named also by a relative PATH entry, is never run.
        {LaunchOptions{{m_input}, {{L"PATH", L".;C:\\windows\\system32;C:\\windows"}, {L"CALV_RECORD_FILE", RecordFile()}}, {}, m_folder.Path()},
         m_script, L"perl を起動できませんでした。"},
    };
    for (const Failure& failure : failures) {
        DeleteSettingsKey();
        PlantOptions(1, 1, 1);
        AppDriver app(failure.options);
        app.Type(IDC_SCRIPT_NAME, failure.script);
        EXPECT_EQ(PressRun(app), Texts{failure.message});
        app.Send(WM_NULL);  // a dialog asked to end is gone once it has handled one more message
        EXPECT_TRUE(::IsWindow(app.Dialog()));
        EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), Texts{failure.script.substr(failure.script.rfind('\\') + 1)});
        app.Close();
    }
    EXPECT_EQ(Recorded(), L"");  // nothing was opened
}

TEST_F(RunTest, AfterAStopQuestionOrAHandOffARunStillReportsAndOpensItsOwnResult)
{
    NcdOpensWithRecorder association;
    // It converts once told to go, which comes while the stop question is up.
    const std::wstring script =
        m_folder.Write(L"upper.pl", "select(undef, undef, undef, 0.05) until -e \"$ARGV[1].go\";\n" + std::string(kCopyScript));
    const std::wstring other = m_folder.Write(L"part2.ncd", "n20\n");
    PlantOptions(1, 1, 0);
    AppDriver app(Recording({m_input}));
    app.Type(IDC_SCRIPT_NAME, script);

    app.ClickAsync(IDC_RUN);
    ASSERT_TRUE(WaitUntil([&] { return FindProcess(L"perl.exe", app.ProcessId()); }));
    ::PostMessageW(app.Dialog(), WM_CLOSE, 0, 0);
    HWND hQuestion = app.WaitForWindow();
    m_folder.Write(L"part1_cvted.ncd.go", "");
    // The bridge's perl.exe ends after the Unix Perl: the script has ended by itself. Yes then stops nothing.
    EXPECT_TRUE(WaitUntil([&] { return !FindProcess(L"perl.exe", app.ProcessId()); }));
    app.Answer(hQuestion, IDYES);
    HWND hCompleted = app.WaitForWindow();
    EXPECT_EQ(app.MessageText(hCompleted), L"完了しました。");
    // A second launch meanwhile finds the box (it has the dialog's caption), hands its file
    // to the dialog and brings the box, which has the keyboard, to the front.
    HWND hForeground = TakeForeground();
    EXPECT_EQ(WaitForExit(StartCalvendrake(LaunchOptions{{other}, {}, {}})), 0u);
    ::DestroyWindow(hForeground);
    EXPECT_EQ(::GetForegroundWindow(), hCompleted);
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), L"part2.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), L"part2_cvted.ncd");
    app.Answer(hCompleted, IDOK);
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);

    // What the run converted is what the shell opens.
    const std::wstring output = m_folder / L"part1_cvted.ncd";
    ASSERT_TRUE(WaitUntil([&] { return Recorded().find('\n') != std::wstring::npos; }));
    EXPECT_EQ(Recorded(), L"\"" + ProgramFolder() + L"\\recorder.exe\" \"" + output + L"\"\n");
    EXPECT_EQ(ReadFileText(output), "N10 G01\n");
    app.Close();
}

TEST_F(RunTest, AScriptThatNeverEndsLeavesTheWindowAnsweringUntilTheUserStopsIt)
{
    const std::wstring hang = m_folder.Write(L"hang.pl", kHangScript), output = m_folder / L"part1_cvted.ncd";
    PlantOptions(1, 1, 1);
    AppDriver app(LaunchOptions{{m_input}, {}, {}});
    // No script yet: refused with the warning icon, the icon the stop is reported with.
    HWND hRefused = FirstMessageOfRun(app);
    const LRESULT lWarning = BoxIcon(hRefused);
    app.Answer(hRefused, IDOK);
    app.Type(IDC_SCRIPT_NAME, hang);
    app.ClickAsync(IDC_RUN);
    std::wstring script, child;
    ASSERT_TRUE(WaitUntil([&] { return !!(std::wistringstream(FromBytes(CP_UTF8, ReadFileText(output + L".ids"))) >> script >> child); }));

    EXPECT_TRUE(::SendMessageTimeoutW(app.Dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr));
    // A second launch hands its file over at once.
    EXPECT_EQ(WaitForExit(StartCalvendrake(LaunchOptions{{m_folder.Write(L"part2.ncd", "n20\n")}, {}, {}})), 0u);
    const Texts shown = Shown(app);
    EXPECT_EQ(shown[3] + L"|" + shown[5], L"part2.ncd|part2_cvted.ncd");
    const LONG nBottom = app.WindowRect().bottom;  // the options panel stays as it is
    // Keys, clicks, commands, a drop and the about box meanwhile change and start nothing.
    ::PostMessageW(app.Control(IDC_INPUT_NAME), WM_CHAR, 'x', 1);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP}) ::PostMessageW(app.Control(IDC_COMPLETE_DIALOG), message, 0, MAKELPARAM(2, 2));
    for (int nID : {IDC_RUN, IDC_SETTINGS, IDOK}) ::PostMessageW(app.Control(nID), BM_CLICK, 0, 0);
    DropFiles(app.Control(IDC_INPUT_PATH), {m_input});
    ::PostMessageW(app.Dialog(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);

    // Escape, Alt+F4 and the close box or the system menu's Close ask first; No lets the script run on.
    const struct { HWND hWnd; UINT message; WPARAM wParam; LPARAM lParam; int nAnswer; } requests[] = {
        {app.Control(IDC_RUN), WM_KEYDOWN, VK_ESCAPE, 1, IDNO},
        {app.Control(IDC_RUN), WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN), IDNO},
        {app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0, IDYES},
    };
    for (const auto& request : requests) {
        ::PostMessageW(request.hWnd, request.message, request.wParam, request.lParam);
        HWND hQuestion = app.WaitForWindow();
        EXPECT_EQ(app.MessageText(hQuestion), kStopQuestion);
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(hQuestion, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
        const LRESULT lQuestionIcon = BoxIcon(hQuestion);
        EXPECT_TRUE(lQuestionIcon && lQuestionIcon != lWarning);
        EXPECT_TRUE(UnixProcessRuns(script));  // also after the No before
        EXPECT_EQ(Shown(app), shown);
        EXPECT_EQ(app.WindowRect().bottom, nBottom);
        app.Answer(hQuestion, request.nAnswer);
    }
    // Yes ends the script and its child, then says so with the warning icon; nothing follows.
    HWND hStopped = app.WaitForWindow();
    EXPECT_EQ(app.MessageText(hStopped), hang + L" の実行を中止しました。");
    EXPECT_TRUE(WaitUntil([&] { return !UnixProcessRuns(script) && !UnixProcessRuns(child); }));
    EXPECT_TRUE(lWarning && BoxIcon(hStopped) == lWarning);
    app.Answer(hStopped, IDOK);
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);
    EXPECT_EQ(ReadFileText(output), "partial\n");

    // The next run is a run like any other, on the file handed over; both scripts are stored.
    const std::wstring upper = m_folder.Write(L"upper.pl", kCopyScript);
    app.Type(IDC_SCRIPT_NAME, upper);
    EXPECT_EQ(PressRun(app), Texts{L"完了しました。"});
    EXPECT_EQ(app.WaitExit(), 0u);
    std::wstring stored[2];
    EXPECT_TRUE(GetText(L"ScriptFile0", stored[0]) && GetText(L"ScriptFile1", stored[1]));
    EXPECT_EQ(stored[0] + L"|" + stored[1], upper + L"|" + hang);
}

TEST_F(RunTest, StoppingTheScriptOrEndingTheProgramEndsEveryProgramTheScriptStarted)
{
    const int nErrorFiles = ErrorFilesLeft();
    // Each stand-in writes its line first thing; nothing is ended before both have, as Wine
    // leaves a process ended while it still starts up hanging for good.
    std::ptrdiff_t nStarted = 0;
    const auto bothStarted = [&] { nStarted += 2; return WaitUntil([&] { const std::wstring lines = Recorded(); return std::count(lines.begin(), lines.end(), '\n') == nStarted; }); };
    // Perl's stand-in starts a program of its own, then ends ("leave") or runs on ("start").
    LaunchOptions options = RecordingPerl({m_input});
    options.env.emplace_back(L"CALV_RECORD_HOLD", L"leave");
    // A script that ends by itself may have started a program meant to outlive it: that one
    // still runs a moment after the run (one ended with the run would be going away).
    AppDriver leaving(options);
    leaving.Type(IDC_SCRIPT_NAME, m_script);
    EXPECT_EQ(PressRun(leaving), Texts{});
    ASSERT_TRUE(bothStarted());
    // The stand-in has ended; what it left is a copy of itself from the test's folder.
    HANDLE hLeft = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, FindProcess(L"perl.exe", 0, m_folder / L"app\\perl.exe"));
    EXPECT_TRUE(hLeft && ::WaitForSingleObject(hLeft, 1000) == WAIT_TIMEOUT && ::TerminateProcess(hLeft, 1) && ::CloseHandle(hLeft));
    leaving.Close();

    // Started by a person, or put into a job as Explorer does: one that lets the script leave,
    // one that holds it; and on Windows 7, which then gives the script no job of its own.
    // Ended by Yes to the question, by the task manager while it asks, by the session's end;
    // or by Yes while the system takes its time to end the script.
    enum Job { kNone, kLetsLeave, kHolds };
    enum End { kYes, kKill, kSessionEnd, kLateYes };
    const struct { Job job; bool bNoNesting; End end; } rows[] = {
        {kNone, false, kYes}, {kNone, false, kKill}, {kLetsLeave, false, kYes}, {kLetsLeave, false, kKill},
        {kHolds, false, kYes}, {kHolds, true, kYes}, {kHolds, true, kSessionEnd}, {kNone, false, kLateYes},
    };
    options.env.back().second = L"start";
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.job << row.bNoNesting << row.end);
        AppDriver app(options);
        HANDLE hJob = row.job == kNone ? nullptr : ::CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | (row.job == kLetsLeave ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0);
        ::SetInformationJobObject(hJob, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
        // Into the job before it runs anything; that handle to the program ends with this test.
        EXPECT_TRUE(!hJob || ::AssignProcessToJobObject(hJob, ::OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, app.ProcessId())));
        EXPECT_TRUE(!row.bNoNesting || PlantAnswer(app.ProcessId(), "AssignProcessToJobObject", FALSE));
        EXPECT_TRUE(row.end != kLateYes || PlantAnswer(app.ProcessId(), "TerminateJobObject", TRUE));
        app.Type(IDC_SCRIPT_NAME, m_script);
        app.ClickAsync(IDC_RUN);
        DWORD dwPerl = 0, dwChild = 0;
        ASSERT_TRUE(bothStarted() && WaitUntil([&] { return (dwPerl = FindProcess(L"perl.exe", app.ProcessId())) && (dwChild = FindProcess(L"perl.exe", dwPerl)); }));
        // Watched through handles, which no later process can take over.
        const HANDLE both[] = {::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwPerl),
                               ::OpenProcess(SYNCHRONIZE, FALSE, dwChild)};
        HANDLE hPerl = both[0];
        // In a job always: the test's where it holds the script, else the program's own.
        BOOL bInJob = FALSE, bInAnyJob = FALSE;
        EXPECT_TRUE(::IsProcessInJob(hPerl, nullptr, &bInAnyJob) && bInAnyJob);
        EXPECT_TRUE(!hJob || (::IsProcessInJob(hPerl, hJob, &bInJob) && bInJob == (row.job == kHolds)));
        EXPECT_EQ(::SendMessageW(app.Dialog(), WM_QUERYENDSESSION, 0, 0), 0);  // the session waits for the run
        ::PostMessageW(app.Dialog(), row.end == kSessionEnd ? WM_ENDSESSION : WM_CLOSE, TRUE, 0);
        if (row.end == kKill) { app.WaitForWindow(); app.Kill(); }
        if (row.end == kYes || row.end == kLateYes) app.Answer(app.WaitForWindow(), IDYES);
        if (row.end == kLateYes) {
            // The window answers and reports nothing until the script has ended.
            EXPECT_TRUE(::SendMessageTimeoutW(app.Dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr));
            EXPECT_EQ(app.FindWindowOf(L"#32770"), nullptr);
            ::TerminateProcess(hPerl, 1);
        }
        EXPECT_EQ(AnswerUntilFinished(app), row.end == kKill ? Texts{} : Texts{m_script + L" の実行を中止しました。"});
        EXPECT_EQ(::WaitForMultipleObjects(2, both, TRUE, 30000), WAIT_OBJECT_0);
        for (HANDLE hProcess : both) ::CloseHandle(hProcess);
        EXPECT_TRUE(row.end == kKill || ::SendMessageW(app.Dialog(), WM_QUERYENDSESSION, 0, 0));
        app.Close();
        if (hJob) ::CloseHandle(hJob);
    }
    // Also a program ended by the task manager leaves no error output behind.
    EXPECT_EQ(ErrorFilesLeft(), nErrorFiles);
}

}  // namespace
