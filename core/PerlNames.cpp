#include "PerlNames.h"
#include "AfxWin.h"
#include "CodePage.h"
#include "PathRules.h"

#include <string>

namespace {

bool IsCarried(const CString& strText, unsigned int nCodePage)
{
    std::string bytes;
    return ToCodePage(strText, nCodePage, bytes);
}

// The short form of an existing path, empty when there is none.
CString ShortPathName(const CString& strPath)
{
    const DWORD nSize = ::GetShortPathNameW(strPath, nullptr, 0);
    if (nSize == 0) return CString();
    std::wstring shortPath(nSize, L'\0');
    const DWORD nLength = ::GetShortPathNameW(strPath, &shortPath[0], nSize);
    if (nLength == 0 || nLength >= nSize) return CString();
    shortPath.resize(nLength);
    return CString(shortPath);
}

}  // namespace

bool PerlPathForm(const CString& strPath, bool bOutput, unsigned int nCodePage, CString& strForm)
{
    if (IsCarried(strPath, nCodePage)) {
        strForm = strPath;
        return true;
    }
    const PathParts parts = SplitPath(strPath);
    CString strShort = ShortPathName(bOutput ? parts.drive + parts.dir : strPath);
    if (strShort.IsEmpty()) return false;
    if (bOutput) strShort += parts.fname + parts.ext;
    if (!IsCarried(strShort, nCodePage)) return false;
    strForm = strShort;
    return true;
}
