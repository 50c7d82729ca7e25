#pragma once
// Platform headers for the framework and the program: Win32, every call the wide one.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
// CString::LoadString keeps its own name; the platform call is spelled LoadStringW.
#undef LoadString

// A function of a loaded system DLL that older Windows lacks, or nullptr there.
template <typename Fn>
Fn GetSystemProc(const wchar_t* pszModule, const char* pszName)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(pszModule), pszName)));
}
