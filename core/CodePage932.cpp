#include "CodePage932.h"
#include "AfxWin.h"

namespace {
const UINT kCodePage = 932;
}  // namespace

bool ToCodePage932(const std::wstring& strWide, CString& strAnsi)
{
    if (strWide.empty()) {
        strAnsi.Empty();
        return true;
    }
    const int nWide = static_cast<int>(strWide.size());
    BOOL bUsedDefault = FALSE;
    int nBytes = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, strWide.data(), nWide, nullptr, 0, nullptr,
                                       &bUsedDefault);
    if (nBytes <= 0 || bUsedDefault) return false;
    std::string ansi(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, strWide.data(), nWide, &ansi[0], nBytes, nullptr, nullptr);
    // Some characters (¢ as ￠) pass the flag yet come back as another one.
    std::wstring back(strWide.size() * 2, L'\0');
    int nBack = ::MultiByteToWideChar(kCodePage, 0, ansi.data(), nBytes, &back[0], static_cast<int>(back.size()));
    back.resize(static_cast<size_t>(nBack > 0 ? nBack : 0));
    if (back != strWide) return false;
    strAnsi = CString(ansi);
    return true;
}
