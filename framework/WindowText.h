#pragma once
#include "CString.h"

#include <windows.h>

#include <string>

// A window's text. Each read is a message to the control; most texts fit a first read into a
// buffer on the stack, and only a longer one costs the message asking its length.
inline CString ReadWindowText(HWND hWnd)
{
    wchar_t szText[1024];
    int nLength = ::GetWindowTextW(hWnd, szText, 1024);
    // A text that reaches the buffer's end may have been cut (a surrogate pair is not split).
    if (nLength < 1024 - 2) return CString(szText, nLength);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    nLength = ::GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()));
    return CString(text.data(), nLength);
}
