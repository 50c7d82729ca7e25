// The parts of CString that need the platform.
#include "CString.h"
#include "CWinApp.h"

#include <cstdarg>

int CString::LoadString(unsigned int nID)
{
    // With no buffer, the call gives the entry where it lies in the resource, and its length.
    const wchar_t* pchEntry = nullptr;
    const int n = ::LoadStringW(AfxGetInstanceHandle(), nID, reinterpret_cast<LPWSTR>(&pchEntry), 0);
    if (n > 0 && pchEntry) m_str.assign(pchEntry, static_cast<size_t>(n));
    else m_str.clear();
    return n > 0;
}

void CString::Format(const wchar_t* pszFormat, ...)
{
    wchar_t szBuffer[1025];  // wvsprintfW's own limit
    va_list args;
    va_start(args, pszFormat);
    int n = ::wvsprintfW(szBuffer, pszFormat, args);
    va_end(args);
    m_str.assign(szBuffer, n > 0 ? static_cast<size_t>(n) : 0);
}
