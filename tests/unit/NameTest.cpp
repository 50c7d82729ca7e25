// Names as they come in from outside, in UTF-16: which of them code page 932
// carries exactly, and the command line cut as the shell cuts it.
#include "../support/Names.h"
#include "AfxWin.h"
#include "CodePage932.h"
#include "CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Names, OnlyWhatCodePage932CarriesExactlyConverts)
{
    std::vector<Name> rows(std::begin(kNames), std::end(kNames));
    rows.push_back({L"a?b", "a?b", nullptr, nullptr});  // a real question mark is no default character
    rows.push_back({L"", "", nullptr, nullptr});
    for (const Name& row : rows) {
        CString strAnsi("unchanged");
        EXPECT_EQ(ToCodePage932(row.name, strAnsi), row.carried != nullptr) << testing::PrintToString(row.name);
        EXPECT_EQ(strAnsi.Str(), row.carried ? row.carried : "unchanged");
    }
}

TEST(Names, CommandLineCutAsTheShellCutsIt)
{
    for (const wchar_t* pszLine : {L"\"C:\\Program Files\\C.exe\" \"C:\\表示\\ソフト 1.ncd\"\tb  ", L"C.exe \"\" \"C:\\dir\\\\\" x",
                                   L"\"C.exe\"", L"x a\\\\\\\"b \"c d\"e a\\\\b\\ \"C:\\dir\\\" y"}) {
        int nArgs = 0;
        wchar_t** argv = ::CommandLineToArgvW(pszLine, &nArgs);
        EXPECT_EQ(SplitCommandLine(pszLine), std::vector<std::wstring>(argv, argv + nArgs)) << testing::PrintToString(pszLine);
        ::LocalFree(argv);
    }
}
