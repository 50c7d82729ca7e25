#include "PathRules.h"

#include <cstring>

bool IsLeadByte932(unsigned char ch)
{
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}

// Length in bytes of the character starting at p (a lone lead byte at the end counts as one).
static size_t CharLength(const char* p)
{
    return IsLeadByte932(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

PathParts SplitPath(const char* pszPath)
{
    PathParts parts;
    const char* p = pszPath ? pszPath : "";
    if (p[0] != '\0' && p[1] == ':') {
        parts.drive = CString(p, 2);
        p += 2;
    }
    const char* pszName = p;
    const char* pszDot = nullptr;
    for (const char* q = p; *q; q += CharLength(q)) {
        if (*q == '\\' || *q == '/') {
            pszName = q + 1;
            pszDot = nullptr;
        } else if (*q == '.') {
            pszDot = q;
        }
    }
    parts.dir = CString(p, static_cast<int>(pszName - p));
    const char* pszEnd = pszName + std::strlen(pszName);
    const char* pszExt = pszDot ? pszDot : pszEnd;
    parts.fname = CString(pszName, static_cast<int>(pszExt - pszName));
    parts.ext = CString(pszExt);
    return parts;
}

CString DeriveOutputPath(const char* pszInputPath, const char* pszSuffix)
{
    PathParts parts = SplitPath(pszInputPath);
    return parts.drive + parts.dir + parts.fname + pszSuffix + parts.ext;
}

CString ResolveTypedName(const char* pszTyped, const char* pszPreviousPath)
{
    PathParts typed = SplitPath(pszTyped);
    if (!typed.drive.IsEmpty() || !typed.dir.IsEmpty()) return CString(pszTyped);
    PathParts previous = SplitPath(pszPreviousPath);
    return previous.drive + previous.dir + pszTyped;
}

// One character as a number, folded to lower case as the C runtime does; advances p.
static unsigned int FoldedChar(const unsigned char*& p)
{
    unsigned int ch = *p++;
    if (IsLeadByte932(static_cast<unsigned char>(ch)) && *p != '\0') {
        unsigned int trail = *p++;
        if (ch == 0x82 && trail >= 0x60 && trail <= 0x79) trail += 0x21;  // full-width A-Z to a-z
        return (ch << 8) | trail;
    }
    if (ch >= 'A' && ch <= 'Z') ch += 'a' - 'A';
    return ch;
}

int CompareNoCase932(const char* pszA, const char* pszB)
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(pszA);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(pszB);
    for (;;) {
        unsigned int chA = FoldedChar(a);
        unsigned int chB = FoldedChar(b);
        if (chA != chB) return chA < chB ? -1 : 1;
        if (chA == 0) return 0;
    }
}
