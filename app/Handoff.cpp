#include "Handoff.h"
#include "resource.h"

#include <cstring>

namespace {

const char kMainCaption[] = "Calvendrake";
const char kBlockName[] = "CALVENDRAKE";
const DWORD kBlockSize = 1024;
// Senders share the one block: two launches at the same moment would
// overwrite each other's path before the receiver has read it.
const char kSenderLockName[] = "CALVENDRAKE.handoff";

BOOL WriteBlockAndNotify(HWND hWndRunning, const char* pszPath, size_t nLength)
{
    HANDLE hBlock = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlockName);
    if (!hBlock) return FALSE;
    BOOL bSent = FALSE;
    // The whole 1024 bytes or nothing: a smaller block made by another program fails here.
    if (void* pView = ::MapViewOfFile(hBlock, FILE_MAP_WRITE, 0, 0, kBlockSize)) {
        std::memset(pView, 0, kBlockSize);
        std::memcpy(pView, pszPath, nLength + 1);
        ::UnmapViewOfFile(pView);
        // Returns once the receiver has read the block, which our handle keeps alive until then.
        ::SendMessageA(hWndRunning, WM_HANDOFF_INPUT, 0, 0);
        bSent = TRUE;
    }
    ::CloseHandle(hBlock);
    return bSent;
}

}  // namespace

HWND FindRunningInstance()
{
    // Only a dialog counts: a folder, editor or browser window may carry the same title.
    HWND hWnd = ::FindWindowA(WC_DIALOG, kMainCaption);
    return hWnd ? ::GetAncestor(hWnd, GA_ROOTOWNER) : nullptr;
}

BOOL SendHandoff(HWND hWndRunning, const char* pszPath)
{
    size_t nLength = std::strlen(pszPath);
    if (nLength >= kBlockSize) return FALSE;

    HANDLE hLock = ::CreateMutexA(nullptr, FALSE, kSenderLockName);
    if (!hLock) return FALSE;
    BOOL bSent = FALSE;
    // A sender that died holding the lock leaves it abandoned, and the wait
    // then hands it to us: one crash does not block every later launch.
    DWORD dwWait = ::WaitForSingleObject(hLock, INFINITE);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED) {
        bSent = WriteBlockAndNotify(hWndRunning, pszPath, nLength);
        ::ReleaseMutex(hLock);
    }
    ::CloseHandle(hLock);
    return bSent;
}

BOOL ReadHandoffBlock(CString& strPath)
{
    HANDLE hBlock = ::OpenFileMappingA(FILE_MAP_READ, FALSE, kBlockName);
    if (!hBlock) return FALSE;
    BOOL bRead = FALSE;
    if (const void* pView = ::MapViewOfFile(hBlock, FILE_MAP_READ, 0, 0, kBlockSize)) {
        // Any program can fill a block of this name: without a NUL inside it
        // there is no path to take.
        const char* pchBlock = static_cast<const char*>(pView);
        if (const void* pNul = std::memchr(pchBlock, '\0', kBlockSize)) {
            strPath = CString(pchBlock, static_cast<int>(static_cast<const char*>(pNul) - pchBlock));
            bRead = TRUE;
        }
        ::UnmapViewOfFile(pView);
    }
    ::CloseHandle(hBlock);
    return bRead;
}
