#include "ChooseFile.h"
#include "CFileDialog.h"
#include "PathRules.h"
#include "resource.h"

std::wstring ChooseFile(const CString& strCurrentPath, bool bOpen, unsigned int nFilterID)
{
    PathParts parts = SplitPath(strCurrentPath);
    CString strFileName = parts.fname + parts.ext;
    const std::wstring strInitialDir = AnsiToWide((parts.drive + parts.dir).Str());

    CString strEntry;
    CString strAll;
    strEntry.LoadString(nFilterID);
    strAll.LoadString(IDS_FILTER_ALL);
    int nBreak = strEntry.Find('\n');
    CString strDefExt = strEntry.Left(nBreak);
    CString strFilter = strEntry.Mid(nBreak + 1) + strAll;

    const DWORD dwFlags = bOpen ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY : OFN_HIDEREADONLY;
    CFileDialog dlg(bOpen, strDefExt, strFileName, dwFlags, strFilter);
    dlg.m_ofn.lpstrInitialDir = strInitialDir.c_str();
    if (dlg.DoModal() != IDOK) return std::wstring();
    return dlg.GetPathName();
}
