#pragma once
// A second launch hands its path to the running instance: the path goes into
// a named 1024-byte block, then a notice tells the running dialog to read it.
// A path code page 932 carries goes as every version sends it: the block
// "CALVENDRAKE" and WM_HANDOFF_INPUT. Any other goes in UTF-16 through the block
// "CALVENDRAKE.UTF-16" and WM_HANDOFF_WIDE, which older versions ignore.
#include "AfxWin.h"
#include "HandoffBlock.h"

// The running instance's main dialog, or NULL: a window of the dialog class
// titled "Calvendrake", as the dialogs of every version are. Its message boxes
// share the caption and are owned by the dialog, so the root owner of
// whichever window the search finds is the dialog.
HWND FindRunningInstance();

// Writes strPath into the block of its form and sends that form's notice, returning once
// the receiver has handled it. FALSE when nothing was delivered; a path too long for the
// block is not sent at all, as a cut path would name another file.
BOOL SendHandoff(HWND hWndRunning, const CString& strPath);

// The receiving half for the notice of one form: the path in that form's block, if there is
// a block and a NUL inside it. Otherwise FALSE with strPath unchanged.
BOOL ReadHandoffBlock(HandoffForm form, CString& strPath);
