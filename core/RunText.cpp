#include "RunText.h"
#include "Messages.h"

#include <utility>

namespace {

bool IsUtf8Continuation(char ch) { return (static_cast<unsigned char>(ch) & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 character at text[i], 0 when none starts there. The
// second byte's range shuts out overlong forms, surrogates and code points past U+10FFFF.
size_t Utf8CharLength(const std::string& text, size_t i)
{
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch < 0x80) return 1;
    const size_t nLength = ch >= 0xC2 && ch <= 0xDF ? 2 : ch >= 0xE0 && ch <= 0xEF ? 3 : ch >= 0xF0 && ch <= 0xF4 ? 4 : 0;
    if (nLength == 0 || text.size() - i < nLength) return 0;
    const unsigned char chLow = ch == 0xE0 ? 0xA0 : ch == 0xF0 ? 0x90 : 0x80, chHigh = ch == 0xED ? 0x9F : ch == 0xF4 ? 0x8F : 0xBF;
    const unsigned char chSecond = static_cast<unsigned char>(text[i + 1]);
    if (chSecond < chLow || chSecond > chHigh) return 0;
    for (size_t k = 2; k < nLength; ++k)
        if (!IsUtf8Continuation(text[i + k])) return 0;
    return nLength;
}

// Whether text is well-formed UTF-8 holding at least one multi-byte character.
bool IsUtf8Text(const std::string& text)
{
    bool bMultiByte = false;
    for (size_t i = 0, n; i < text.size(); i += n) {
        n = Utf8CharLength(text, i);
        if (n == 0) return false;
        bMultiByte = bMultiByte || n > 1;
    }
    return bMultiByte;
}

}  // namespace

bool IsLeadByte932(unsigned char ch)
{
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}

CString BuildCommandLine(const wchar_t* pszScript, const wchar_t* pszInput, const wchar_t* pszOutput)
{
    return CString(L"perl \"") + pszScript + L"\" \"" + pszInput + L"\" \"" + pszOutput + L"\"";
}

ErrorTail FindErrorTail(const std::string& text, int nMaxLines, size_t nMaxBytes)
{
    size_t nEnd = text.find_last_not_of(" \t\r\n");
    if (nEnd == std::string::npos) return {};
    ++nEnd;
    // Walk back over nMaxLines line breaks, or as far as the byte limit allows.
    size_t nStart = nEnd;
    int nLines = 0;
    while (nStart > 0 && nEnd - nStart < nMaxBytes) {
        if (text[nStart - 1] == '\n' && ++nLines == nMaxLines) break;
        --nStart;
    }
    const bool bCutInLine = nStart > 0 && text[nStart - 1] != '\n';
    // Cut inside a UTF-8 character, the tail starts at the next one, at most three bytes on.
    size_t nUtf8Start = nStart;
    while (bCutInLine && nUtf8Start < nStart + 3 && IsUtf8Continuation(text[nUtf8Start])) ++nUtf8Start;
    // Bytes that read both ways count as UTF-8. UTF-8 Japanese nearly always reads as code page 932
    // too, while code page 932 Japanese passes as UTF-8 only by chance and only when short: its
    // hiragana, katakana, full-width signs and common kanji begin with 0x81-0x9F, which never begins
    // a UTF-8 character, so only half-width kana pairs (ﾃｽ reads as ý) or rare kanji can line up.
    std::string utf8 = text.substr(nUtf8Start, nEnd - nUtf8Start);
    if (IsUtf8Text(utf8)) return {std::move(utf8), true};
    if (bCutInLine) {
        // Cut inside a line: move forward to the first character boundary.
        size_t nLineStart = text.rfind('\n', nStart - 1);
        size_t i = nLineStart == std::string::npos ? 0 : nLineStart + 1;
        while (i < nStart) i += IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1;
        nStart = i;
    }
    return {text.substr(nStart, nEnd - nStart), false};
}

CString FailureMessage(const wchar_t* pszScript, unsigned long ulExitCode, const CString& strTail)
{
    CString strMessage = CString(pszScript) + kMsgRunFailed + std::to_wstring(ulExitCode).c_str() + kMsgRunFailedEnd;
    if (!strTail.IsEmpty()) strMessage += CString(L"\n\n") + strTail;
    return strMessage;
}
