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
    // character starts: one more character would break a limit, or there is none.
    const std::string tail = ErrorOutputTail(text).Str();
    const size_t nEnd = text.find_last_not_of(" \t\r\n") + 1;  // 0 when all is blank
    if (tail.size() > nEnd || text.compare(nEnd - tail.size(), tail.size(), tail) != 0 || tail.empty() != (nEnd == 0))
        std::abort();
    // Counted backwards, not walked forwards as the code does: after a byte that cannot open a
    // double-byte character, a character begins.
    auto leadBytesBefore = [&](size_t nPos) {
        size_t n = 0;
        while (n < nPos && IsLeadByte932(static_cast<unsigned char>(text[nPos - 1 - n]))) ++n;
        return n;
    };
    const size_t nStart = nEnd - tail.size(), nBreaks = std::count(tail.begin(), tail.end(), '\n');
    if (nBreaks >= 20 || tail.size() > 2000 || leadBytesBefore(nStart) % 2 != 0) std::abort();
    const size_t nPrevious = nStart >= 2 && leadBytesBefore(nStart - 1) % 2 != 0 ? 2 : 1;
    if (nStart > 0 && !(text[nStart - 1] == '\n' && nBreaks == 19) && tail.size() + nPrevious <= 2000) std::abort();
    return 0;
}
