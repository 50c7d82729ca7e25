// Stands in for another program in the tests: appends its command line, one
// line per start, to the file named by CALV_RECORD_FILE and exits with
// CALV_RECORD_EXIT (default 0).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    if (const char* pszFile = std::getenv("CALV_RECORD_FILE")) {
        if (FILE* pFile = std::fopen(pszFile, "ab")) {
            std::fprintf(pFile, "%s\n", ::GetCommandLineA());
            std::fclose(pFile);
        }
    }
    const char* pszExit = std::getenv("CALV_RECORD_EXIT");
    return pszExit ? std::atoi(pszExit) : 0;
}
