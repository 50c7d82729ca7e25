#pragma once
// How a full path is cut into parts, how an output path is proposed and how
// a typed name becomes a full path again. Over characters: '\' and '/' are
// folder separators wherever they stand, and nothing else is.
#include "CString.h"

struct PathParts {
    CString drive;  // "C:" or empty
    CString dir;    // up to and including the last '\' or '/'
    CString fname;  // after the directory, up to the last '.'
    CString ext;    // from the last '.' of the name, '.' included
};

PathParts SplitPath(const wchar_t* pszPath);
// drive + directory + name + suffix + extension: the suffix goes before the extension.
CString DeriveOutputPath(const wchar_t* pszInputPath, const wchar_t* pszSuffix);
// The typed text itself when it has a drive or directory, else it joins the
// previous path's drive and directory.
CString ResolveTypedName(const wchar_t* pszTyped, const wchar_t* pszPreviousPath);
// Case-insensitive comparison as the C runtime's for code page 932, for every name: the ASCII
// and the full-width Latin letters fold, every other character compares exactly.
int CompareNoCase932(const wchar_t* pszA, const wchar_t* pszB);
