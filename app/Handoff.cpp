#include "Handoff.h"
#include "resource.h"

#include <cstring>

namespace {

const wchar_t kMainCaption[] = L"Calvendrake";
// Senders share the one block of a form: two launches at the same moment would
// overwrite each other's path before the receiver has read it.
const wchar_t kSenderLockName[] = L"CALVENDRAKE.handoff";

const wchar_t* BlockName(HandoffForm form)
{
    return form == HandoffForm::CodePage932 ? L"CALVENDRAKE" : L"CALVENDRAKE.UTF-16";
}

BOOL WriteBlockAndNotify(HWND hWndRunning, const std::string& block, HandoffForm form)
{
    HANDLE hBlock = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHandoffBlockSize, BlockName(form));
    if (!hBlock) return FALSE;
    BOOL bSent = FALSE;
    // The whole 1024 bytes or nothing: a smaller block made by another program fails here.
    if (void* pView = ::MapViewOfFile(hBlock, FILE_MAP_WRITE, 0, 0, kHandoffBlockSize)) {
        std::memcpy(pView, block.data(), kHandoffBlockSize);
        ::UnmapViewOfFile(pView);
        // Returns once the receiver has read the block, which our handle keeps alive until then.
        ::SendMessageW(hWndRunning, form == HandoffForm::CodePage932 ? WM_HANDOFF_INPUT : WM_HANDOFF_WIDE, 0, 0);
        bSent = TRUE;
    }
    ::CloseHandle(hBlock);
    return bSent;
}

}  // namespace

HWND FindRunningInstance()
{
    // Only a dialog counts: a folder, editor or browser window may carry the same title.
    HWND hWnd = ::FindWindowW(MAKEINTRESOURCEW(0x8002), kMainCaption);  // the dialog class, WC_DIALOG
    return hWnd ? ::GetAncestor(hWnd, GA_ROOTOWNER) : nullptr;
}

BOOL SendHandoff(HWND hWndRunning, const CString& strPath)
{
    std::string block;
    HandoffForm form = HandoffForm::CodePage932;
    if (!EncodeHandoffBlock(strPath, block, form)) return FALSE;

    HANDLE hLock = ::CreateMutexW(nullptr, FALSE, kSenderLockName);
    if (!hLock) return FALSE;
    BOOL bSent = FALSE;
    // A sender that died holding the lock leaves it abandoned, and the wait
    // then hands it to us: one crash does not block every later launch.
    DWORD dwWait = ::WaitForSingleObject(hLock, INFINITE);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED) {
        bSent = WriteBlockAndNotify(hWndRunning, block, form);
        ::ReleaseMutex(hLock);
    }
    ::CloseHandle(hLock);
    return bSent;
}

BOOL ReadHandoffBlock(HandoffForm form, CString& strPath)
{
    HANDLE hBlock = ::OpenFileMappingW(FILE_MAP_READ, FALSE, BlockName(form));
    if (!hBlock) return FALSE;
    BOOL bRead = FALSE;
    if (const void* pView = ::MapViewOfFile(hBlock, FILE_MAP_READ, 0, 0, kHandoffBlockSize)) {
        // Any program can fill a block of this name: without a NUL inside it there is no path to take.
        bRead = DecodeHandoffBlock(std::string(static_cast<const char*>(pView), kHandoffBlockSize), form, strPath);
        ::UnmapViewOfFile(pView);
    }
    ::CloseHandle(hBlock);
    return bRead;
}
