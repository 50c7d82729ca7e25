#include "CWinApp.h"

#include <shlwapi.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return 1;
    pApp->m_hInstance = hInstance;
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    char* pszName = ::PathFindFileNameA(szPath);
    ::PathRemoveExtensionA(pszName);
    pApp->m_strAppName = pszName;
    pApp->InitInstance();
    return 0;
}
