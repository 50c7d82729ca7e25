#include "FileAttributes.h"

#include <cwchar>

DWORD GetPathAttributes(const wchar_t* pszPath)
{
    if (std::wcslen(pszPath) >= MAX_PATH) return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(pszPath);
}
