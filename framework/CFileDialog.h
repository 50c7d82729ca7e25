#pragma once
#include "CWnd.h"

#include <commdlg.h>

// The platform's open or save dialog. The filter separates its parts with '|'.
class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = 0, const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_szFileName); }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    std::string m_strFilter;
    char m_szFileName[MAX_PATH];
};
