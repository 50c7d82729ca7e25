#pragma once
#include "AfxWin.h"

// The window's fixed sizes in screen pixels: collapsed hides the options panel below the lower edge.
constexpr int kWindowWidth = 396;
constexpr int kCollapsedHeight = 310;
constexpr int kExpandedHeight = 476;

// Where something of nSize is drawn centred in nSpace; an odd margin goes to the left or top.
inline int CenteredOffset(int nSpace, int nSize) { return (nSpace - nSize + 1) / 2; }

// A window rectangle that meets no monitor would open where nobody sees it:
// returns the top-left of the nearest monitor's work area instead, else the position itself.
POINT VisiblePosition(POINT position, SIZE size);
