#include "PerlLocation.h"
#include "AfxWin.h"
#include "FileAttributes.h"
#include "PathRules.h"

#include <string>

namespace {

// "C:\..." or "\\server\...": a folder that does not depend on the current one.
bool IsFullPath(const wchar_t* p)
{
    return (p[0] != L'\0' && p[1] == L':' && p[2] == L'\\') || (p[0] == L'\\' && p[1] == L'\\');
}

// The value of PATH, empty when it is not set.
CString PathVariable()
{
    const DWORD nSize = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (nSize == 0) return CString();
    std::wstring value(nSize, L'\0');
    value.resize(::GetEnvironmentVariableW(L"PATH", &value[0], nSize));
    return CString(value);
}

}  // namespace

std::vector<CString> PerlSearchFolders(const CString& strProgramFolder, const CString& strSystemFolder,
                                       const CString& strWindowsFolder, const wchar_t* pszPath)
{
    std::vector<CString> folders = {strProgramFolder, strSystemFolder, strWindowsFolder + L"\\System", strWindowsFolder};
    CString strRest = pszPath;
    while (!strRest.IsEmpty()) {
        const int nEnd = strRest.Find(L';');
        const CString strEntry = nEnd < 0 ? strRest : strRest.Left(nEnd);
        if (IsFullPath(strEntry)) folders.push_back(strEntry);
        strRest = nEnd < 0 ? CString() : strRest.Mid(nEnd + 1);
    }
    return folders;
}

CString FindPerl()
{
    wchar_t szProgram[MAX_PATH] = L"", szSystem[MAX_PATH] = L"", szWindows[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, szProgram, MAX_PATH);
    ::GetSystemDirectoryW(szSystem, MAX_PATH);
    ::GetWindowsDirectoryW(szWindows, MAX_PATH);
    PathParts program = SplitPath(szProgram);
    const CString strProgramFolder = program.drive + program.dir.Left(program.dir.GetLength() - 1);
    for (const CString& strFolder : PerlSearchFolders(strProgramFolder, szSystem, szWindows, PathVariable())) {
        // A folder given with a final backslash gets a second one, which Windows reads as one.
        const CString strPerl = strFolder + L"\\perl.exe";
        const DWORD dwAttributes = GetPathAttributes(strPerl);
        if (dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) return strPerl;
    }
    return CString();
}
