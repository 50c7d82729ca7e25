// A second launch while the program runs: its path reaches the running dialog,
// which comes to the front; the second process ends without a window and
// without touching the registry.
#include "RunFixture.h"

#include <algorithm>
#include <cstring>

namespace {

using HandoffTest = RunFixture;

// A path naming no file, of exactly nBytes bytes, in one long folder.
std::wstring PathOfLength(size_t nBytes) { return L"C:\\" + std::wstring(nBytes - 13, 'd') + L"\\part3.ncd"; }

TEST_F(HandoffTest, ASecondLaunchFillsTheFieldsAndBringsTheDialogForward)
{
    SetText(L"SuffixName", L"_old");
    SetDword(L"OptOnOff", 0);
    SetText(L"ScriptFile0", m_script);
    // The first launch's argument names no file: it is shown all the same.
    AppDriver app(LaunchOptions{{L"C:\\work\\absent.ncd"}, {}, {}});
    const Texts started = {L"C:\\work\\", L"absent.ncd", L"C:\\work\\", L"absent_old.ncd"};
    // Typed and not yet read: the output is derived with the suffix the field shows.
    app.Type(IDC_SUFFIX, L"_new");
    // Values only a second instance that loaded ("Convert") or saved ("SuffixName") would put back.
    for (const wchar_t* pszName : {L"SuffixName", L"Convert"}) ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, pszName);

    const std::wstring longest = PathOfLength(1023);  // its NUL is the block's last byte
    const std::wstring longFolder = longest.substr(0, longest.size() - 9);
    // The second launch's arguments; the input's folder and name, the output's folder and name then.
    struct Launch { Texts args, shown; } const launches[] = {
        {{}, started},
        {{PathOfLength(1024)}, started},  // cut to fit the block, it would name another file
        {{L"C:\\work\\part2.ncd"}, {L"C:\\work\\", L"part2.ncd", L"C:\\work\\", L"part2_new.ncd"}},
        {{longest}, {longFolder, L"part3.ncd", longFolder, L"part3_new.ncd"}},
    };
    for (const Launch& launch : launches) {
        HWND hForeground = TakeForeground();
        EXPECT_EQ(WaitForExit(StartCalvendrake(LaunchOptions{launch.args, {}, {}})), 0u);
        ::DestroyWindow(hForeground);
        const Texts shown = Shown(app);
        EXPECT_EQ(Texts(shown.begin() + 2, shown.begin() + 6), launch.shown);
        EXPECT_EQ(shown[1], L"conv.pl");
        EXPECT_EQ(shown[6], L"_new");
        EXPECT_EQ(::GetForegroundWindow(), app.Dialog());
    }
    std::wstring value;
    EXPECT_FALSE(GetText(L"SuffixName", value) || GetText(L"Convert", value));

    // Another program's block with no NUL in it, and a notice: nothing to take.
    const Texts shown = Shown(app);
    HANDLE hBlock = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, L"CALVENDRAKE");
    void* pView = ::MapViewOfFile(hBlock, FILE_MAP_WRITE, 0, 0, 1024);
    ASSERT_NE(pView, nullptr);
    std::memset(pView, 'x', 1024);
    ::UnmapViewOfFile(pView);
    app.Send(WM_HANDOFF_INPUT);
    ::CloseHandle(hBlock);
    EXPECT_EQ(Shown(app), shown);
    app.Close();
}

