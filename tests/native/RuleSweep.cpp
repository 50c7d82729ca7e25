// Randomised sweep of the path rules and run texts over code page 932 bytes.
// Fixed seeds, so a failure found once is found again on every machine.
#include "RuleProperties.h"

#include <cstdio>
#include <random>

namespace {

int g_nReported = 0;

void PrintHex(const char* pszLabel, const std::string& s)
{
    std::printf("  %s (%zu bytes):", pszLabel, s.size());
    for (unsigned char ch : s) std::printf(" %02X", ch);
    std::printf("\n");
}

void ReportViolation(const char* pszProperty, const std::string& strFirst, const std::string& strSecond,
                     const std::string& strActual)
{
    if (++g_nReported > 10) return;  // the first few tell the story
    std::printf("FAILED %s\n", pszProperty);
    PrintHex("input", strFirst);
    PrintHex("second input", strSecond);
    PrintHex("actual", strActual);
}

unsigned char Pick(std::mt19937& rng, unsigned nFirst, unsigned nLast)
{
    return static_cast<unsigned char>(nFirst + rng() % (nLast - nFirst + 1));
}

unsigned char LeadByte(std::mt19937& rng) { return rng() % 2 ? Pick(rng, 0x81, 0x9F) : Pick(rng, 0xE0, 0xFC); }

// One character or short run, weighted towards what trips a byte-wise path split.
void AppendPiece(std::mt19937& rng, std::string& s, bool bText)
{
    static const char* const kWords[] = {"C:", "part1", ".ncd", "_cvted", "a.b", "..", "\\\\server\\"};
    static const char* const kTrickyPairs[] = {"\x95\x5C", "\x83\x5C", "\x94\x5C", "\x8F\x5C", "\x81\x5C", "\x83\x7C"};
    switch (rng() % (bText ? 11 : 10)) {
    case 0: case 1: s += "aZqY09_- $~"[rng() % 11]; break;
    case 2: s += "\\/:."[rng() % 4]; break;
    case 3: s += static_cast<char>(Pick(rng, 0xA1, 0xDF)); break;  // half-width katakana
    case 4: s += static_cast<char>(LeadByte(rng));
            s += static_cast<char>(rng() % 2 ? Pick(rng, 0x40, 0x7E) : Pick(rng, 0x80, 0xFC)); break;
    case 5: s += kTrickyPairs[rng() % 6]; break;                    // second byte is '\' or '|'
    case 6: s += '\x82'; s += static_cast<char>(rng() % 2 ? Pick(rng, 0x60, 0x79) : Pick(rng, 0x81, 0x9A)); break;
    case 7: s += static_cast<char>(LeadByte(rng)); s += "./: "[rng() % 4]; break;  // not a valid second byte
    case 8: s += static_cast<char>(LeadByte(rng)); s += static_cast<char>(Pick(rng, 0x41, 0x7A)); break;
    case 9: s += kWords[rng() % 7]; break;
    default: s += " \t\r"[rng() % 3]; break;  // line breaks come from RandomText alone
    }
}

// Mostly short, now and then 300 to 2000 bytes; sometimes a lone lead byte at the end.
std::string RandomPath(std::mt19937& rng)
{
    std::string s;
    size_t nTarget = rng() % 8 ? rng() % 40 : 300 + rng() % 1701;
    while (s.size() < nTarget) AppendPiece(rng, s, false);
    if (rng() % 5 == 0) s += static_cast<char>(LeadByte(rng));
    return s;
}

// Error output: one long line, lines of about 150 or 15 bytes, or mostly empty ones, up to
// 6000 bytes, often with trailing blanks. Long lines reach the byte limit, short ones the line limit.
std::string RandomText(std::mt19937& rng)
{
    static const unsigned kBreakWeights[] = {0, 1, 10, 60};
    unsigned nBreakWeight = kBreakWeights[rng() % 4];
    std::string s;
    size_t nTarget = rng() % 3 ? rng() % 6000 : rng() % 200;
    while (s.size() < nTarget) {
        if (rng() % 100 < nBreakWeight) s += rng() % 3 ? "\n" : "\r\n";
        else AppendPiece(rng, s, true);
    }
    if (rng() % 4 == 0) s += static_cast<char>(LeadByte(rng));
    if (rng() % 3 == 0) s += " \r\n\t\n";
    return s;
}

// A near relative of a path, so that comparisons meet long equal prefixes.
std::string Relative(std::mt19937& rng, const std::string& s)
{
    std::string r = s.substr(0, s.size() - rng() % (s.size() / 4 + 1));
    if (rng() % 2) AppendPiece(rng, r, false);
    return r;
}

}  // namespace

int main()
{
    const unsigned kCasesPerSeed = 20000;
    unsigned nPassed = 0, nFailed = 0;
    for (unsigned nSeed = 1; nSeed <= 8; ++nSeed) {
        std::mt19937 rng(nSeed);
        for (unsigned n = 0; n < kCasesPerSeed; ++n) {
            std::string path = RandomPath(rng);
            std::string second = rng() % 3 ? RandomPath(rng) : Relative(rng, path);
            if (CheckRules(path, second, RandomText(rng), ReportViolation) == 0) ++nPassed;
            else ++nFailed;
        }
    }
    std::printf("%u passed, %u failed\n", nPassed, nFailed);
    return nFailed == 0 ? 0 : 1;
}
