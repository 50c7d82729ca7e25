// Path splitting, the proposed output path, typed names and the recent list's
// sameness test. The source is UTF-8 but its literals reach the program as
// code page 932 bytes: 表 is 95 5C and ソ is 83 5C, so their second byte looks
// like a separator.
#include "PathRules.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <mbctype.h>
#include <mbstring.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* pszPath;
    const char* pszDrive;
    const char* pszDir;
    const char* pszName;
    const char* pszExt;
};

const SplitCase kSplitCases[] = {
    {"C:\\work\\part1.ncd", "C:", "\\work\\", "part1", ".ncd"},
    {"C:\\work\\part1", "C:", "\\work\\", "part1", ""},
    {"C:\\work\\a.b.ncd", "C:", "\\work\\", "a.b", ".ncd"},
    {"C:\\work.d\\part1", "C:", "\\work.d\\", "part1", ""},
    {"C:/work/part1.ncd", "C:", "/work/", "part1", ".ncd"},
    {"C:\\work/sub\\part1.ncd", "C:", "\\work/sub\\", "part1", ".ncd"},
    {"C:\\work\\", "C:", "\\work\\", "", ""},
    {"part1.ncd", "", "", "part1", ".ncd"},
    {"sub\\part1.ncd", "", "sub\\", "part1", ".ncd"},
    {"C:part1.ncd", "C:", "", "part1", ".ncd"},
    {"", "", "", "", ""},
    // Neither 0x5C trail byte is a separator.
    {"C:\\表示\\ソフト.ncd", "C:", "\\表示\\", "ソフト", ".ncd"},
    {"C:\\work\\表", "C:", "\\work\\", "表", ""},
    {"C:\\work\\ソ", "C:", "\\work\\", "ソ", ""},
    {"C:\\表\\", "C:", "\\表\\", "", ""},
    {"表\\ソ.pl", "", "表\\", "ソ", ".pl"},
    // Half-width katakana are single bytes: the '\' after ｿ (BF) is a separator.
    {"C:\\ｿ\\ｱｲ.ncd", "C:", "\\ｿ\\", "ｱｲ", ".ncd"},
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.pszPath; }

class SplitPathCase : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathCase, GivesDriveDirectoryNameAndExtension)
{
    const SplitCase& c = GetParam();
    PathParts parts = SplitPath(c.pszPath);
    EXPECT_EQ(parts.drive.Str(), c.pszDrive);
    EXPECT_EQ(parts.dir.Str(), c.pszDir);
    EXPECT_EQ(parts.fname.Str(), c.pszName);
    EXPECT_EQ(parts.ext.Str(), c.pszExt);
}

INSTANTIATE_TEST_SUITE_P(PathRules, SplitPathCase, ::testing::ValuesIn(kSplitCases));

// A lead byte with nothing after it is a character of its own. (The runtime's
// _splitpath reads past the terminator here, so it is no reference for these.)
TEST(PathRules, LoneLeadByteAtTheEndIsACharacterOfItsOwn)
{
    for (const char* pszPath : {"C:\\a\x95", "C:\\a\\\x95"}) {
        PathParts parts = SplitPath(pszPath);
        EXPECT_EQ(parts.drive.Str(), "C:");
        EXPECT_EQ((parts.drive + parts.dir + parts.fname + parts.ext).Str(), pszPath);
        EXPECT_EQ(parts.fname.Str().back(), '\x95');
        EXPECT_EQ(DeriveOutputPath(pszPath, "_cvted").Str(), std::string(pszPath) + "_cvted");
    }
    EXPECT_EQ(CompareNoCase932("a\x95", "A\x95"), 0);
    EXPECT_NE(CompareNoCase932("a\x95", "a"), 0);
}

