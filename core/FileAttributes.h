#pragma once
#include "AfxWin.h"

// GetFileAttributesW for a full path. A path of MAX_PATH characters or more counts
// as absent: the program's buffers never hold it, so it is never used cut.
DWORD GetPathAttributes(const wchar_t* pszPath);
