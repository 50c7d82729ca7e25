#include "ConvertApp.h"
#include "CodePage932.h"
#include "CommandLine.h"
#include "ConvertDlg.h"
#include "Handoff.h"
#include "NameRefusal.h"
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
        GetSystemProc<BOOL(WINAPI*)(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
    if (pfnSetDefaultDllDirectories) pfnSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace

BOOL CConvertApp::InitInstance()
{
    LoadLibrariesFromSafeFolders();
    // The wide command line: the ANSI one holds look-alikes for what code page 932 cannot carry.
    const std::vector<std::wstring> args = SplitCommandLine(::GetCommandLineW());
    CString strArgument;
    const bool bArgument = args.size() >= 2;
    const bool bCarried = bArgument && ToCodePage932(args[1], strArgument);
    HWND hWndRunning = FindRunningInstance();
    if (hWndRunning) {
        // Owned by the running dialog, the message is no window another launch could take for it.
        if (bCarried) SendHandoff(hWndRunning, strArgument);
        else if (bArgument) ShowNameRefused(hWndRunning, args[1]);
        // A message box open over the dialog keeps the keyboard: bring it, not the disabled dialog, to the front.
        ::SetForegroundWindow(::GetLastActivePopup(hWndRunning));
        return FALSE;
    }

    if (!m_settings.LoadSettings()) return FALSE;
    if (bCarried) {
        m_strInputPath = strArgument;
        m_strOutputPath = DeriveOutputPath(strArgument, m_settings.GetSuffix());
    } else if (bArgument) {
        m_strRefusedInput = args[1];
    }

    CConvertDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
