#pragma once
#include "CWnd.h"

#include <commdlg.h>

// The platform's open or save dialog. The filter separates its parts with '|'.
class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const wchar_t* lpszDefExt = nullptr, const wchar_t* lpszFileName = nullptr,
                DWORD dwFlags = 0, const wchar_t* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();
    CString GetPathName() const { return m_szFileName; }

    OPENFILENAMEW m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    std::wstring m_strFilter;
    wchar_t m_szFileName[MAX_PATH];
};
