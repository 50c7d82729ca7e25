// The recent-scripts list: promotion and eviction, the copy-in against real
// files, the copy-back.
#include "RecentList.h"
#include "Strings.h"

#include <windows.h>

#include <filesystem>

// C:\s\0.pl ... for n scripts, most recent first, after pszHead if given.
static Strings Numbered(int nCount, const wchar_t* pszHead = nullptr)
{
    Strings paths = pszHead ? Strings{pszHead} : Strings{};
    for (int i = 0; i < nCount; ++i) paths.push_back(L"C:\\s\\" + std::to_wstring(i) + L".pl");
    return paths;
}

TEST(RecentList, PromotionAndEviction)
{
    const struct { const char* why; Strings before; const wchar_t* path; Strings after; } rows[] = {
        {"the same script moves up in its new spelling", {L"C:\\a.pl", L"C:\\b.pl", L"C:\\c.pl"}, L"c:\\B.PL",
         {L"c:\\B.PL", L"C:\\a.pl", L"C:\\c.pl"}},
        {"other characters are not", {L"C:\\ア.pl"}, L"C:\\ァ.pl", {L"C:\\ァ.pl", L"C:\\ア.pl"}},
        {"nor are those code page 932 lacks", {L"C:\\Ü.pl"}, L"C:\\ü.pl", {L"C:\\ü.pl", L"C:\\Ü.pl"}},
        {"nine and a new one", Numbered(9), L"C:\\new.pl", Numbered(9, L"C:\\new.pl")},
        {"ten: the least recent goes", Numbered(10), L"C:\\new.pl", Numbered(9, L"C:\\new.pl")},
        {"ten: a known script evicts nothing", Numbered(10), L"C:\\S\\9.PL", Numbered(9, L"C:\\S\\9.PL")},
    };
    for (const auto& row : rows) {
        CStringList list;
        Fill(list, row.before);
        PromoteRecentScript(list, row.path);
        EXPECT_EQ(Contents(list), row.after) << row.why;
    }
}

TEST(RecentList, CopyInDropsWhatCannotBeUsedAndCopyBackKeepsTheOrder)
{
    const std::wstring strDir = (std::filesystem::temp_directory_path() / ("calv-recent-" + std::to_string(::GetCurrentProcessId()))).wstring() + L"\\";
    ASSERT_TRUE(std::filesystem::create_directory(strDir));
    // Paths of 259 and 260 characters: only the first fits the program's buffers.
    const Strings files = {strDir + L"a.pl", strDir + L"表示ソフト𠮷.pl", strDir + std::wstring(259 - strDir.size(), L'x'),
                           strDir + std::wstring(260 - strDir.size(), L'y')};
    for (const std::wstring& strFile : files)
        EXPECT_TRUE(::CloseHandle(::CreateFileW(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    CStringList record, dialog;
    Fill(record, {files[0], strDir + L"missing.pl", files[1], files[2], files[3]});  // least recent first
    CopyInRecentScripts(record, dialog);
    EXPECT_EQ(Contents(dialog), (Strings{files[2], files[1], files[0]}));
    std::filesystem::remove_all(strDir);

    CopyBackRecentScripts(dialog, record);
    EXPECT_EQ(Contents(record), (Strings{files[2], files[1], files[0]}));
}
