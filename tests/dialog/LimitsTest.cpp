// The program at its limits, through the real window: an output path too long
// for the system's buffers, and a script that floods its error output.
#include "RunFixture.h"

#include <psapi.h>

namespace {

class LimitsTest : public RunFixture {};

// The most the process has ever held in memory, in MB.
size_t PeakWorkingSetMb(DWORD dwProcessId)
{
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, dwProcessId);
    PROCESS_MEMORY_COUNTERS counters = {};
    EXPECT_TRUE(hProcess && ::K32GetProcessMemoryInfo(hProcess, &counters, sizeof(counters)));
    if (hProcess) ::CloseHandle(hProcess);
    return counters.PeakWorkingSetSize / (1024 * 1024);
}

TEST_F(LimitsTest, RefusesAnOutputPathTooLongToCheck)
{
    // 259 bytes is the longest path the system's buffers hold.
    const std::wstring longest = m_folder.Write(std::wstring(258 - m_folder.Path().size(), 'o'), "old\n");
    const std::wstring tooLong = longest + L"o";
    ASSERT_EQ(longest.size(), 259u);
    AppDriver app(RecordingPerl({m_input}));
    app.Type(IDC_SCRIPT_NAME, m_script);

    app.Type(IDC_OUTPUT_NAME, longest);
    EXPECT_EQ(PressRun(app), Texts{longest + L" は既に存在します。\n上書きしますか?"});

    // One byte more and the output cannot be checked: refused before any question, nothing run.
    app.Type(IDC_OUTPUT_NAME, tooLong);
    EXPECT_EQ(PressRun(app), Texts{tooLong + L" は不正なファイルです。"});
    EXPECT_EQ(app.FocusedId(), IDC_OUTPUT_NAME);
    EXPECT_EQ(app.EditSelection(IDC_OUTPUT_NAME), WholeText(app.Text(IDC_OUTPUT_NAME)));
    EXPECT_EQ(Recorded(), L"");
    app.Close();
}

TEST_F(LimitsTest, AFloodOfErrorOutputLeavesMemoryFlat)
{
    // 210 MB of warnings from a runaway loop, then the line that matters.
    const std::wstring warning = L"warning: runaway loop " + std::wstring(77, '.') + L"\n";
    const std::wstring script = m_folder.Write(L"flood.pl",
                                              "my $line = 'warning: runaway loop ' . ('.' x 77) . \"\\n\";\n"
                                              "print STDERR $line x 10000 for 1 .. 210;\n"
                                              "print STDERR \"last words\\n\";\n"
                                              "exit 4;\n");
    AppDriver app(LaunchOptions{{m_input}, {}, {}});
    app.Type(IDC_SCRIPT_NAME, script);

    std::wstring expected = script + L" の実行に失敗しました。（終了コード 4）\n\n";
    for (int nLine = 0; nLine < 19; ++nLine) expected += warning;
    EXPECT_EQ(PressRun(app), Texts{expected + L"last words"});
    // The idle window holds about 25 MB; reading the whole output took over 200.
    EXPECT_LT(PeakWorkingSetMb(app.ProcessId()), 100u);
    app.Close();
}

}  // namespace
