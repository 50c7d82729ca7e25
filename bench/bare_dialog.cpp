// Calvendrake's main dialog template with a trivial dialog procedure: the
// start-up baseline, so that the comparison counts only what the program adds.
#include <windows.h>

#include "resource.h"

static INT_PTR CALLBACK BareDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), nullptr, BareDialogProc, 0));
}
