// Times Calvendrake.exe against bare Win32 programs of the same build, each pair in the same
// round and in alternating order, so that a slow moment of the machine hits
// both sides. Prints one line per round and measure:
//     <measure> <round> <Calvendrake> <baseline>
// in milliseconds (memory in KB); bench/run.sh makes the table from them.
// Usage: bench.exe [ROUNDS]   (Calvendrake.exe, bare_dialog.exe, bare_exit.exe,
// bare_sender.exe beside it, perl.exe on the search path)
// The run is timed twice: with that perl.exe, and with a stand-in perl.exe that ends at once
// (a copy of bare_exit.exe, first on the search path), so that the program's own cost is not
// lost in the spread of Perl's start-up.
#include <windows.h>
#include <psapi.h>

#include "resource.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char kCaption[] = "Calvendrake";
const char kSettingsKey[] = "Software\\Harnox\\Quen\\Calvendrake";
// Generous: only a program that hangs should ever reach it.
const DWORD kTimeoutMs = 30000;

// The least a conversion script does: copy its input to its output.
const char kCopyScript[] =
    "open(my $in, '<', $ARGV[0]) or die \"$ARGV[0]: $!\\n\";\n"
    "open(my $out, '>', $ARGV[1]) or die \"$ARGV[1]: $!\\n\";\n"
    "print $out $_ while <$in>;\n";
const char kInput[] = "%\nO0001\nG90 G54 G00 X0 Y0\nG01 Z-1.0 F100\nX10.0\nM30\n%\n";

struct Process {
    HANDLE hProcess;
    DWORD dwProcessId;
};

// The files of a conversion: a copy script, two inputs and the output of the first.
// bRealPerl: the perl.exe found runs the script, which writes the output.
struct Files {
    std::string script, input, otherInput, output;
    bool bRealPerl;
};

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

std::string ProgramFolder()
{
    char szPath[MAX_PATH] = "";
    DWORD nLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path(szPath, nLength);
    return path.substr(0, path.find_last_of('\\'));
}

Process Start(std::string commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        Fail("cannot start " + commandLine);
    ::CloseHandle(pi.hThread);
    return Process{pi.hProcess, pi.dwProcessId};
}

DWORD WaitForEnd(const Process& process)
{
    DWORD dwExitCode = 0;
    if (::WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) Fail("a program did not end");
    ::GetExitCodeProcess(process.hProcess, &dwExitCode);
    ::CloseHandle(process.hProcess);
    return dwExitCode;
}

// The visible "Calvendrake" window of the process once the process waits for input.
HWND WaitForDialog(const Process& process)
{
    for (double dStart = NowMs(); NowMs() - dStart < kTimeoutMs; ::Sleep(1)) {
        // Calvendrake and the bare dialog may both be open.
        for (HWND hDlg = nullptr; (hDlg = ::FindWindowExA(nullptr, hDlg, nullptr, kCaption));) {
            DWORD dwProcessId = 0;
            if (::GetWindowThreadProcessId(hDlg, &dwProcessId) && dwProcessId == process.dwProcessId &&
                ::IsWindowVisible(hDlg)) {
                ::WaitForInputIdle(process.hProcess, kTimeoutMs);
                return hDlg;
            }
        }
    }
    Fail("no window titled Calvendrake appeared");
}

void CloseDialog(HWND hDlg, const Process& process)
{
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    WaitForEnd(process);
}

std::string ControlText(HWND hDlg, int nID)
{
    char szText[MAX_PATH] = "";
    ::SendDlgItemMessageA(hDlg, nID, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText));
    return szText;
}

unsigned long PeakWorkingSetKb(HANDLE hProcess)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    if (!::GetProcessMemoryInfo(hProcess, &counters, sizeof(counters))) Fail("no memory counters");
    return static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024);
}

void WriteTextFile(const std::string& path, const char* pszText)
{
    FILE* pFile = std::fopen(path.c_str(), "wb");
    if (!pFile || std::fputs(pszText, pFile) < 0 || std::fclose(pFile) != 0) Fail("cannot write " + path);
}

