#pragma once
// Facts about another process's window that plain calls do not give under Wine.
#include <windows.h>

#include <string>

// A window's text as it shows it, also for another process's windows (WM_GETTEXT).
std::string WindowText(HWND hWnd);

// The result of a message whose answer is a handle (WM_QUERYDRAGICON, WM_GETICON).
// Wine's synchronous SendMessage returns 0 for these across processes; the result
// handed to a SendMessageCallback callback is the real one.
LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The work area of the monitor nearest to a rectangle, as this process sees the screen.
RECT NearestWorkArea(const RECT& rect);
bool MeetsAMonitor(const RECT& rect);

// Moves a window without resizing it, as the end of a user's drag would.
void MoveWindowTo(HWND hWnd, int x, int y);
