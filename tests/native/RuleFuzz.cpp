// libFuzzer target of tools/sweep.sh: any bytes through the rules that walk text, built
// under AddressSanitizer: the error-output tail over code page 932 or UTF-8 bytes, where a
// lead byte at the end must never take the NUL as its second half, and the path rules over
// the same bytes read as UTF-16 code units, two a unit: the first path up to the first unit 0,
// the second after it.
#include "PathRules.h"
#include "RunText.h"

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Bytes as UTF-16 code units, low byte first, up to the first unit 0, in a buffer that ends with
// its NUL, so that any read past it is caught.
static std::vector<wchar_t> Units(const std::string& str)
{
    std::vector<wchar_t> units;
    for (size_t i = 0; i + 1 < str.size(); i += 2) {
        const wchar_t ch = static_cast<wchar_t>(static_cast<unsigned char>(str[i]) | static_cast<unsigned char>(str[i + 1]) << 8);
        if (ch == 0) break;
        units.push_back(ch);
    }
    units.push_back(0);
    return units;
}

// Well-formed UTF-8 as the C library reads it, less its code points past U+10FFFF.
static bool IsWellFormedUtf8(const std::string& str)
{
    static const char* const pszLocale = std::setlocale(LC_CTYPE, "C.UTF-8");
    std::mbstate_t state{};
    wchar_t wch = 0;
    for (size_t i = 0, n; i < str.size(); i += n ? n : 1)  // n is 0 for a NUL
        if (!pszLocale || (n = std::mbrtowc(&wch, &str[i], str.size() - i, &state)) >= static_cast<size_t>(-2) || wch > 0x10FFFF) return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string text(reinterpret_cast<const char*>(pData), nSize);
    const std::vector<wchar_t> a = Units(text), b = Units(text.substr(std::min(nSize, 2 * a.size())));
    const PathParts parts = SplitPath(a.data());
    if ((parts.drive + parts.dir + parts.fname + parts.ext).Str() != a.data()) std::abort();
    ResolveTypedName(a.data(), b.data());
    if (CompareNoCase932(a.data(), b.data()) != -CompareNoCase932(b.data(), a.data())) std::abort();
    // The tail is the text up to its last non-blank byte, cut to 20 lines and 2000 bytes where a
    // character starts, in UTF-8 when the bytes from the cut (less the rest of a character cut
    // there) are well-formed UTF-8 with a character of three or four bytes, else in code page 932.
    const auto [tail, bFound] = FindErrorTail(text);
    const size_t nEnd = text.find_last_not_of(" \t\r\n") + 1, nStart = nEnd - std::min(nEnd, tail.size());  // 0 when all is blank
    const size_t nBreaks = std::count(tail.begin(), tail.end(), '\n');
    if (text.compare(nStart, nEnd - nStart, tail) != 0 || tail.empty() != (nEnd == 0) || nBreaks >= 20 || tail.size() > 2000) std::abort();
    std::vector<size_t> breaks;
    for (size_t i = 0; i < nEnd; ++i) if (text[i] == '\n') breaks.push_back(i);
    const size_t nLimit = std::max(breaks.size() < 20 ? 0 : breaks[breaks.size() - 20] + 1, nEnd - std::min<size_t>(nEnd, 2000));
    // Cut inside a line, up to three continuation bytes there are the rest of a character.
    const size_t nChar = std::find_if(text.begin() + nLimit, text.begin() + nEnd, [](char ch) { return (ch & 0xC0) != 0x80; }) - text.begin();
    const size_t nCut = nLimit > 0 && text[nLimit - 1] != '\n' && nChar - nLimit <= 3 ? nChar : nLimit;
    const std::string utf8 = text.substr(nCut, nEnd - nCut);
    const bool bUtf8 = IsWellFormedUtf8(utf8) && std::any_of(utf8.begin(), utf8.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0xE0; });
    if (bFound != bUtf8 || (bUtf8 && tail != utf8)) std::abort();
    if (bUtf8) return 0;
    // Code page 932 characters are found counting lead bytes backwards, not walking forwards
    // as the code does: after a byte that cannot open a double-byte character, one begins.
    auto leadsBefore = [&](size_t nPos) { size_t n = 0; while (n < nPos && IsLeadByte932(text[nPos - 1 - n])) ++n; return n; };
    if (leadsBefore(nStart) % 2) std::abort();
    // Nothing that fits is left out: it starts with the text, or with its twentieth line, or one more character would pass 2000 bytes.
    const size_t nPrevious = nStart >= 2 && leadsBefore(nStart - 1) % 2 ? 2 : 1;
    if (nStart > 0 && !(text[nStart - 1] == '\n' && nBreaks == 19) && tail.size() + nPrevious <= 2000) std::abort();
    return 0;
}
