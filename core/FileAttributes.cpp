#include "FileAttributes.h"

#include <cstring>

DWORD GetPathAttributes(const char* pszPath)
{
    if (std::strlen(pszPath) >= MAX_PATH) return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesA(pszPath);
}
