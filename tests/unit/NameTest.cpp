// Names as they come in from outside, in UTF-16: which code page carries which of them
// exactly, the form perl is given at each, and the command line cut as the shell cuts it.
#include "AfxWin.h"
#include "CodePage.h"
#include "CommandLine.h"
#include "PerlNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {
const unsigned int kCodePages[] = {932, 1252, 65001};
}  // namespace

TEST(Names, OnlyWhatACodePageCarriesExactlyConverts)
{
    // The bytes each code page gives, or nullptr where it lacks a character (a look-alike is no carrier).
    const struct { std::wstring name; const char* bytes[3]; } rows[] = {
        {L"a?b", {"a?b", "a?b", "a?b"}},  // a real question mark is no default character
        {L"", {"", "", ""}},
        {L"表示\\ソフト", {"表示\\ソフト", nullptr, u8"表示\\ソフト"}},
        {L"ﾃｽﾄ～1", {"ﾃｽﾄ～1", nullptr, u8"ﾃｽﾄ～1"}},
        {L"Müller", {nullptr, "M\xFCller", u8"Müller"}},        // 932: ü only as u
        {L"a¥b", {nullptr, "a\xA5" "b", u8"a¥b"}},              // 932: ¥ only as '\'
        {L"100¢", {nullptr, "100\xA2", u8"100¢"}},              // 932: ¢ comes back as ￠
        {L"加工〜1", {nullptr, nullptr, u8"加工〜1"}},           // U+301C: none but UTF-8
        {L"𠮷野", {nullptr, nullptr, u8"𠮷野"}},
        {L"a\xD842" L"b", {nullptr, nullptr, nullptr}},         // a lone surrogate: no code page
    };
    for (const auto& row : rows) {
        for (size_t i = 0; i < std::size(kCodePages); ++i) {
            SCOPED_TRACE(testing::PrintToString(row.name) + " at " + std::to_string(kCodePages[i]));
            std::string bytes = "unchanged";
            EXPECT_EQ(ToCodePage(row.name, kCodePages[i], bytes), row.bytes[i] != nullptr);
            EXPECT_EQ(bytes, row.bytes[i] ? row.bytes[i] : "unchanged");
        }
    }
}

// Real files in a folder of their own: Wine gives every long name a short one, as Windows
// does on volumes that keep short names.
TEST(Names, PerlIsGivenWhatItsCodePageCarriesElseTheShortName)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("calv-names-" + std::to_string(::GetCurrentProcessId()));
    ASSERT_TRUE(std::filesystem::create_directories(dir / L"データ"));
    ASSERT_TRUE(std::filesystem::create_directories(dir / L"加工〜"));
    const std::wstring strDir = dir.wstring() + L"\\";
    enum Form { kAsIs, kShort, kRefused };
    // An output does not exist yet; an existing file that is missing has no short name.
    const struct { const wchar_t* name; bool bOutput, bExists; Form forms[3]; } rows[] = {
        {L"a.ncd", false, true, {kAsIs, kAsIs, kAsIs}},
        {L"データ\\部品.ncd", false, true, {kAsIs, kShort, kAsIs}},
        {L"Müller.ncd", false, true, {kShort, kAsIs, kAsIs}},
        {L"加工〜1.pl", false, true, {kShort, kShort, kAsIs}},
        {L"missing\\Müller.ncd", false, false, {kRefused, kAsIs, kAsIs}},
        {L"a\xD842.ncd", false, false, {kRefused, kRefused, kRefused}},  // a lone surrogate no code page carries
        {L"加工〜\\a_cvted.ncd", true, false, {kShort, kShort, kAsIs}},
        {L"データ\\部品_cvted.ncd", true, false, {kAsIs, kRefused, kAsIs}},  // its own name is not carried
        {L"Müller_cvted.ncd", true, false, {kRefused, kAsIs, kAsIs}},
    };
    for (const auto& row : rows) {
        const std::wstring strPath = strDir + row.name;
        if (row.bExists) {
            ASSERT_TRUE(::CloseHandle(::CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
        }
        for (size_t i = 0; i < std::size(kCodePages); ++i) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(row.name)) + " at " + std::to_string(kCodePages[i]));
            CString strForm(L"unchanged");
            const bool bGiven = PerlPathForm(strPath, row.bOutput, kCodePages[i], strForm);
            ASSERT_EQ(bGiven, row.forms[i] != kRefused);
            std::string bytes;
            if (!bGiven) {
                EXPECT_EQ(strForm.Str(), L"unchanged");
            } else if (row.forms[i] == kAsIs) {
                EXPECT_EQ(strForm.Str(), strPath);
            } else {
                // Another name the code page carries of the same file (for an output, of its folder, with its own name).
                EXPECT_TRUE(ToCodePage(strForm, kCodePages[i], bytes));
                const std::filesystem::path form(strForm.Str());
                wchar_t szLong[MAX_PATH] = L"";
                ::GetLongPathNameW((row.bOutput ? form.parent_path() : form).c_str(), szLong, MAX_PATH);
                EXPECT_EQ(row.bOutput ? (std::filesystem::path(szLong) / form.filename()).wstring() : std::wstring(szLong), strPath);
            }
        }
    }
    std::filesystem::remove_all(dir);
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
