#include "PerlLocation.h"
#include "AfxWin.h"
#include "FileAttributes.h"
#include "PathRules.h"

#include <cstdlib>

namespace {

// "C:\..." or "\\server\...": a folder that does not depend on the current one.
bool IsFullPath(const char* p)
{
    return (p[0] != '\0' && p[1] == ':' && p[2] == '\\') || (p[0] == '\\' && p[1] == '\\');
}

}  // namespace

CString PathEntryFolder(const CString& strEntry)
{
    // Neither '"' nor '/' is ever the second byte of a double-byte character.
    CString strFolder;
    for (const char* p = strEntry; *p; ++p)
        if (*p != '"') strFolder += *p == '/' ? '\\' : *p;
    return IsFullPath(strFolder) ? strFolder : CString();
}

std::vector<CString> PerlSearchFolders(const CString& strProgramFolder, const CString& strSystemFolder,
                                       const CString& strWindowsFolder, const char* pszPath)
{
    std::vector<CString> folders = {strProgramFolder, strSystemFolder, strWindowsFolder + "\\System", strWindowsFolder};
    // The separator ';' is never the second byte of a double-byte character.
    CString strRest = pszPath ? pszPath : "";
    while (!strRest.IsEmpty()) {
        const int nEnd = strRest.Find(';');
        const CString strFolder = PathEntryFolder(nEnd < 0 ? strRest : strRest.Left(nEnd));
        if (!strFolder.IsEmpty()) folders.push_back(strFolder);
        strRest = nEnd < 0 ? CString() : strRest.Mid(nEnd + 1);
    }
    return folders;
}

CString FindPerl()
{
    char szProgram[MAX_PATH] = "", szSystem[MAX_PATH] = "", szWindows[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szProgram, MAX_PATH);
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    PathParts program = SplitPath(szProgram);
    const CString strProgramFolder = program.drive + program.dir.Left(program.dir.GetLength() - 1);
    // getenv, not GetEnvironmentVariableA: Wine's cuts double-byte values in half.
    for (const CString& strFolder : PerlSearchFolders(strProgramFolder, szSystem, szWindows, std::getenv("PATH"))) {
        // A folder given with a final backslash gets a second one, which Windows reads as one.
        const CString strPerl = strFolder + "\\perl.exe";
        const DWORD dwAttributes = GetPathAttributes(strPerl);
        if (dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) return strPerl;
    }
    return CString();
}
