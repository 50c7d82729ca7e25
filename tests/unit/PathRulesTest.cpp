// The path rules on code page 932 bytes: the literals below reach the program
// as such, where 表 is 95 5C and ソ is 83 5C, a second byte that looks like '\'.
#include "PathRules.h"

#include <gtest/gtest.h>

TEST(PathRules, SplitPath)
{
    const struct { const char *why, *path, *drive, *dir, *fname, *ext; } rows[] = {
        {"the name's last period", "C:\\work\\a.b.ncd", "C:", "\\work\\", "a.b", ".ncd"},
        {"a period in a folder is no extension", "C:\\work.d\\part1", "C:", "\\work.d\\", "part1", ""},
        {"'/' separates too", "C:/work\\sub/part1.ncd", "C:", "/work\\sub/", "part1", ".ncd"},
        {"no drive", "sub\\part1.ncd", "", "sub\\", "part1", ".ncd"},
        {"drive without folder", "C:part1.ncd", "C:", "", "part1", ".ncd"},
        {"empty", "", "", "", "", ""},
        {"0x5C second bytes", "C:\\表示\\ソフト.ncd", "C:", "\\表示\\", "ソフト", ".ncd"},
        {"name ending in a 0x5C second byte", "C:\\work\\表", "C:", "\\work\\", "表", ""},
        {"half-width katakana are single bytes", "C:\\ｿ\\ｱ.ncd", "C:", "\\ｿ\\", "ｱ", ".ncd"},
        // What follows the NUL must never be read, even after a lone lead byte.
        {"lone lead byte at the end", "C:\\a\x95\0\\b.c", "C:", "\\", "a\x95", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        PathParts parts = SplitPath(row.path);
        EXPECT_EQ(parts.drive.Str() + "|" + parts.dir.Str() + "|" + parts.fname.Str() + "|" + parts.ext.Str(),
                  std::string(row.drive) + "|" + row.dir + "|" + row.fname + "|" + row.ext);
    }
    // After a lead byte '\' is the second half of a character, otherwise a separator.
    const struct { unsigned char ch; bool bLead; } bytes[] = {
        {0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false}, {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}};
    for (const auto& row : bytes) {
        const std::string strPath = {static_cast<char>(row.ch), '\\', 'x'};
        EXPECT_EQ(SplitPath(strPath.c_str()).fname.Str(), row.bLead ? strPath : "x") << static_cast<int>(row.ch);
    }
}

TEST(PathRules, DeriveAndResolve)
{
    const struct { const char *why, *input, *suffix, *expected; } derives[] = {
        {"suffix before the extension", "C:\\work\\a.b.ncd", "_cvted", "C:\\work\\a.b_cvted.ncd"},
        {"no extension", "C:\\work.d\\part1", "_cvted", "C:\\work.d\\part1_cvted"},
        {"double-byte name and suffix", "C:\\表示\\ソフト.ncd", "_変換", "C:\\表示\\ソフト_変換.ncd"},
        {"empty suffix", "C:\\work\\part1.ncd", "", "C:\\work\\part1.ncd"},
    };
    for (const auto& row : derives) EXPECT_EQ(DeriveOutputPath(row.input, row.suffix).Str(), row.expected) << row.why;
    const struct { const char *why, *typed, *previous, *expected; } resolves[] = {
        {"a bare name joins the previous folder", "b.ncd", "C:\\work\\a.ncd", "C:\\work\\b.ncd"},
        {"a drive is kept", "D:c.ncd", "C:\\work\\a.ncd", "D:c.ncd"},
        {"a folder is kept", "sub/c.ncd", "C:\\work\\a.ncd", "sub/c.ncd"},
        {"no previous folder", "b.ncd", "a.ncd", "b.ncd"},
        {"a 0x5C second byte is no folder", "表", "C:\\表示\\a.ncd", "C:\\表示\\表"},
    };
    for (const auto& row : resolves) EXPECT_EQ(ResolveTypedName(row.typed, row.previous).Str(), row.expected) << row.why;
}

TEST(PathRules, CompareNoCase932FoldsOnlyLatinLetters)
{
    const struct { const char *why, *a, *b; bool bSame; } rows[] = {
        {"ASCII A and Z fold", "C:\\AZ.PL", "c:\\az.pl", true},
        {"'@' is no letter", "@", "`", false},
        {"'[' is no letter", "[", "{", false},
        {"full-width A and Z fold", "ＡＺ", "ａｚ", true},
        {"just before full-width A", "\x82\x5F", "\x82\x80", false},
        {"just after full-width Z", "\x82\x7A", "\x82\x9B", false},
        {"second bytes 'A' and 'a' do not fold", "\x83\x41", "\x83\x61", false},
        {"ASCII after a 0x5C second byte folds", "表a", "表A", true},
        {"lone lead byte at the end", "a\x95", "A\x95", true},
        {"a prefix is not the same", "a.pl", "a.pl.bak", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(CompareNoCase932(row.a, row.b) == 0, row.bSame);
        EXPECT_EQ(CompareNoCase932(row.b, row.a) == 0, row.bSame);
    }
}
