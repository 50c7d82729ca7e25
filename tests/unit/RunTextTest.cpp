// What a conversion run tells the user when the script fails (the command line Perl gets is
// seen by the dialog tests' stand-in for Perl).
#include "CodePage.h"
#include "ConversionRun.h"
#include "RunText.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(RunText, FailureMessage)
{
    EXPECT_EQ(FailureMessage(L"C:\\表示\\a.pl", 3221225477UL, L"").Str(),
              L"C:\\表示\\a.pl の実行に失敗しました。（終了コード 3221225477）");
    EXPECT_EQ(FailureMessage(L"a.pl", 1, L"Died.\nline 2").Str(), L"a.pl の実行に失敗しました。（終了コード 1）\n\nDied.\nline 2");
}

TEST(RunText, LeadBytesOfCodePage932)
{
    const struct { unsigned char ch; bool bLead; } rows[] = {
        {0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false}, {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}};
    for (const auto& row : rows) EXPECT_EQ(IsLeadByte932(row.ch), row.bLead) << static_cast<int>(row.ch);
}

// Outputs in plain quotes are code page 932 bytes, u8"" ones what a script saved as UTF-8 writes;
// either is shown as the characters it stands for.
TEST(RunText, ErrorOutputTailShowsTwentyLinesOrTwoThousandBytesInEitherEncoding)
{
    const struct { const char* why; std::string output; std::wstring expected; } rows[] = {
        {"blanks only", " \r\n\t\n\n", L""},
        {"trailing blanks go", "died at a.pl line 3.\r\n\n", L"died at a.pl line 3."},
        {"twenty lines stay whole", "first\n" + Repeat("x\n", 19), L"first\n" + Repeat(L"x\n", 18) + L"x"},
        {"of twenty-one the first goes", "first\n" + Repeat("x\n", 20) + " \n", Repeat(L"x\n", 19) + L"x"},
        {"2000 bytes stay whole", Repeat("x", 2000), Repeat(L"x", 2000)},
        {"of 2001 bytes the first goes", Repeat("x", 2001), Repeat(L"x", 2000)},
        // 2001 bytes put the cut on a second byte, which then goes with its first.
        {"0x5C second bytes", Repeat("表", 1000) + "!", Repeat(L"表", 999) + L"!"},
        {"second bytes in the lead-byte range", "a\n" + Repeat("亜", 1000) + "!", Repeat(L"亜", 999) + L"!"},
        // é and 𠮷 are not in code page 932: shown as themselves all the same.
        {"ASCII and UTF-8 lines", u8"at a.pl line 2.\nCafé: 入力が見つかりません 𠮷\n", L"at a.pl line 2.\nCafé: 入力が見つかりません 𠮷"},
        {"invalid UTF-8: a code page 932 line and a UTF-8 line", "表示\n" + std::string(u8"入力\n"), L"表示\n" + std::wstring(L"蜈･蜉・")},  // a lead byte at the end as ・
        {"only the lines shown count", "表示\n" + Repeat(u8"入力\n", 20), Repeat(L"入力\n", 19) + L"入力"},
        // 2100 bytes: the cut leaves two bytes of a character, which go.
        {"UTF-8 cut by the byte limit", Repeat(u8"表", 700), Repeat(L"表", 666)},
        // Well-formed UTF-8 counts as such only with a character of three or four bytes.
        {"half-width kana that is also two-byte UTF-8", "ﾃｽ", L"ﾃｽ"},
        {"two-byte UTF-8 alone reads as code page 932", u8"Café", L"Cafﾃｩ"},
        {"a three-byte character makes it UTF-8", u8"Café 入", L"Café 入"},
    };
    for (const auto& row : rows) EXPECT_EQ(ErrorOutputTail(row.output).Str(), row.expected) << row.why;
    // A four-byte character does as well (how code page 932 then shows it is the system's business).
    EXPECT_TRUE(FindErrorTail("\xC3\xA9\xF0\x9F\x98\x80").bUtf8);  // éU+1F600
}

// Only the end of the error output is read: what it gives must be what the whole output gives,
// or, where the rows expect a tail of their own, what the end read so far gives.
TEST(RunText, ReadingTheEndOfTheOutputGivesTheTailOfTheWhole)
{
    // 亜 is 88 9F: both bytes could begin a character, so only a byte before such a run tells
    // where its characters begin. 表 is 95 5C, ｱ a single byte.
    const struct { const char* why; std::string output; std::wstring expected = L""; } rows[] = {
        {"nothing", ""},
        {"a megabyte of lines", Repeat("warning: runaway loop\n", 50000) + "last words\n"},
        {"blank lines after the text", "last words\n" + Repeat(" \r\n\t\n", 100000)},
        {"even run of lead bytes", "ab" + Repeat("亜", 5000) + "!"},
        {"odd run of lead bytes", "a\x88" + Repeat("亜", 5000) + "!"},
        {"run from the file's start", Repeat("亜", 5000)},
        {"characters mixed across blocks", "ｱ" + Repeat("ｱ亜ソ表a\n", 3000) + Repeat("亜", 1100) + "\n"},
        // Past 64 KiB of lead-byte values the reading stops, and characters are counted from there
        // (a run that long is no text).
        {"64 KiB of lead bytes after a character start", "ab" + Repeat("亜", 32767) + "!", Repeat(L"亜", 999) + L"!"},
        {"64 KiB of lead bytes and more", "ab" + Repeat("亜", 32768) + "!", FromCodePage(Repeat("\x9F\x88", 999) + "\x9F!", kCodePage932).Str()},
    };
    const std::wstring path = (std::filesystem::temp_directory_path() / "calv-tail.tmp").wstring();
    for (const auto& row : rows) {
        HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        DWORD dwWritten = 0;
        ::WriteFile(hFile, row.output.data(), static_cast<DWORD>(row.output.size()), &dwWritten, nullptr);
        const std::string read = ReadErrorTail(hFile);
        ::CloseHandle(hFile);
        EXPECT_EQ(ErrorOutputTail(read).Str(), row.expected.empty() ? ErrorOutputTail(row.output).Str() : row.expected) << row.why;
        EXPECT_LE(read.size(), row.expected.empty() ? 16u * 1024 : 64u * 1024) << row.why << ": read far more than the tail needs";
    }
}
