// Stands in for another program in the tests: appends its command line as it was
// given, in UTF-8, one line per start, to the file named by CALV_RECORD_FILE, and succeeds.
// With CALV_RECORD_HOLD=start it stands in for a script that starts another
// program (a copy of itself told to wait) and never ends; with "leave" the
// script ends after starting it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
{
    const wchar_t* pszFile = _wgetenv(L"CALV_RECORD_FILE");
    if (FILE* pFile = pszFile ? _wfopen(pszFile, L"ab") : nullptr) {
        const wchar_t* pszLine = ::GetCommandLineW();
        char szLine[8192] = "";
        ::WideCharToMultiByte(CP_UTF8, 0, pszLine, -1, szLine, sizeof(szLine), nullptr, nullptr);
        std::fprintf(pFile, "%s\n", szLine);
        std::fclose(pFile);
    }
    const char* pszHold = std::getenv("CALV_RECORD_HOLD");
    if (!pszHold) return 0;
    if (std::strcmp(pszHold, "wait") != 0) {
        char szSelf[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
        ::SetEnvironmentVariableA("CALV_RECORD_HOLD", "wait");
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (::CreateProcessA(szSelf, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) ::CloseHandle(pi.hThread);
    }
    if (std::strcmp(pszHold, "leave") != 0) ::Sleep(INFINITE);
    return 0;
}
