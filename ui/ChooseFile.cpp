#include "ChooseFile.h"
#include "CFileDialog.h"
#include "PathRules.h"
#include "resource.h"

CString ChooseFile(const CString& strCurrentPath, bool bOpen, unsigned int nFilterID)
{
    PathParts parts = SplitPath(strCurrentPath);
    CString strFileName = parts.fname + parts.ext;
    const CString strInitialDir = parts.drive + parts.dir;

    CString strEntry;
    CString strAll;
    strEntry.LoadString(nFilterID);
    strAll.LoadString(IDS_FILTER_ALL);
    int nBreak = strEntry.Find(L'\n');
    CString strDefExt = strEntry.Left(nBreak);
    CString strFilter = strEntry.Mid(nBreak + 1) + strAll;

    const DWORD dwFlags = bOpen ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY : OFN_HIDEREADONLY;
    CFileDialog dlg(bOpen, strDefExt, strFileName, dwFlags, strFilter);
    dlg.m_ofn.lpstrInitialDir = strInitialDir;
    if (dlg.DoModal() != IDOK) return CString();
    return dlg.GetPathName();
}
