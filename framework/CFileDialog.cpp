#include "CFileDialog.h"
#include "CWinApp.h"

#include <cstring>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(AnsiToWide(lpszDefExt ? lpszDefExt : "")),
      m_strFilter(AnsiToWide(lpszFilter ? lpszFilter : "")), m_szFileName()
{
    // A name too long for the buffer starts the dialog empty rather than cut.
    if (lpszFileName && std::strlen(lpszFileName) < MAX_PATH) AnsiToWide(lpszFileName).copy(m_szFileName, MAX_PATH - 1);
    for (wchar_t& ch : m_strFilter)
        if (ch == L'|') ch = L'\0';
    CWnd* pOwner = pParentWnd ? pParentWnd : AfxGetMainWnd();
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    BOOL bOK = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return bOK ? IDOK : IDCANCEL;
}
