#include "CString.h"

#include <cstdarg>
#include <cstdio>

int CString::Find(char ch) const
{
    size_t n = m_str.find(ch);
    return n == std::string::npos ? -1 : static_cast<int>(n);
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

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    m_str.assign(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(&m_str[0], static_cast<size_t>(n) + 1, pszFormat, args);
    va_end(args);
}
