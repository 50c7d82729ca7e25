#include "SameFile.h"

namespace {

// The file's identity, read through a handle that asks for its attributes only:
// every share mode lets it open beside a program that has the file open.
bool GetFileIdentity(const wchar_t* pszPath, BY_HANDLE_FILE_INFORMATION& info)
{
    HANDLE hFile = ::CreateFileW(pszPath, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    const bool bKnown = ::GetFileInformationByHandle(hFile, &info) != FALSE;
    ::CloseHandle(hFile);
    return bKnown;
}

}  // namespace

bool IsSameFile(const wchar_t* pszPathA, const wchar_t* pszPathB)
{
    BY_HANDLE_FILE_INFORMATION infoA = {}, infoB = {};
    return GetFileIdentity(pszPathA, infoA) && GetFileIdentity(pszPathB, infoB) &&
           infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber && infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
           infoA.nFileIndexLow == infoB.nFileIndexLow;
}