Files MakeFiles()
{
    char szTemp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string folder = std::string(szTemp) + "calvendrake-bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    Files files{folder + "\\copy.pl", folder + "\\part.ncd", folder + "\\other.ncd", folder + "\\part_cvted.ncd",
                true};
    WriteTextFile(files.script, kCopyScript);
    WriteTextFile(files.input, kInput);
    WriteTextFile(files.otherInput, kInput);
    return files;
}

// Every start meets the same returning user: positions already in pixels, the
// options panel closed, the copy script in the list and no after-run action, so
// that Run neither opens a message box nor another program.
void PlantSettings(const Files& files)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        Fail("cannot write the settings");
    const struct {
        const char* pszName;
        DWORD dwValue;
    } dwords[] = {{"Convert", 1},       {"PosLeft", 100},        {"PosTop", 100}, {"OpenCvtedFile", 0},
                  {"ExitAfterCvt", 0}, {"CompleteDialog", 0}, {"OptOnOff", 1}};
    for (const auto& value : dwords)
        ::RegSetValueExA(hKey, value.pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.dwValue),
                         sizeof(value.dwValue));
    const std::string texts[][2] = {{"ScriptFile0", files.script}, {"SuffixName", "_cvted"}};
    for (const auto& text : texts)
        ::RegSetValueExA(hKey, text[0].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text[1].c_str()),
                         static_cast<DWORD>(text[1].size() + 1));
    ::RegCloseKey(hKey);
}

// Start to shown and idle, then the peak working set; the dialog is closed again.
double TimeStartup(const std::string& program, unsigned long& ulPeakKb)
{
    double dStart = NowMs();
    Process process = Start(Quote(program));
    HWND hDlg = WaitForDialog(process);
    double dElapsed = NowMs() - dStart;
    ulPeakKb = PeakWorkingSetKb(process.hProcess);
    CloseDialog(hDlg, process);
    return dElapsed;
}

