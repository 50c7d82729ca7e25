#pragma once
#include "AfxWin.h"

class CMenu {
public:
    explicit CMenu(HMENU hMenu = nullptr) : m_hMenu(hMenu) {}
    static CMenu FromHandle(HMENU hMenu) { return CMenu(hMenu); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const wchar_t* lpszNewItem = nullptr)
    { return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem); }

    HMENU m_hMenu;
};
