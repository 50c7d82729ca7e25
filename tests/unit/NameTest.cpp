// Names as they come in from outside, in UTF-16: which of them code page 932
// carries exactly, and the command line cut as the shell cuts it.
#include "CodePage932.h"
#include "CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

TEST(Names, OnlyWhatCodePage932CarriesExactlyConverts)
{
    // The narrow literals reach the program as code page 932 bytes; nullptr: refused.
    const struct { const wchar_t* name; const char* expected; const char* why; } rows[] = {
        {L"M\u00FCller.ncd", nullptr, "best fit: u"},
        {L"a\u00A5b.ncd", nullptr, "best fit: '\\', another folder"},
        {L"100\u00A2.ncd", nullptr, "passes the flag, comes back as U+FFE0"},
        {L"\u52A0\u5DE5\u301C1.ncd", nullptr, "wave dash: the default character"},
        {L"\U00020BB7\u91CE.ncd", nullptr, "outside the BMP"},
        {L"caf\u00E9", nullptr, "best fit: e"},
        {L"表示\\ソフト.ncd", "表示\\ソフト.ncd", "0x5C second bytes"},
        {L"髙橋.ncd", "髙橋.ncd", "IBM extension kanji"},
        {L"ﾃｽﾄ.ncd", "ﾃｽﾄ.ncd", "half-width katakana"},
        {L"\uFF5E1.ncd", "～1.ncd", "full-width tilde"},
        {L"a?b", "a?b", "a real question mark is no default character"},
        {L"", "", "empty"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        CString strAnsi("unchanged");
        EXPECT_EQ(ToCodePage932(row.name, strAnsi), row.expected != nullptr);
        EXPECT_EQ(strAnsi.Str(), row.expected ? row.expected : "unchanged");
    }
}

TEST(Names, CommandLineCutAsTheShellCutsIt)
{
    const wchar_t* const lines[] = {
        L"\"C:\\Program Files\\Calvendrake.exe\" \"C:\\表示\\ソフト 1.ncd\"",
        L"Calvendrake.exe C:\\a.ncd\tb.ncd  ",
        L"\"C:\\a b\\Calvendrake.exe\"",
        L"C:\\a\\Calvendrake.exe \"\" \"C:\\dir\\\\\" x",
        L"x.exe a\\\\\\\"b \"c d\"e a\\\\b\\",
        L"x.exe \"C:\\dir\\\" y",
    };
    for (const wchar_t* pszLine : lines) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(pszLine)));
        int nArgs = 0;
        wchar_t** argv = ::CommandLineToArgvW(pszLine, &nArgs);
        ASSERT_NE(argv, nullptr);
        EXPECT_EQ(SplitCommandLine(pszLine), std::vector<std::wstring>(argv, argv + nArgs));
        ::LocalFree(argv);
    }
}
