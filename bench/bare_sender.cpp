// The least a second launch can do to hand its path over: the hand-off as the
// running instance expects it and nothing else. Calvendrake's own second launch
// is timed against it.
#include <windows.h>

#include "resource.h"

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HWND hWnd = ::FindWindowA(WC_DIALOG, "Calvendrake");
    if (!hWnd || __argc < 2 || std::strlen(__argv[1]) >= 1024) return 1;
    HANDLE hLock = ::CreateMutexA(nullptr, FALSE, "CALVENDRAKE.handoff");
    ::WaitForSingleObject(hLock, INFINITE);
    // A new block is zero-filled: the path's NUL ends it.
    HANDLE hBlock = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, "CALVENDRAKE");
    void* pView = ::MapViewOfFile(hBlock, FILE_MAP_WRITE, 0, 0, 1024);
    std::strcpy(static_cast<char*>(pView), __argv[1]);
    ::UnmapViewOfFile(pView);
    ::SendMessageA(hWnd, WM_HANDOFF_INPUT, 0, 0);
    ::ReleaseMutex(hLock);
    ::SetForegroundWindow(hWnd);
    return 0;
}
