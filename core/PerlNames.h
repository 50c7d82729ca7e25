#pragma once
// How a path reaches perl. perl.exe is an ANSI program: it reads its command line in the
// system's ANSI code page, which Windows converts the wide command line into, with
// look-alikes for what that code page lacks. A path goes to it only in a form that code
// page carries exactly, so that perl opens the file the user named.
#include "CString.h"

// The form of strPath perl receives at code page nCodePage: the path as it is where that code
// page carries it; else, for a file that exists (script, input), its short name; else, for a
// file perl makes (output), its folder's short name with its own name. False when the code
// page carries none of them (a volume without short names, a name the short form keeps).
bool PerlPathForm(const CString& strPath, bool bOutput, unsigned int nCodePage, CString& strForm);
