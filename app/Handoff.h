#pragma once
// A second launch hands its path to the running instance: the path goes into
// the named 1024-byte block "CALVENDRAKE", then WM_HANDOFF_INPUT tells the
// running dialog to read it.
#include "AfxWin.h"
#include "CString.h"

// The running instance's main dialog, or NULL: a window of the dialog class
// titled "Calvendrake", as the dialogs of every version are. Its message boxes
// share the caption and are owned by the dialog, so the root owner of
// whichever window the search finds is the dialog.
HWND FindRunningInstance();

// Writes pszPath into the block and sends the notice, returning once the
// receiver has handled it. FALSE when nothing was delivered; a path of 1024
// bytes or more is not sent at all, as a cut path would name another file.
BOOL SendHandoff(HWND hWndRunning, const char* pszPath);

// The receiving half: the path in the block, if there is a block and a NUL
// inside it. Otherwise FALSE with strPath unchanged.
BOOL ReadHandoffBlock(CString& strPath);
