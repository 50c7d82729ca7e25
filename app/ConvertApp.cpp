#include "ConvertApp.h"
#include "CommandLine.h"
#include "ConvertDlg.h"
#include "Handoff.h"
#include "PathRules.h"

CConvertApp theApp;

BEGIN_MESSAGE_MAP(CConvertApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CConvertApp& GetConvertApp() { return theApp; }

namespace {

// Libraries from the system folders and the program's own only, never from the current
// folder, which may be a data file's. Windows 7 has the call only with an update: looked up.
void LoadLibrariesFromSafeFolders()
{
    const auto pfnSetDefaultDllDirectories =
        GetSystemProc<BOOL(WINAPI*)(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (pfnSetDefaultDllDirectories) pfnSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace

BOOL CConvertApp::InitInstance()
{
    LoadLibrariesFromSafeFolders();
    const std::vector<std::wstring> args = SplitCommandLine(::GetCommandLineW());
    const bool bArgument = args.size() >= 2;
    const CString strArgument = bArgument ? CString(args[1]) : CString();
    HWND hWndRunning = FindRunningInstance();
    if (hWndRunning) {
        if (bArgument) SendHandoff(hWndRunning, strArgument);
        // A message box open over the dialog keeps the keyboard: bring it, not the disabled dialog, to the front.
        ::SetForegroundWindow(::GetLastActivePopup(hWndRunning));
        return FALSE;
    }

    if (!m_settings.LoadSettings()) return FALSE;
    if (bArgument) {
        m_strInputPath = strArgument;
        m_strOutputPath = DeriveOutputPath(strArgument, m_settings.GetSuffix());
    }

    CConvertDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
