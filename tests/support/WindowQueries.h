#pragma once
// Facts about another process's window that plain calls do not give under Wine.
#include <windows.h>

#include <string>
#include <vector>

// A window's text as it shows it, also for another process's windows (WM_GETTEXT).
std::string WindowText(HWND hWnd);

// The items of a combo box's list, top to bottom, in code page 932.
std::vector<std::string> ComboBoxItems(HWND hCombo);

// The result of a message whose answer is a handle (WM_QUERYDRAGICON, WM_GETICON).
// Wine's synchronous SendMessage returns 0 for these across processes; the result
// handed to a SendMessageCallback callback is the real one.
LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The work area of the monitor nearest to a rectangle, as this process sees the screen.
RECT NearestWorkArea(const RECT& rect);
bool MeetsAMonitor(const RECT& rect);

// Moves a window without resizing it, as the end of a user's drag would.
void MoveWindowTo(HWND hWnd, int x, int y);
