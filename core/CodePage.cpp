#include "CodePage.h"
#include "AfxWin.h"

bool ToCodePage(const CString& strText, unsigned int nCodePage, std::string& strBytes)
{
    if (strText.IsEmpty()) {
        strBytes.clear();
        return true;
    }
    const std::wstring& wide = strText.Str();
    const int nWide = static_cast<int>(wide.size());
    // UTF-8 takes neither the best-fit flag nor a default character: it carries every character,
    // and only a lone surrogate can fail it.
    const bool bUtf8 = nCodePage == kCodePageUtf8;
    const DWORD dwFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL bUsedDefault = FALSE;
    BOOL* pbUsedDefault = bUtf8 ? nullptr : &bUsedDefault;
    const int nBytes = ::WideCharToMultiByte(nCodePage, dwFlags, wide.data(), nWide, nullptr, 0, nullptr, pbUsedDefault);
    if (nBytes <= 0 || bUsedDefault) return false;
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(nCodePage, dwFlags, wide.data(), nWide, &bytes[0], nBytes, nullptr, nullptr);
    // Some characters (¢ as ￠ in code page 932) pass the flag yet come back as another one.
    if (FromCodePage(bytes, nCodePage).Str() != wide) return false;
    strBytes = bytes;
    return true;
}

CString FromCodePage(const std::string& bytes, unsigned int nCodePage)
{
    if (bytes.empty()) return CString();
    const int nBytes = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(nCodePage, 0, bytes.data(), nBytes, nullptr, 0)), L'\0');
    if (wide.empty()) return CString();
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(nCodePage, 0, bytes.data(), nBytes, &wide[0], static_cast<int>(wide.size()))));
    return CString(wide);
}