TEST_F(HandoffTest, AFileHandedOverDuringTheOverwriteQuestionIsShownButNotRun)
{
    const std::wstring script = m_folder.Write(L"upper.pl", kCopyScript), other = m_folder.Write(L"part2.ncd", "n20\n");
    SetDword(L"OptOnOff", 0);
    PlantOptions(0, 0, 0);
    // What the hand-off proposes as output is guarded: an existing namesake, or with no suffix the file itself.
    const struct { std::wstring suffix, guarded; } rows[] = {{L"_cvted", m_folder.Write(L"part2_cvted.ncd", "n30\n")}, {L"", other}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.suffix);
        const std::wstring output = m_folder.Write(L"part1_cvted.ncd", "old\n");
        const std::string guarded = ReadFileText(row.guarded);
        AppDriver app(LaunchOptions{{m_input}, {}, {}});
        app.Type(IDC_SCRIPT_NAME, script);
        app.Type(IDC_SUFFIX, row.suffix);
        HWND hQuestion = FirstMessageOfRun(app);
        EXPECT_EQ(app.MessageText(hQuestion), output + L" は既に存在します。\n上書きしますか?");
        EXPECT_EQ(WaitForExit(StartCalvendrake(LaunchOptions{{other}, {}, {}})), 0u);
        EXPECT_EQ(app.Text(IDC_INPUT_NAME) + L"|" + app.Text(IDC_OUTPUT_NAME), L"part2.ncd|part2" + row.suffix + L".ncd");
        // Yes means the file asked about, and the run goes on with it.
        app.Answer(hQuestion, IDYES);
        EXPECT_EQ(AnswerUntilFinished(app), Texts{});
        EXPECT_EQ(ReadFileText(row.guarded), guarded);
        EXPECT_EQ(ReadFileText(output), "N10 G01\n");
        app.Close();
    }
}

// Stands in for the running instance of any version, a window of the dialog class: reads
// the block as the dialog does and keeps the path.
Texts g_received;

INT_PTR CALLBACK StandInProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message != WM_HANDOFF_INPUT) return FALSE;
    HANDLE hBlock = ::OpenFileMappingW(FILE_MAP_READ, FALSE, L"CALVENDRAKE");
    const char* pchView = hBlock ? static_cast<const char*>(::MapViewOfFile(hBlock, FILE_MAP_READ, 0, 0, 1024)) : nullptr;
    // The block is code page 932 text, as every version writes it.
    g_received.push_back(pchView && std::memchr(pchView, '\0', 1024) ? FromBytes(932, pchView) : L"<unreadable>");
    if (pchView) ::UnmapViewOfFile(pchView);
    if (hBlock) ::CloseHandle(hBlock);
    return TRUE;
}

TEST_F(HandoffTest, AWindowOfAnotherClassTitledCalvendrakeTakesNoLaunch)
{
    // Another class's window under the dialog's title, as Explorer titles the program's folder,
    // above every other window: the launch's path must reach the dialog beneath it.
    HWND hFolder = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Calvendrake", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                     nullptr, nullptr, nullptr, nullptr);

    AppDriver app(LaunchOptions{{m_input}, {}, {}});
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), L"part1.ncd");
    EXPECT_EQ(WaitForExit(StartCalvendrake(LaunchOptions{{m_folder / L"part2.ncd"}, {}, {}})), 0u);
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), L"part2.ncd");
    app.Close();
    ::DestroyWindow(hFolder);
}

TEST_F(HandoffTest, TenLaunchesAtOnceEachDeliverTheirOwnPath)
{
    // To see every delivery, the test plays the running instance itself.
    HWND hStandIn = ::CreateWindowExW(0, MAKEINTRESOURCEW(0x8002), L"Calvendrake", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                      nullptr, nullptr);
    ::SetWindowLongPtrW(hStandIn, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(StandInProc));
    g_received.clear();

    // Paths of different lengths, so that one read half-overwritten by another shows.
    Texts sent = {L"C:\\作業\\表面\\部品9.ncd"};
    for (size_t i = 1; i < 10; ++i) sent.push_back(L"C:\\work\\" + std::wstring(i * 20, 'a') + L"\\part.ncd");
    std::vector<HANDLE> launches;
    for (const std::wstring& path : sent) launches.push_back(StartCalvendrake(LaunchOptions{{path}, {}, {}}));
    // Handle nothing for a while, so that the launches pile up at the block: a sender that
    // wrote without waiting its turn would overwrite a path not yet read.
    ::Sleep(2000);
    for (HANDLE hProcess : launches) EXPECT_EQ(WaitForExit(hProcess), 0u);
    ::DestroyWindow(hStandIn);

    std::sort(sent.begin(), sent.end());
    std::sort(g_received.begin(), g_received.end());
    EXPECT_EQ(g_received, sent);
    std::wstring value;
    EXPECT_FALSE(GetText(L"Convert", value));  // none of them took itself for the first instance
}

}  // namespace
