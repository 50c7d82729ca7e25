#pragma once
// Platform headers for the framework and the program: ANSI Win32.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
// CString::LoadString keeps its own name; the platform call is spelled LoadStringA.
#undef LoadString

// A function of a loaded system DLL that older Windows lacks, or nullptr there.
template <typename Fn>
Fn GetSystemProc(const char* pszModule, const char* pszName)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA(pszModule), pszName)));
}
