#pragma once
#include "AfxWin.h"

// What tells a file from every other: its volume and its id there. File systems
// with 64-bit indexes give the index in the id's low eight bytes, the rest zero.
struct FileIdentity {
    ULONGLONG ullVolume = 0;
    BYTE id[16] = {};
};
// Whether two identities are one file. An id of 0 is unknown (some network and
// cloud drives give it to every file): not the same, so the run asks as for any other file.
bool IsSameIdentity(const FileIdentity& a, const FileIdentity& b);
// Whether two paths reach one file: the same volume and the same file id,
// whatever the spelling (case, short names, "." and "..", another drive letter
// or share). False when either cannot be opened to ask.
bool IsSameFile(const wchar_t* pszPathA, const wchar_t* pszPathB);
