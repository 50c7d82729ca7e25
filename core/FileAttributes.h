#pragma once
#include "AfxWin.h"

// GetFileAttributesA for a full path. A path of MAX_PATH bytes or more counts
// as absent: the program's buffers never hold it, so it is never used cut.
DWORD GetPathAttributes(const char* pszPath);
