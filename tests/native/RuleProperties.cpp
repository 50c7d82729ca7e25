#include "RuleProperties.h"
#include "Messages.h"
#include "PathRules.h"
#include "RunText.h"

#include <algorithm>
#include <vector>

namespace {

struct Probe {
    ViolationHandler onViolation;
    const std::string& strFirst;
    const std::string& strSecond;
    int nViolations = 0;

    void Expect(bool bHolds, const char* pszProperty, const std::string& strActual)
    {
        if (bHolds) return;
        ++nViolations;
        onViolation(pszProperty, strFirst, strSecond, strActual);
    }
};
#define CHECK(probe, cond, actual) (probe).Expect((cond), #cond, (actual))

bool IsLead(unsigned char ch) { return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC); }
bool IsTrail(unsigned char ch) { return ch >= 0x40 && ch <= 0xFC && ch != 0x7F; }
bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

// starts[i]: a character begins at byte i (and at the end). Paths are walked as
// the C runtime walks them, a lead byte taking whatever byte follows; error
// output as text, where a line break is never the second half of a character.
std::vector<bool> CharStarts(const std::string& s, bool bAnyTrail)
{
    std::vector<bool> starts(s.size() + 1, false);
    for (size_t i = 0; i <= s.size();) {
        starts[i] = true;
        bool bPair = i + 1 < s.size() && IsLead(s[i]) && (bAnyTrail || IsTrail(s[i + 1]));
        i += bPair ? 2 : 1;
    }
    return starts;
}

// Offset just past the drive and directory: after the last separator character, else after "X:".
size_t NameOffset(const std::string& s, const std::vector<bool>& starts)
{
    size_t nName = s.size() >= 2 && s[1] == ':' ? 2 : 0;
    for (size_t i = nName; i < s.size(); ++i)
        if (starts[i] && IsSeparator(s[i])) nName = i + 1;
    return nName;
}

// Offset of the extension: the last period character of the name, else the end.
size_t ExtOffset(const std::string& s, const std::vector<bool>& starts)
{
    size_t nExt = s.size();
    for (size_t i = NameOffset(s, starts); i < s.size(); ++i)
        if (starts[i] && s[i] == '.') nExt = i;
    return nExt;
}

void CheckSplitAndDerive(Probe& probe, const std::string& strPath, const std::string& strSuffix)
{
    std::vector<bool> starts = CharStarts(strPath, true);
    PathParts parts = SplitPath(strPath.c_str());
    std::string joined = (parts.drive + parts.dir + parts.fname + parts.ext).Str();
    CHECK(probe, joined == strPath, joined);
    if (joined != strPath) return;  // the offsets below mean nothing then
    size_t nDir = parts.drive.GetLength(), nName = nDir + parts.dir.GetLength();
    size_t nExt = nName + parts.fname.GetLength();
    std::string layout = std::to_string(nDir) + "," + std::to_string(nName) + "," + std::to_string(nExt);
    CHECK(probe, starts[nDir] && starts[nName] && starts[nExt], layout);
    CHECK(probe, nDir == (strPath.size() >= 2 && strPath[1] == ':' ? 2u : 0u), layout);
    CHECK(probe, nName == NameOffset(strPath, starts), layout);  // dir ends at the last separator
    CHECK(probe, nExt == ExtOffset(strPath, starts), layout);    // ext starts at the name's last period
    // The suffix goes in before the extension; an empty one gives the path back.
    std::string derived = DeriveOutputPath(strPath.c_str(), strSuffix.c_str()).Str();
    CHECK(probe, derived == strPath.substr(0, nExt) + strSuffix + strPath.substr(nExt), derived);
}

void CheckResolve(Probe& probe, const std::string& strTyped, const std::string& strPrevious)
{
    std::string resolved = ResolveTypedName(strTyped.c_str(), strPrevious.c_str()).Str();
    bool bHasFolder = NameOffset(strTyped, CharStarts(strTyped, true)) > 0;
    std::string prefix = strPrevious.substr(0, NameOffset(strPrevious, CharStarts(strPrevious, true)));
    CHECK(probe, resolved == (bHasFolder ? strTyped : prefix + strTyped), resolved);
}

// Character codes with ASCII and full-width Latin letters folded to lower case,
// as the C runtime folds them (this decides the sign against '_' and the like).
std::vector<unsigned> FoldedCodes(const std::string& s)
{
    std::vector<bool> starts = CharStarts(s, true);
    std::vector<unsigned> codes;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char ch = s[i];
        if (!starts[i + 1]) {
            unsigned char trail = s[++i];
            if (ch == 0x82 && trail >= 0x60 && trail <= 0x79) trail += 0x21;
            codes.push_back(ch << 8 | trail);
        } else {
            codes.push_back(ch >= 'A' && ch <= 'Z' ? ch + 0x20 : ch);
        }
    }
    return codes;
}

