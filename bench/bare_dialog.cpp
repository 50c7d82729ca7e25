// Calvendrake's main dialog template with a trivial dialog procedure: the start-up baseline,
// so that the comparison counts only what the program adds. Started with a command line, its
// Run button is the run baseline: it starts that command hidden and waits for it, the least
// any dialog's Run can do.
#include <windows.h>

#include "resource.h"

static INT_PTR CALLBACK BareDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    static char* pszCommandLine = nullptr;
    if (message == WM_INITDIALOG) {
        pszCommandLine = reinterpret_cast<char*>(lParam);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_RUN && *pszCommandLine) {
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION pi = {};
        if (::CreateProcessA(nullptr, pszCommandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ::WaitForSingleObject(pi.hProcess, INFINITE);
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    return static_cast<int>(::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), nullptr, BareDialogProc,
                                              reinterpret_cast<LPARAM>(lpCmdLine)));
}
