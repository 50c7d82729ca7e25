#pragma once
#include "CWnd.h"

#include <commdlg.h>

// The platform's open or save dialog. The filter separates its parts with '|'.
// Wide inside: the ANSI dialog hands back a look-alike for a name code page 932
// cannot carry (ü as u), and the caller could not tell it from the real one.
class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = 0, const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();
    std::wstring GetPathName() const { return m_szFileName; }

    OPENFILENAMEW m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::wstring m_strDefExt;
    std::wstring m_strFilter;
    wchar_t m_szFileName[MAX_PATH];
};
