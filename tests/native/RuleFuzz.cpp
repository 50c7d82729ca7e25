// libFuzzer entry: any bytes through every rule. The input splits at its first
// NUL into the two strings; the whole input, NULs and all, is the error output.
#include "RuleProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

static void AbortOnViolation(const char* pszProperty, const std::string&, const std::string&,
                             const std::string& strActual)
{
    // libFuzzer saves the input as a crash file; the property names what broke.
    std::fprintf(stderr, "FAILED %s (result %zu bytes)\n", pszProperty, strActual.size());
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string text(reinterpret_cast<const char*>(pData), nSize);
    size_t nNul = text.find('\0');
    std::string first = text.substr(0, nNul);
    std::string second = nNul == std::string::npos ? std::string() : std::string(text.c_str() + nNul + 1);
    CheckRules(first, second, text, AbortOnViolation);
    return 0;
}
