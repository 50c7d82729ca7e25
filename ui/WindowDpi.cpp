#include "Layout.h"

int WindowDpi(HWND hWnd)
{
    // Windows before 10 (1607) has no GetDpiForWindow: there one resolution holds for the whole screen.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const auto pfnGetDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (pfnGetDpiForWindow) return static_cast<int>(pfnGetDpiForWindow(hWnd));
    HDC hDC = ::GetDC(nullptr);
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSX);
    ::ReleaseDC(nullptr, hDC);
    return nDpi;
}
