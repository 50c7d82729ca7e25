// The recent-scripts list: promotion and eviction, the copy-in against real
// files, the copy-back.
#include "RecentList.h"
#include "Strings.h"

#include <windows.h>

#include <filesystem>

// C:\s\0.pl ... for n scripts, most recent first, after pszHead if given.
static Strings Numbered(int nCount, const char* pszHead = nullptr)
{
    Strings paths = pszHead ? Strings{pszHead} : Strings{};
    for (int i = 0; i < nCount; ++i) paths.push_back("C:\\s\\" + std::to_string(i) + ".pl");
    return paths;
}

TEST(RecentList, PromotionAndEviction)
{
    const struct { const char* why; Strings before; const char* path; Strings after; } rows[] = {
        {"the same script moves up in its new spelling", {"C:\\a.pl", "C:\\b.pl", "C:\\c.pl"}, "c:\\B.PL",
         {"c:\\B.PL", "C:\\a.pl", "C:\\c.pl"}},
        {"other characters are not", {"C:\\ア.pl"}, "C:\\ァ.pl", {"C:\\ァ.pl", "C:\\ア.pl"}},
        {"nine and a new one", Numbered(9), "C:\\new.pl", Numbered(9, "C:\\new.pl")},
        {"ten: the least recent goes", Numbered(10), "C:\\new.pl", Numbered(9, "C:\\new.pl")},
        {"ten: a known script evicts nothing", Numbered(10), "C:\\S\\9.PL", Numbered(9, "C:\\S\\9.PL")},
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
    const std::string strDir = (std::filesystem::temp_directory_path() / ("calv-recent-" + std::to_string(::GetCurrentProcessId()))).string() + "\\";
    ASSERT_TRUE(std::filesystem::create_directory(strDir));
    // Paths of 259 and 260 bytes: only the first fits the program's buffers.
    const Strings files = {strDir + "a.pl", strDir + "表示ソフト.pl", strDir + std::string(259 - strDir.size(), 'x'),
                           strDir + std::string(260 - strDir.size(), 'y')};
    for (const std::string& strFile : files)
        EXPECT_TRUE(::CloseHandle(::CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    CStringList record, dialog;
    Fill(record, {files[0], strDir + "missing.pl", files[1], files[2], files[3]});  // least recent first
    CopyInRecentScripts(record, dialog);
    EXPECT_EQ(Contents(dialog), (Strings{files[2], files[1], files[0]}));
    std::filesystem::remove_all(strDir);

    CopyBackRecentScripts(dialog, record);
    EXPECT_EQ(Contents(record), (Strings{files[2], files[1], files[0]}));
}
