#pragma once
#include "CString.h"

// The open or save dialog, starting in the folder of strCurrentPath with its
// name filled in, offering the string-table filter nFilterID plus all files.
// Returns the chosen full path as the dialog gives it, or "" when the user cancels.
CString ChooseFile(const CString& strCurrentPath, bool bOpen, unsigned int nFilterID);
