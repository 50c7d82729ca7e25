// libFuzzer target of tools/sweep.sh: any bytes through the rules that walk code
// page 932 text, built under AddressSanitizer, where a lead byte at the end must
// never take the NUL as its second half. The input splits at its first NUL.
#include "PathRules.h"
#include "RunText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

// The text in a buffer that ends with its NUL, so that any read past it is caught.
static std::vector<char> Exact(const std::string& str) { return std::vector<char>(str.c_str(), str.c_str() + str.size() + 1); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string text(reinterpret_cast<const char*>(pData), nSize);
    const std::string first = text.substr(0, text.find('\0'));
    const std::vector<char> a = Exact(first), b = Exact(first.size() < nSize ? text.substr(first.size() + 1) : "");
    const PathParts parts = SplitPath(a.data());
    if ((parts.drive + parts.dir + parts.fname + parts.ext).Str() != first) std::abort();
    ResolveTypedName(a.data(), b.data());
    if (CompareNoCase932(a.data(), b.data()) != -CompareNoCase932(b.data(), a.data())) std::abort();
    // The tail is the text up to its last non-blank byte, cut to 20 lines and 2000 bytes where a
    // character starts. Characters are found counting lead bytes backwards, not walking forwards
    // as the code does: after a byte that cannot open a double-byte character, one begins.
    const std::string tail = ErrorOutputTail(text).Str();
    const size_t nEnd = text.find_last_not_of(" \t\r\n") + 1, nStart = nEnd - std::min(nEnd, tail.size());  // 0 when all is blank
    auto leadsBefore = [&](size_t nPos) { size_t n = 0; while (n < nPos && IsLeadByte932(text[nPos - 1 - n])) ++n; return n; };
    const size_t nBreaks = std::count(tail.begin(), tail.end(), '\n'), nPrevious = nStart >= 2 && leadsBefore(nStart - 1) % 2 ? 2 : 1;
    if (text.compare(nStart, nEnd - nStart, tail) != 0 || tail.empty() != (nEnd == 0) || nBreaks >= 20 || tail.size() > 2000 || leadsBefore(nStart) % 2)
        std::abort();
    // Nothing that fits is left out: it starts with the text, or with its twentieth line, or one more character would pass 2000 bytes.
    if (nStart > 0 && !(text[nStart - 1] == '\n' && nBreaks == 19) && tail.size() + nPrevious <= 2000) std::abort();
    return 0;
}
