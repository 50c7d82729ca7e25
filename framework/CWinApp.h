#pragma once
#include "CWnd.h"

// The one application object. WinMain names it after the program file and
// calls InitInstance, which runs the program.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance() { return FALSE; }
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    CString m_strAppName;  // the program file's name without its extension
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxFindResourceHandle(const wchar_t* lpszName, const wchar_t* lpszType);

// Message box captioned with the application's name and owned by the main
// window; an MB_OK or MB_YESNO box without an icon gets the warning icon.
int AfxMessageBox(const wchar_t* lpszText, UINT nType = MB_OK);
UINT AfxMessageBoxStyle(UINT nType);

// The framework's help command.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
