// libFuzzer target of tools/sweep.sh: any bytes through the rules that walk code
// page 932 text, built under AddressSanitizer, where a lead byte at the end must
// never take the NUL as its second half. The input splits at its first NUL.
#include "PathRules.h"
#include "RunText.h"

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
    const std::string tail = ErrorOutputTail(text).Str();
    if (tail.size() > 2000 || text.find(tail) == std::string::npos) std::abort();
    return 0;
}
