// Stands in for another program in the tests: appends its command line, one
// line per start, to the file named by CALV_RECORD_FILE, and succeeds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    const char* pszFile = std::getenv("CALV_RECORD_FILE");
    if (FILE* pFile = pszFile ? std::fopen(pszFile, "ab") : nullptr) {
        std::fprintf(pFile, "%s\n", ::GetCommandLineA());
        std::fclose(pFile);
    }
    return 0;
}
