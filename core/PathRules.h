#pragma once
// How a full path is cut into parts, how an output path is proposed and how
// a typed name becomes a full path again. Code page 932 throughout: a
// double-byte character is never split, even when its second byte is '\'.
#include "CString.h"

struct PathParts {
    CString drive;  // "C:" or empty
    CString dir;    // up to and including the last '\' or '/'
    CString fname;  // after the directory, up to the last '.'
    CString ext;    // from the last '.' of the name, '.' included
};

bool IsLeadByte932(unsigned char ch);
PathParts SplitPath(const char* pszPath);
// drive + directory + name + suffix + extension: the suffix goes before the extension.
CString DeriveOutputPath(const char* pszInputPath, const char* pszSuffix);
// The typed text itself when it has a drive or directory, else it joins the
// previous path's drive and directory.
CString ResolveTypedName(const char* pszTyped, const char* pszPreviousPath);
// Case-insensitive comparison as the C runtime's for code page 932: ASCII and
// full-width Latin letters fold, every other character compares exactly.
int CompareNoCase932(const char* pszA, const char* pszB);
