#pragma once
// Platform headers for the framework and the program: ANSI Win32.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
// CString::LoadString keeps its own name; the platform call is spelled LoadStringA.
#undef LoadString
