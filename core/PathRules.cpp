#include "PathRules.h"

#include <cwchar>

PathParts SplitPath(const wchar_t* pszPath)
{
    PathParts parts;
    const wchar_t* p = pszPath ? pszPath : L"";
    if (p[0] != L'\0' && p[1] == L':') {
        parts.drive = CString(p, 2);
        p += 2;
    }
    const wchar_t* pszName = p;
    const wchar_t* pszDot = nullptr;
    for (const wchar_t* q = p; *q; ++q) {
        if (*q == L'\\' || *q == L'/') {
            pszName = q + 1;
            pszDot = nullptr;
        } else if (*q == L'.') {
            pszDot = q;
        }
    }
    parts.dir = CString(p, static_cast<int>(pszName - p));
    const wchar_t* pszEnd = pszName + std::wcslen(pszName);
    const wchar_t* pszExt = pszDot ? pszDot : pszEnd;
    parts.fname = CString(pszName, static_cast<int>(pszExt - pszName));
    parts.ext = CString(pszExt);
    return parts;
}

CString DeriveOutputPath(const wchar_t* pszInputPath, const wchar_t* pszSuffix)
{
    PathParts parts = SplitPath(pszInputPath);
    return parts.drive + parts.dir + parts.fname + pszSuffix + parts.ext;
}

CString ResolveTypedName(const wchar_t* pszTyped, const wchar_t* pszPreviousPath)
{
    PathParts typed = SplitPath(pszTyped);
    if (!typed.drive.IsEmpty() || !typed.dir.IsEmpty()) return CString(pszTyped);
    PathParts previous = SplitPath(pszPreviousPath);
    return previous.drive + previous.dir + pszTyped;
}

// One character folded to lower case as the C runtime does at code page 932: A-Z and Ａ-Ｚ.
static unsigned int FoldedChar(wchar_t ch)
{
    const unsigned int n = static_cast<unsigned int>(ch);
    if ((n >= L'A' && n <= L'Z') || (n >= 0xFF21 && n <= 0xFF3A)) return n + 0x20;
    return n;
}

int CompareNoCase932(const wchar_t* pszA, const wchar_t* pszB)
{
    for (;; ++pszA, ++pszB) {
        const unsigned int chA = FoldedChar(*pszA);
        const unsigned int chB = FoldedChar(*pszB);
        if (chA != chB) return chA < chB ? -1 : 1;
        if (chA == 0) return 0;
    }
}
