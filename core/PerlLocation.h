#pragma once
// Where the program finds the perl it runs. Started by name alone, Windows
// would also take a perl.exe from the current folder, which is the folder of
// the data file a user opened and may hold anything.
#include "CString.h"

#include <vector>

// The folders searched for perl.exe, in Windows' order for a program started by
// name, less the current folder: the program's own folder, the system folder,
// the 16-bit system folder, the Windows folder, then each folder of PATH that is
// a full path (a relative entry names a folder below the current one).
std::vector<CString> PerlSearchFolders(const CString& strProgramFolder, const CString& strSystemFolder,
                                       const CString& strWindowsFolder, const wchar_t* pszPath);
// The full path of the first perl.exe in those folders; empty when there is none.
CString FindPerl();
