#include "Layout.h"

int WindowDpi(HWND hWnd)
{
    // Windows before 10 (1607) has no GetDpiForWindow. There the program is system-aware (its
    // manifest names no per-monitor form those know), so the screen's one resolution is the window's.
    const auto pfnGetDpiForWindow = GetSystemProc<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (pfnGetDpiForWindow) return static_cast<int>(pfnGetDpiForWindow(hWnd));
    HDC hDC = ::GetDC(nullptr);
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSX);
    ::ReleaseDC(nullptr, hDC);
    return nDpi;
}
