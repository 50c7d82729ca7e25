#include "CFileDialog.h"
#include "CWinApp.h"

#include <cwchar>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const wchar_t* lpszDefExt, const wchar_t* lpszFileName,
                         DWORD dwFlags, const wchar_t* lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt),
      m_strFilter(lpszFilter ? lpszFilter : L""), m_szFileName()
{
    // A name too long for the buffer starts the dialog empty rather than cut.
    if (lpszFileName && std::wcslen(lpszFileName) < MAX_PATH) std::wcscpy(m_szFileName, lpszFileName);
    for (wchar_t& ch : m_strFilter)
        if (ch == L'|') ch = L'\0';
    CWnd* pOwner = pParentWnd ? pParentWnd : AfxGetMainWnd();
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : static_cast<const wchar_t*>(m_strDefExt);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    BOOL bOK = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return bOK ? IDOK : IDCANCEL;
}
