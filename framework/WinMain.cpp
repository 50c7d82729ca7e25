#include "CWinApp.h"

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return 1;
    pApp->m_hInstance = hInstance;
    wchar_t szPath[MAX_PATH] = L"";
    wchar_t szName[_MAX_FNAME] = L"";
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    // The C runtime splits the path, not the shell's library: a second launch,
    // which only hands its path over, does not load that library at all.
    _wsplitpath(szPath, nullptr, nullptr, szName, nullptr);
    pApp->m_strAppName = szName;
    pApp->InitInstance();
    return 0;
}

// The program throws nothing it catches: on a fatal error it simply aborts.
// Our own handler keeps the runtime's verbose one, and the name demangler it
// drags in, out of the program file.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}
