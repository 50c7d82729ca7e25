// The path rules over characters. 表 (95 5C) and ソ (83 5C) end in a byte that looks like '\'
// in code page 932: cut as bytes, they once split a name; they stay here as rows that must pass.
#include "PathRules.h"

#include <gtest/gtest.h>

TEST(PathRules, SplitPath)
{
    const struct { const char* why; const wchar_t *path, *drive, *dir, *fname, *ext; } rows[] = {
        {"the name's last period", L"C:\\work\\a.b.ncd", L"C:", L"\\work\\", L"a.b", L".ncd"},
        {"a period in a folder is no extension", L"C:\\work.d\\part1", L"C:", L"\\work.d\\", L"part1", L""},
        {"'/' separates too", L"C:/work\\sub/part1.ncd", L"C:", L"/work\\sub/", L"part1", L".ncd"},
        {"no drive", L"sub\\part1.ncd", L"", L"sub\\", L"part1", L".ncd"},
        {"drive without folder", L"C:part1.ncd", L"C:", L"", L"part1", L".ncd"},
        {"empty", L"", L"", L"", L"", L""},
        {"0x5C second bytes", L"C:\\表示\\ソフト.ncd", L"C:", L"\\表示\\", L"ソフト", L".ncd"},
        {"name ending in a 0x5C second byte", L"C:\\work\\表", L"C:", L"\\work\\", L"表", L""},
        {"half-width katakana", L"C:\\ｿ\\ｱ.ncd", L"C:", L"\\ｿ\\", L"ｱ", L".ncd"},
        {"the yen sign is no separator", L"C:\\a¥b.ncd", L"C:", L"\\", L"a¥b", L".ncd"},
        {"a character outside the BMP", L"C:\\𠮷\\野.ncd", L"C:", L"\\𠮷\\", L"野", L".ncd"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        PathParts parts = SplitPath(row.path);
        EXPECT_EQ(parts.drive.Str() + L"|" + parts.dir.Str() + L"|" + parts.fname.Str() + L"|" + parts.ext.Str(),
                  std::wstring(row.drive) + L"|" + row.dir + L"|" + row.fname + L"|" + row.ext);
    }
}

TEST(PathRules, DeriveAndResolve)
{
    // The output derived from an input and a suffix, and a typed name resolved against the previous path.
    const struct { const char* why; CString (*rule)(const wchar_t*, const wchar_t*); const wchar_t *a, *b, *expected; } rows[] = {
        {"suffix before the extension", DeriveOutputPath, L"C:\\work\\a.b.ncd", L"_cvted", L"C:\\work\\a.b_cvted.ncd"},
        {"no extension", DeriveOutputPath, L"C:\\work.d\\part1", L"_cvted", L"C:\\work.d\\part1_cvted"},
        {"double-byte name and suffix", DeriveOutputPath, L"C:\\表示\\ソフト.ncd", L"_変換", L"C:\\表示\\ソフト_変換.ncd"},
        {"empty suffix", DeriveOutputPath, L"C:\\work\\part1.ncd", L"", L"C:\\work\\part1.ncd"},
        // Code page 932 would have made these '\' and u.
        {"a suffix with the yen sign and u umlaut", DeriveOutputPath, L"C:\\work\\part1.ncd", L"_¥ü", L"C:\\work\\part1_¥ü.ncd"},
        {"a bare name joins the previous folder", ResolveTypedName, L"b.ncd", L"C:\\work\\a.ncd", L"C:\\work\\b.ncd"},
        {"a drive is kept", ResolveTypedName, L"D:c.ncd", L"C:\\work\\a.ncd", L"D:c.ncd"},
        {"a folder is kept", ResolveTypedName, L"sub/c.ncd", L"C:\\work\\a.ncd", L"sub/c.ncd"},
        {"no previous folder", ResolveTypedName, L"b.ncd", L"a.ncd", L"b.ncd"},
        {"a 0x5C second byte is no folder", ResolveTypedName, L"表", L"C:\\表示\\a.ncd", L"C:\\表示\\表"},
        {"the yen sign is no folder", ResolveTypedName, L"a¥b.ncd", L"C:\\work\\a.ncd", L"C:\\work\\a¥b.ncd"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.rule(row.a, row.b).Str(), row.expected) << row.why;
}

TEST(PathRules, CompareNoCase932FoldsOnlyLatinLetters)
{
    const struct { const char* why; const wchar_t *a, *b; bool bSame; } rows[] = {
        {"ASCII A and Z fold", L"C:\\AZ.PL", L"c:\\az.pl", true},
        {"'@' is no letter", L"@", L"`", false},
        {"'[' is no letter", L"[", L"{", false},
        {"full-width A and Z fold", L"ＡＺ", L"ａｚ", true},
        {"just before full-width A", L"＠", L"｀", false},
        {"just after full-width Z", L"［", L"｛", false},
        {"kana do not fold", L"ァ", L"ア", false},
        {"Greek does not fold", L"Α", L"α", false},
        {"letters code page 932 lacks do not fold", L"Ü", L"ü", false},
        {"ASCII after a 0x5C second byte folds", L"表a", L"表A", true},
        {"a prefix is not the same", L"a.pl", L"a.pl.bak", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(CompareNoCase932(row.a, row.b) == 0, row.bSame);
        EXPECT_EQ(CompareNoCase932(row.b, row.a) == 0, row.bSame);
    }
}
