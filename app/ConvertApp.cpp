#include "ConvertApp.h"
#include "ConvertDlg.h"
#include "Handoff.h"
#include "PathRules.h"

#include <cstdlib>

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
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto pfnSetDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (pfnSetDefaultDllDirectories) pfnSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace

BOOL CConvertApp::InitInstance()
{
    LoadLibrariesFromSafeFolders();
    HWND hWndRunning = FindRunningInstance();
    if (hWndRunning) {
        if (__argc >= 2) SendHandoff(hWndRunning, __argv[1]);
        // A message box open over the dialog keeps the keyboard: bring it, not the disabled dialog, to the front.
        ::SetForegroundWindow(::GetLastActivePopup(hWndRunning));
        return FALSE;
    }

    if (!m_settings.LoadSettings()) return FALSE;
    if (__argc >= 2) {
        m_strInputPath = __argv[1];
        m_strOutputPath = DeriveOutputPath(__argv[1], m_settings.GetSuffix());
    }

    CConvertDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
