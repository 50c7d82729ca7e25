#include "CWinApp.h"

static CWinApp* g_pApp = nullptr;

CWinApp::CWinApp() { g_pApp = this; }
CWinApp::~CWinApp() { g_pApp = nullptr; }

void CWinApp::OnHelp()
{
    // No help file ships with the program: F1 has nothing to open.
}

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxFindResourceHandle(const wchar_t*, const wchar_t*) { return AfxGetInstanceHandle(); }

UINT AfxMessageBoxStyle(UINT nType)
{
    UINT nButtons = nType & MB_TYPEMASK;
    if ((nType & MB_ICONMASK) == 0 && (nButtons == MB_OK || nButtons == MB_YESNO))
        nType |= MB_ICONEXCLAMATION;
    return nType;
}

int AfxMessageBox(const wchar_t* lpszText, UINT nType)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    CString strCaption = g_pApp ? g_pApp->m_strAppName : CString();
    return ::MessageBoxW(pMainWnd ? pMainWnd->m_hWnd : nullptr, lpszText, strCaption, AfxMessageBoxStyle(nType));
}
