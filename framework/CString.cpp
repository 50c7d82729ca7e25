#include "CString.h"


int CString::Find(wchar_t ch) const
{
    size_t n = m_str.find(ch);
    return n == std::wstring::npos ? -1 : static_cast<int>(n);
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0) return CString();
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const
{
    if (nFirst < 0) nFirst = 0;
    if (static_cast<size_t>(nFirst) >= m_str.size()) return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst)));
}
