#include "SameFile.h"

#include <cstring>

namespace {

// GetFileInformationByHandleEx's class and record for the 128-bit id, which Windows 8 brought.
constexpr int kFileIdInfo = 18;
struct FileIdRecord {
    ULONGLONG ullVolume;
    BYTE id[16];
};

// The file's identity, read through a handle that asks for its attributes only:
// every share mode lets it open beside a program that has the file open.
// The 128-bit id where the system has it: on ReFS the 64-bit index is not unique.
bool GetFileIdentity(const wchar_t* pszPath, FileIdentity& identity)
{
    HANDLE hFile = ::CreateFileW(pszPath, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    const auto pfnGetInfoEx =
        GetSystemProc<BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD)>(L"kernel32.dll", "GetFileInformationByHandleEx");
    FileIdRecord idInfo = {};
    BY_HANDLE_FILE_INFORMATION info = {};
    bool bKnown = true;
    if (pfnGetInfoEx && pfnGetInfoEx(hFile, kFileIdInfo, &idInfo, sizeof(idInfo))) {
        identity.ullVolume = idInfo.ullVolume;
        std::memcpy(identity.id, idInfo.id, sizeof(identity.id));
    } else if (::GetFileInformationByHandle(hFile, &info)) {
        identity.ullVolume = info.dwVolumeSerialNumber;
        const ULONGLONG ullIndex = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        std::memcpy(identity.id, &ullIndex, sizeof(ullIndex));
    } else {
        bKnown = false;
    }
    ::CloseHandle(hFile);
    return bKnown;
}

}  // namespace

bool IsSameIdentity(const FileIdentity& a, const FileIdentity& b)
{
    static const BYTE kUnknown[sizeof(a.id)] = {};
    return a.ullVolume == b.ullVolume && std::memcmp(a.id, b.id, sizeof(a.id)) == 0 &&
           std::memcmp(a.id, kUnknown, sizeof(a.id)) != 0;
}

bool IsSameFile(const wchar_t* pszPathA, const wchar_t* pszPathB)
{
    FileIdentity identityA, identityB;
    return GetFileIdentity(pszPathA, identityA) && GetFileIdentity(pszPathB, identityB) &&
           IsSameIdentity(identityA, identityB);
}
