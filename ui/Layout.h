#pragma once
#include "AfxWin.h"

// The window's fixed sizes in screen pixels at 96 dpi: collapsed hides the options panel below the lower edge.
constexpr int kWindowWidth = 396;
constexpr int kCollapsedHeight = 310;
constexpr int kExpandedHeight = 476;

// The sizes at a window's resolution: the template grows with its font, so they grow alike,
// rounded as Windows rounds its own scaling.
inline SIZE WindowSize(bool bCollapsed, int nDpi)
{
    return SIZE{::MulDiv(kWindowWidth, nDpi, USER_DEFAULT_SCREEN_DPI),
                ::MulDiv(bCollapsed ? kCollapsedHeight : kExpandedHeight, nDpi, USER_DEFAULT_SCREEN_DPI)};
}

// The resolution a window is drawn at: its monitor's from Windows 10 on, else the screen's.
int WindowDpi(HWND hWnd);

// Where something of nSize is drawn centred in nSpace; an odd margin goes to the left or top.
inline int CenteredOffset(int nSpace, int nSize) { return (nSpace - nSize + 1) / 2; }

// A window rectangle that meets no monitor would open where nobody sees it:
// returns the top-left of the nearest monitor's work area instead, else the position itself.
POINT VisiblePosition(POINT position, SIZE size);
