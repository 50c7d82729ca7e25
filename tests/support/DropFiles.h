#pragma once
// Drops files on a window of another process as the shell would.
#include <windows.h>

#include <string>
#include <vector>

// Posts WM_DROPFILES to hWndTarget with the full paths in a DROPFILES block built inside the
// target's process: a drop handle of ours would point into our memory and crash it.
// Returns at once; the drop is handled when the target's thread gets to it, in posting order.
void DropFiles(HWND hWndTarget, const std::vector<std::string>& paths);
