// The run texts that need the platform.
#include "RunText.h"

#include <windows.h>

// Through UTF-16 into code page 932, the code page of every message. WC_NO_BEST_FIT_CHARS
// makes what it lacks '?' rather than a look-alike, which may mislead: U+00A5 would become '\'.
static CString Utf8To932(const std::string& utf8)
{
    const int nUtf8 = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), nUtf8, nullptr, 0)), L'\0');
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), nUtf8, &wide[0], static_cast<int>(wide.size()));
    std::string ansi(static_cast<size_t>(::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), nWide, nullptr, 0, "?", nullptr)), '\0');
    ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), nWide, &ansi[0], static_cast<int>(ansi.size()), "?", nullptr);
    return CString(ansi);
}

CString ErrorOutputTail(const std::string& text)
{
    const ErrorTail tail = FindErrorTail(text);
    return tail.bUtf8 ? Utf8To932(tail.strText) : CString(tail.strText);
}