void RemoveOutput(const Files& files)
{
    if (!::DeleteFileA(files.output.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        Fail("cannot delete " + files.output);
}

void CheckOutput(const Files& files)
{
    if (files.bRealPerl && ::GetFileAttributesA(files.output.c_str()) == INVALID_FILE_ATTRIBUTES)
        Fail("the run wrote no output");
}

// From now on "perl" is a copy of bare_exit.exe, for this process and the programs it starts.
void UseStandInPerl(const std::string& bareExit, Files& files)
{
    const std::string folder = files.script.substr(0, files.script.find_last_of('\\')) + "\\stand-in";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (!::CopyFileA(bareExit.c_str(), (folder + "\\perl.exe").c_str(), FALSE)) Fail("cannot copy " + bareExit);
    char szPath[32767] = "";
    ::GetEnvironmentVariableA("PATH", szPath, sizeof(szPath));
    ::SetEnvironmentVariableA("PATH", (folder + ";" + szPath).c_str());
    files.bRealPerl = false;
}

// Run pressed until OnRun returns. A message box would block the click, hence the timeout.
double TimeRun(HWND hDlg, const Files& files)
{
    RemoveOutput(files);
    double dStart = NowMs();
    DWORD_PTR dwResult = 0;
    if (!::SendMessageTimeoutA(::GetDlgItem(hDlg, IDC_RUN), BM_CLICK, 0, 0, SMTO_NORMAL, kTimeoutMs, &dwResult))
        Fail("Run did not return: is a message box open?");
    double dElapsed = NowMs() - dStart;
    CheckOutput(files);
    return dElapsed;
}


// A second launch (Calvendrake's, or the bare sender's) until it has ended and
// the running dialog shows its input.
double TimeHandoff(HWND hDlg, const std::string& program, const std::string& input)
{
    const std::string name = input.substr(input.find_last_of('\\') + 1);
    double dStart = NowMs();
    WaitForEnd(Start(Quote(program) + " " + Quote(input)));
    while (ControlText(hDlg, IDC_INPUT_NAME) != name) {
        if (NowMs() - dStart > kTimeoutMs) Fail("the hand-off did not arrive");
        ::Sleep(1);
    }
    return NowMs() - dStart;
}

double TimeBareExit(const std::string& program)
{
    double dStart = NowMs();
    WaitForEnd(Start(Quote(program)));
    return NowMs() - dStart;
}

template <typename Program, typename Baseline>
void Measure(const char* pszMeasure, int nRound, Program timeProgram, Baseline timeBaseline)
{
    double dProgram, dBaseline;
    if (nRound % 2) {
        dBaseline = timeBaseline();
        dProgram = timeProgram();
    } else {
        dProgram = timeProgram();
        dBaseline = timeBaseline();
    }
    if (nRound > 0) std::printf("%s %d %.3f %.3f\n", pszMeasure, nRound, dProgram, dBaseline);
    std::fflush(stdout);
}

// Rounds of Run in Calvendrake against the same Perl command run by the bare dialog's Run
// button. Both dialogs are opened for the rounds and closed after them: a second Calvendrake
// would take the bare dialog for a running instance.
void MeasureRuns(const char* pszMeasure, int nRounds, const std::string& calvendrake, const std::string& bareDialog,
                 const Files& files)
{
    Process running = Start(Quote(calvendrake) + " " + Quote(files.input));
    HWND hDlg = WaitForDialog(running);
    Process bare = Start(Quote(bareDialog) + " perl " + Quote(files.script) + " " + Quote(files.input) + " " +
                         Quote(files.output));
    HWND hBare = WaitForDialog(bare);
    for (int nRound = 0; nRound <= nRounds; ++nRound)
        Measure(pszMeasure, nRound, [&] { return TimeRun(hDlg, files); }, [&] { return TimeRun(hBare, files); });
    CloseDialog(hBare, bare);
    CloseDialog(hDlg, running);
}

}  // namespace

int main(int argc, char** argv)
{
    const int nRounds = argc > 1 ? std::atoi(argv[1]) : 21;
    const std::string folder = ProgramFolder();
    const std::string calvendrake = folder + "\\Calvendrake.exe";
    const std::string bareDialog = folder + "\\bare_dialog.exe";
    const std::string bareExit = folder + "\\bare_exit.exe";
    const std::string bareSender = folder + "\\bare_sender.exe";
    Files files = MakeFiles();

    // Round 0 warms the caches and is not printed.
    for (int nRound = 0; nRound <= nRounds; ++nRound) {
        unsigned long ulProgramKb = 0, ulBaselineKb = 0;
        Measure("startup", nRound,
                [&] { PlantSettings(files); return TimeStartup(calvendrake, ulProgramKb); },
                [&] { return TimeStartup(bareDialog, ulBaselineKb); });
        if (nRound > 0) std::printf("memory %d %lu %lu\n", nRound, ulProgramKb, ulBaselineKb);
    }

    PlantSettings(files);
    MeasureRuns("run", nRounds, calvendrake, bareDialog, files);
    // Programs started now find the stand-in.
    UseStandInPerl(bareExit, files);
    MeasureRuns("standin", nRounds, calvendrake, bareDialog, files);
    Process running = Start(Quote(calvendrake) + " " + Quote(files.input));
    HWND hDlg = WaitForDialog(running);
    // Alternating inputs, so that every hand-off changes what the dialog shows.
    for (int nRound = 0; nRound <= nRounds; ++nRound)
        Measure("handoff", nRound,
                [&] { return TimeHandoff(hDlg, calvendrake, nRound % 2 ? files.input : files.otherInput); },
                [&] { return TimeBareExit(bareExit); });
    // Against the least that does the same hand-off.
    for (int nRound = 0; nRound <= nRounds; ++nRound) {
        const std::string& input = nRound % 2 ? files.input : files.otherInput;
        Measure("sender", nRound, [&] { return TimeHandoff(hDlg, calvendrake, input); },
                [&] { return TimeHandoff(hDlg, bareSender, nRound % 2 ? files.otherInput : files.input); });
    }
    CloseDialog(hDlg, running);
    return 0;
}
