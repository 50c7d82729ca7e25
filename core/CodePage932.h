#pragma once
// Names that come in from outside as UTF-16 (command lines, drops, choosers,
// typed text, the registry) and the code page 932 text the program works with.
#include "CString.h"

#include <string>

// The code page 932 text of strWide, only when code page 932 carries it
// exactly: no default character, no best-fit look-alike (ü as u, ¥ as '\'),
// and the same UTF-16 when converted back. Otherwise false, strAnsi unchanged.
bool ToCodePage932(const std::wstring& strWide, CString& strAnsi);
