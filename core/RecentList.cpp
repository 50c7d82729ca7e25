#include "RecentList.h"
#include "FileAttributes.h"
#include "PathRules.h"

void PromoteRecentScript(CStringList& list, const wchar_t* pszPath)
{
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION posEntry = pos;
        if (CompareNoCase932(list.GetNext(pos), pszPath) == 0) {
            list.RemoveAt(posEntry);
            list.AddHead(pszPath);
            return;
        }
    }
    if (list.GetCount() > 9) list.RemoveTail();
    list.AddHead(pszPath);
}

void CopyInRecentScripts(const CStringList& record, CStringList& dialog)
{
    for (POSITION pos = record.GetHeadPosition(); pos;) {
        const CString& strPath = record.GetNext(pos);
        if (GetPathAttributes(strPath) != INVALID_FILE_ATTRIBUTES) dialog.AddHead(strPath);
    }
}

void CopyBackRecentScripts(const CStringList& dialog, CStringList& record)
{
    record.RemoveAll();
    for (POSITION pos = dialog.GetHeadPosition(); pos;) record.AddTail(dialog.GetNext(pos));
}
