#pragma once
#include <windows.h>

#include <string>

// A window's text, ANSI or wide. Each read is a message to the control; most texts fit a first
// read into a buffer on the stack, and only a longer one costs the message asking its length.
template <typename Text, typename Char>
Text ReadWindowText(HWND hWnd, int(WINAPI* pfnGetText)(HWND, Char*, int), int(WINAPI* pfnGetLength)(HWND))
{
    Char szText[1024];
    int nLength = pfnGetText(hWnd, szText, 1024);
    // A double-byte character the buffer cannot end with leaves two places free.
    if (nLength < 1024 - 2) return Text(szText, nLength);
    std::basic_string<Char> text(static_cast<size_t>(pfnGetLength(hWnd)) + 1, Char());
    nLength = pfnGetText(hWnd, &text[0], static_cast<int>(text.size()));
    return Text(text.data(), nLength);
}
