// The parts of CString that need the platform.
#include "CString.h"
#include "CWinApp.h"

#include <cstdarg>

int CString::LoadString(unsigned int nID)
{
    // LoadStringA cannot report how long an entry is, so grow until it fits.
    for (int nSize = 256;; nSize *= 2) {
        std::string buffer(static_cast<size_t>(nSize), '\0');
        int n = ::LoadStringA(AfxGetInstanceHandle(), nID, &buffer[0], nSize);
        if (n < nSize - 1) {
            m_str.assign(buffer.data(), static_cast<size_t>(n));
            return n > 0;
        }
    }
}

std::wstring AnsiToWide(const std::string& str)
{
    if (str.empty()) return std::wstring();
    const int nBytes = static_cast<int>(str.size());
    std::wstring wide(str.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, str.data(), nBytes, &wide[0], nBytes)));
    return wide;
}

void CString::Format(const char* pszFormat, ...)
{
    char szBuffer[1025];  // wvsprintfA's own limit
    va_list args;
    va_start(args, pszFormat);
    int n = ::wvsprintfA(szBuffer, pszFormat, args);
    va_end(args);
    m_str.assign(szBuffer, n > 0 ? static_cast<size_t>(n) : 0);
}