// Byte strings that trip a byte-wise splitter; each must split into parts that join back to itself.
const std::string kTrickyPaths[] = {
    "C:\\work\\part1.ncd",
    "C:\\\x83" "\x5C" "\x83" "\x5C",    // ソソ: trail bytes at the very end
    "\x81" "\x5C" "a.b\\c",             // 0x5C after a lead byte at the start
    "C:\\\xB1\xDF\\\xA1.\xDF",          // half-width katakana around separators and the period
    "C:\\\x95" "\x5C" "." "\x83" "\x5C",// 表.ソ
    "\x88\x9F\x88\x9F\\x",              // 亜亜: trail bytes in the lead-byte range
    "//.\\..\\.",
};

TEST(PathRules, SplitPartsJoinBackToThePath)
{
    for (const std::string& strPath : kTrickyPaths) {
        PathParts parts = SplitPath(strPath.c_str());
        EXPECT_EQ((parts.drive + parts.dir + parts.fname + parts.ext).Str(), strPath);
    }
}

// The program's split is its own; the C runtime of the platform is the reference it follows.
TEST(PathRules, SplitMatchesTheRuntimeSplitPathForCodePage932)
{
    ASSERT_EQ(_setmbcp(932), 0);
    std::vector<std::string> paths(std::begin(kTrickyPaths), std::end(kTrickyPaths));
    for (const SplitCase& c : kSplitCases) paths.push_back(c.pszPath);
    for (const std::string& strPath : paths) {
        char szDrive[MAX_PATH], szDir[MAX_PATH], szName[MAX_PATH], szExt[MAX_PATH];
        _splitpath(strPath.c_str(), szDrive, szDir, szName, szExt);
        PathParts parts = SplitPath(strPath.c_str());
        EXPECT_EQ(parts.drive.Str(), szDrive) << strPath;
        EXPECT_EQ(parts.dir.Str(), szDir) << strPath;
        EXPECT_EQ(parts.fname.Str(), szName) << strPath;
        EXPECT_EQ(parts.ext.Str(), szExt) << strPath;
    }
}

TEST(PathRules, OverlongPathSplitsAndDerivesWhole)
{
    std::string strDir = "C:";
    for (int i = 0; i < 30; ++i) strDir += "\\表示ソフト" + std::to_string(i);
    strDir += "\\";
    const std::string strPath = strDir + "part1.ncd";
    ASSERT_GT(strPath.size(), 300u);

    PathParts parts = SplitPath(strPath.c_str());
    EXPECT_EQ((parts.drive + parts.dir).Str(), strDir);
    EXPECT_EQ(parts.fname.Str(), "part1");
    EXPECT_EQ(DeriveOutputPath(strPath.c_str(), "_cvted").Str(), strDir + "part1_cvted.ncd");
    EXPECT_EQ(ResolveTypedName("b.ncd", strPath.c_str()).Str(), strDir + "b.ncd");
}

