#pragma once
#include "AfxWin.h"

#include <string>

// Tells the user that a file's name holds characters code page 932 cannot
// carry, showing the name as it is: a warning box owned by hWndOwner.
void ShowNameRefused(HWND hWndOwner, const std::wstring& strName);