// Swaps the case of every letter character; with bTrails, only of letter bytes
// that are second halves, which makes other characters.
std::string SwapCase(const std::string& s, bool bTrails)
{
    std::vector<bool> starts = CharStarts(s, true);
    std::string swapped = s;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char ch = s[i];
        bool bAsciiLetter = (ch | 0x20) >= 'a' && (ch | 0x20) <= 'z';
        if (bTrails) {
            if (!starts[i] && bAsciiLetter) swapped[i] = ch ^ 0x20;
        } else if (starts[i] && bAsciiLetter) {
            swapped[i] = ch ^ 0x20;
        } else if (starts[i] && ch == 0x82 && !starts[i + 1]) {
            unsigned char trail = s[i + 1];
            if (trail >= 0x60 && trail <= 0x79) swapped[i + 1] = trail + 0x21;
            if (trail >= 0x81 && trail <= 0x9A) swapped[i + 1] = trail - 0x21;
        }
    }
    return swapped;
}

int Sign(int n) { return (n > 0) - (n < 0); }

void CheckCompare(Probe& probe, const std::string& strA, const std::string& strB)
{
    int nAB = Sign(CompareNoCase932(strA.c_str(), strB.c_str()));
    std::vector<unsigned> codesA = FoldedCodes(strA), codesB = FoldedCodes(strB);
    int nExpected = codesA < codesB ? -1 : codesB < codesA ? 1 : 0;
    std::string actual = std::to_string(nAB);
    CHECK(probe, nAB == nExpected, actual);
    CHECK(probe, Sign(CompareNoCase932(strB.c_str(), strA.c_str())) == -nAB, actual);
    CHECK(probe, CompareNoCase932(strA.c_str(), strA.c_str()) == 0, actual);
    CHECK(probe, Sign(CompareNoCase932(strA.c_str(), SwapCase(strB, false).c_str())) == nAB, actual);
    std::string other = SwapCase(strA, true);
    CHECK(probe, (CompareNoCase932(strA.c_str(), other.c_str()) == 0) == (other == strA), other);
}

void CheckErrorTail(Probe& probe, const std::string& strText, const std::string& strScript)
{
    std::string trimmed = strText.substr(0, strText.find_last_not_of(" \t\r\n") + 1);
    std::string tail = ErrorOutputTail(strText).Str();
    size_t nStart = trimmed.size() - std::min(tail.size(), trimmed.size());
    size_t nBreaks = std::count(tail.begin(), tail.end(), '\n');
    CHECK(probe, tail.size() <= trimmed.size() && trimmed.compare(nStart, std::string::npos, tail) == 0, tail);
    CHECK(probe, tail.size() <= 2000 && nBreaks < 20, tail);
    CHECK(probe, CharStarts(trimmed, false)[nStart], tail);
    // As much as the limits allow: all of it, 20 whole lines, or 2000 bytes less half a character.
    CHECK(probe, nStart == 0 || (nBreaks == 19 && trimmed[nStart - 1] == '\n') || tail.size() >= 1999, tail);
    unsigned long ulCode = static_cast<unsigned long>(strText.size()) * 2654435761u;
    std::string message = FailureMessage(strScript.c_str(), ulCode, tail).Str();
    std::string head = strScript + kMsgRunFailed + std::to_string(ulCode) + kMsgRunFailedEnd;
    CHECK(probe, message == (tail.empty() ? head : head + "\n\n" + tail), message);
    std::string command = BuildCommandLine(strScript.c_str(), strText.c_str(), strScript.c_str()).Str();
    CHECK(probe, command.size() == 2 * strScript.size() + std::string(strText.c_str()).size() + 13, command);
}

}  // namespace

int CheckRules(const std::string& strFirst, const std::string& strSecond, const std::string& strText,
               ViolationHandler onViolation)
{
    Probe pair{onViolation, strFirst, strSecond};
    CheckSplitAndDerive(pair, strFirst, strSecond);
    CheckResolve(pair, strFirst, strSecond);
    CheckCompare(pair, strFirst, strSecond);
    Probe text{onViolation, strText, strFirst};
    CheckErrorTail(text, strText, strFirst);
    return pair.nViolations + text.nViolations;
}
