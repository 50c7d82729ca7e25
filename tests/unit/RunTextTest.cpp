// What a conversion run hands to Perl and what it tells the user when the
// script fails.
#include "RunText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Repeat(const std::string& strPiece, int nCount)
{
    std::string str;
    for (int i = 0; i < nCount; ++i) str += strPiece;
    return str;
}

// "line1\n" ... "lineN\n"
std::string Lines(int nFirst, int nLast, const char* pszBreak = "\n")
{
    std::string str;
    for (int i = nFirst; i <= nLast; ++i) str += "line" + std::to_string(i) + pszBreak;
    return str;
}

std::string Tail(const std::string& strOutput) { return ErrorOutputTail(strOutput).Str(); }

TEST(RunText, CommandLineQuotesTheThreePathsAsTheyAre)
{
    EXPECT_EQ(BuildCommandLine("C:\\s\\a.pl", "C:\\表示\\ソフト.ncd", "C:\\out dir\\b_cvted.ncd").Str(),
              "perl \"C:\\s\\a.pl\" \"C:\\表示\\ソフト.ncd\" \"C:\\out dir\\b_cvted.ncd\"");
    EXPECT_EQ(BuildCommandLine("", "", "").Str(), "perl \"\" \"\" \"\"");
}

TEST(RunText, TailOfNothingButBlanksIsEmpty)
{
    for (const char* psz : {"", "\n", " \r\n\t\r\n  ", "\n\n\n"}) EXPECT_EQ(Tail(psz), "") << '"' << psz << '"';
}

TEST(RunText, TailKeepsTheLastTwentyLinesWithoutTrailingBlankLines)
{
    struct {
        std::string strOutput;
        std::string strExpected;
    } const cases[] = {
        {"died at a.pl line 3.\n", "died at a.pl line 3."},
        {Lines(1, 20), Lines(1, 19) + "line20"},
        {Lines(1, 25), Lines(6, 24) + "line25"},
        // Blank lines after the last text do not count among the twenty.
        {Lines(1, 21) + "\n\r\n  \n", Lines(2, 20) + "line21"},
        // Blank lines inside do.
        {"first\n" + Repeat("\n", 19) + "last\n", Repeat("\n", 19) + "last"},
        {Lines(1, 25, "\r\n"), Lines(6, 24, "\r\n") + "line25"},
    };
    for (const auto& c : cases) EXPECT_EQ(Tail(c.strOutput), c.strExpected);
}

TEST(RunText, TailIsAtMostTwoThousandBytesOfTheEnd)
{
    const std::string strLong = Repeat("x", 1500) + "\n" + Repeat("y", 1500) + "\n" + "last line\n";
    const std::string strTrimmed = strLong.substr(0, strLong.size() - 1);
    std::string strTail = Tail(strLong);
    EXPECT_LE(strTail.size(), 2000u);
    EXPECT_GE(strTail.size(), 1990u);
    EXPECT_EQ(strTail, strTrimmed.substr(strTrimmed.size() - strTail.size()));

    // A single line longer than the limit still gives its end.
    strTail = Tail(Repeat("z", 5000));
    EXPECT_EQ(strTail, Repeat("z", 2000));
}

TEST(RunText, TailNeverStartsInsideADoubleByteCharacter)
{
    // 表 is 95 5C, 亜 is 88 9F (a trail byte that could be a lead byte); the
    // odd last byte puts the two-thousand-byte mark on a trail byte.
    for (const std::string strChar : {"表", "亜", "ソ"}) {
        ASSERT_EQ(strChar.size(), 2u);
        EXPECT_EQ(Tail(Repeat(strChar, 1500) + "!"), Repeat(strChar, 999) + "!");
        EXPECT_EQ(Tail(Repeat(strChar, 1500)), Repeat(strChar, 1000));
        // Behind a first line of half-width katakana (single bytes in the lead-byte-free range).
        EXPECT_EQ(Tail("ｱｲｳ\n" + Repeat(strChar, 1500) + "!\n"), Repeat(strChar, 999) + "!");
    }
}

TEST(RunText, FailureMessageNamesTheScriptAndTheExitCode)
{
    struct {
        const char* pszScript;
        unsigned long ulExitCode;
        const char* pszTail;
        const char* pszExpected;
    } const cases[] = {
        {"C:\\s\\a.pl", 3, "", "C:\\s\\a.pl の実行に失敗しました。（終了コード 3）"},
        {"C:\\s\\a.pl", 3, "Died at C:\\s\\a.pl line 2.",
         "C:\\s\\a.pl の実行に失敗しました。（終了コード 3）\n\nDied at C:\\s\\a.pl line 2."},
        {"C:\\表示\\ソフト.pl", 255, "a\nb", "C:\\表示\\ソフト.pl の実行に失敗しました。（終了コード 255）\n\na\nb"},
        {"C:\\s\\a.pl", 3221225477UL, "", "C:\\s\\a.pl の実行に失敗しました。（終了コード 3221225477）"},
        {"C:\\s\\a.pl", 4294967295UL, "", "C:\\s\\a.pl の実行に失敗しました。（終了コード 4294967295）"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureMessage(c.pszScript, c.ulExitCode, c.pszTail).Str(), c.pszExpected);
}

// The message must be code page 932 bytes, not the source's UTF-8.
TEST(RunText, FailureMessageIsCodePage932)
{
    const std::string strMessage = FailureMessage("a", 3, "").Str();
    const std::string strExpected = "a \x82\xCC\x8E\xC0\x8D\x73\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5"
                                    "\x82\xBD\x81\x42\x81\x69\x8F\x49\x97\xB9\x83\x52\x81\x5B\x83\x68 3\x81\x6A";
    EXPECT_EQ(strMessage, strExpected);
}

}  // namespace