TEST(PathRules, DeriveOutputPathPutsTheSuffixBeforeTheExtension)
{
    struct {
        const char* pszInput;
        const char* pszSuffix;
        const char* pszExpected;
    } const cases[] = {
        {"C:\\work\\part1.ncd", "_cvted", "C:\\work\\part1_cvted.ncd"},
        {"C:\\work\\part1", "_cvted", "C:\\work\\part1_cvted"},
        {"C:\\work\\a.b.ncd", "_cvted", "C:\\work\\a.b_cvted.ncd"},
        {"C:\\work.d\\part1", "_cvted", "C:\\work.d\\part1_cvted"},
        {"C:/work/part1.ncd", "_cvted", "C:/work/part1_cvted.ncd"},
        {"C:\\表示\\ソフト.ncd", "_変換", "C:\\表示\\ソフト_変換.ncd"},
        {"C:\\work\\表", "_cvted", "C:\\work\\表_cvted"},
        {"C:\\work\\part1.ncd", "", "C:\\work\\part1.ncd"},
        {"", "_cvted", "_cvted"},
        {"", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeriveOutputPath(c.pszInput, c.pszSuffix).Str(), c.pszExpected) << c.pszInput;
}

TEST(PathRules, ResolveTypedNameKeepsAnyDirectoryElseUsesThePrevious)
{
    struct {
        const char* pszTyped;
        const char* pszPrevious;
        const char* pszExpected;
    } const cases[] = {
        {"b.ncd", "C:\\work\\a.ncd", "C:\\work\\b.ncd"},
        {"D:\\x\\c.ncd", "C:\\work\\a.ncd", "D:\\x\\c.ncd"},
        {"sub\\c.ncd", "C:\\work\\a.ncd", "sub\\c.ncd"},
        {"sub/c.ncd", "C:\\work\\a.ncd", "sub/c.ncd"},
        {"D:c.ncd", "C:\\work\\a.ncd", "D:c.ncd"},
        {"", "C:\\work\\a.ncd", "C:\\work\\"},
        {"b.ncd", "", "b.ncd"},
        {"b.ncd", "C:/work/a.ncd", "C:/work/b.ncd"},
        {"b.ncd", "a.ncd", "b.ncd"},
        // A name ending in a 0x5C trail byte has no directory of its own.
        {"表", "C:\\work\\a.ncd", "C:\\work\\表"},
        {"ソフト.ncd", "C:\\表示\\a.ncd", "C:\\表示\\ソフト.ncd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveTypedName(c.pszTyped, c.pszPrevious).Str(), c.pszExpected) << c.pszTyped;
}

struct CompareCase {
    const char* pszA;
    const char* pszB;
    bool bSame;
};

const CompareCase kCompareCases[] = {
    {"C:\\S\\A.PL", "c:\\s\\a.pl", true},
    {"C:/s/a.pl", "C:\\s\\a.pl", false},
    {"Ａ", "ａ", true},                         // 82 60 / 82 81
    {"Ｚ", "ｚ", true},                         // 82 79 / 82 9A
    {"C:\\ＡＢ.pl", "c:\\ａｂ.PL", true},
    {"\x82\x9B", "\x82\x7A", false},          // just past ｚ and Ｚ
    {"\x82\x80", "\x82\x5F", false},          // just before ａ and Ａ
    {"ア", "ァ", false},                       // 83 41 / 83 40
    {"\x83\x61", "\x83\x41", false},          // trail bytes 'a' and 'A' do not fold
    {"x\x83" "ab", "X\x83" "aB", true},       // after that character, ASCII folds again
    {"x\x83" "ab", "X\x83" "Ab", false},
    {"表a", "表A", true},                      // 95 5C 61 / 95 5C 41
    {"ｱ", "ｧ", false},                        // half-width katakana: no case
    {"", "", true},
    {"a", "", false},
    {"a.pl", "a.pl.bak", false},
};

TEST(PathRules, CompareNoCase932FoldsOnlyLatinLetters)
{
    for (const CompareCase& c : kCompareCases) {
        EXPECT_EQ(CompareNoCase932(c.pszA, c.pszB) == 0, c.bSame) << c.pszA << " / " << c.pszB;
        EXPECT_EQ(CompareNoCase932(c.pszB, c.pszA) == 0, c.bSame) << c.pszB << " / " << c.pszA;
    }
}

TEST(PathRules, CompareNoCase932OrdersAPrefixFirst)
{
    EXPECT_LT(CompareNoCase932("", "a"), 0);
    EXPECT_LT(CompareNoCase932("a.pl", "A.PL.bak"), 0);
    EXPECT_GT(CompareNoCase932("表示", "表"), 0);
}

// Sameness is the C runtime's _mbsicmp under code page 932; ours must agree on every case.
TEST(PathRules, CompareNoCase932AgreesWithTheRuntimeOnSameness)
{
    ASSERT_EQ(_setmbcp(932), 0);
    for (const CompareCase& c : kCompareCases) {
        const unsigned char* a = reinterpret_cast<const unsigned char*>(c.pszA);
        const unsigned char* b = reinterpret_cast<const unsigned char*>(c.pszB);
        EXPECT_EQ(_mbsicmp(a, b) == 0, CompareNoCase932(c.pszA, c.pszB) == 0) << c.pszA << " / " << c.pszB;
    }
}

}  // namespace
