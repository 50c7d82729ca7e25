#pragma once
// The recent-scripts list: at most ten full paths, most recent first.
#include "CStringList.h"

// Moves a script to the head: an entry that is the same script
// (case-insensitively) is replaced by this spelling; otherwise a full list of
// ten or more loses its least recent entry first.
void PromoteRecentScript(CStringList& list, const wchar_t* pszPath);
// Copies the settings' list (least recent first) into the dialog's (most
// recent first), leaving out paths that no longer exist.
void CopyInRecentScripts(const CStringList& record, CStringList& dialog);
// Replaces the settings' list with the dialog's, in the dialog's order.
void CopyBackRecentScripts(const CStringList& dialog, CStringList& record);
