#pragma once
#include "AfxWin.h"

// Whether two paths reach one file: the same volume and the same file index,
// whatever the spelling (case, short names, "." and "..", another drive letter
// or share). False when either cannot be opened to ask.
bool IsSameFile(const wchar_t* pszPathA, const wchar_t* pszPathB);
