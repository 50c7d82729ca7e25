// The recent-scripts list: promotion and eviction on plain lists, and the
// copy-in filter against real files in a temporary folder.
#include "RecentList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

void Fill(CStringList& list, const Paths& paths)
{
    for (const std::string& strPath : paths) list.AddTail(strPath.c_str());
}

Paths Contents(const CStringList& list)
{
    Paths paths;
    for (POSITION pos = list.GetHeadPosition(); pos;) paths.push_back(list.GetNext(pos).Str());
    EXPECT_EQ(static_cast<int>(paths.size()), list.GetCount());
    return paths;
}

// C:\s\0.pl ... for n scripts, most recent first.
Paths Numbered(int nCount)
{
    Paths paths;
    for (int i = 0; i < nCount; ++i) paths.push_back("C:\\s\\" + std::to_string(i) + ".pl");
    return paths;
}

Paths Promoted(const Paths& before, const char* pszPath)
{
    CStringList list;
    Fill(list, before);
    PromoteRecentScript(list, pszPath);
    return Contents(list);
}

const Paths kABC = {"C:\\s\\a.pl", "C:\\s\\b.pl", "C:\\s\\c.pl"};

TEST(RecentList, PromotionMovesTheSameScriptToTheHeadInItsNewSpelling)
{
    EXPECT_EQ(Promoted(kABC, "C:\\s\\b.pl"), (Paths{"C:\\s\\b.pl", "C:\\s\\a.pl", "C:\\s\\c.pl"}));
    EXPECT_EQ(Promoted(kABC, "C:\\s\\c.pl"), (Paths{"C:\\s\\c.pl", "C:\\s\\a.pl", "C:\\s\\b.pl"}));
    EXPECT_EQ(Promoted(kABC, "C:\\s\\a.pl"), kABC);
    EXPECT_EQ(Promoted(kABC, "C:\\S\\B.PL"), (Paths{"C:\\S\\B.PL", "C:\\s\\a.pl", "C:\\s\\c.pl"}));
    EXPECT_EQ(Promoted({"C:\\Ａ\\a.pl"}, "C:\\ａ\\A.pl"), (Paths{"C:\\ａ\\A.pl"}));
    EXPECT_EQ(Promoted({}, "C:\\s\\a.pl"), (Paths{"C:\\s\\a.pl"}));
}

TEST(RecentList, PromotionComparesTextOnly)
{
    EXPECT_EQ(Promoted({"C:\\s\\a.pl"}, "C:/s/a.pl"), (Paths{"C:/s/a.pl", "C:\\s\\a.pl"}));
    EXPECT_EQ(Promoted({"C:\\ア.pl"}, "C:\\ァ.pl"), (Paths{"C:\\ァ.pl", "C:\\ア.pl"}));
    EXPECT_EQ(Promoted({"C:\\\x83\x41.pl"}, "C:\\\x83\x61.pl"), (Paths{"C:\\\x83\x61.pl", "C:\\\x83\x41.pl"}));
}

TEST(RecentList, PromotionReplacesOnlyTheFirstSameEntry)
{
    // Two spellings of one script can come from the store; the later one stays.
    EXPECT_EQ(Promoted({"x.pl", "C:\\A.pl", "c:\\a.pl"}, "C:\\a.PL"), (Paths{"C:\\a.PL", "x.pl", "c:\\a.pl"}));
}

TEST(RecentList, NewScriptEvictsOnlyFromAListOfTenOrMore)
{
    struct {
        int nBefore;
        int nAfter;
    } const cases[] = {{0, 1}, {9, 10}, {10, 10}, {12, 12}};
    for (const auto& c : cases) {
        Paths before = Numbered(c.nBefore);
        Paths expected = before;
        if (c.nBefore >= 10) expected.pop_back();
        expected.insert(expected.begin(), "C:\\new.pl");
        Paths after = Promoted(before, "C:\\new.pl");
        EXPECT_EQ(static_cast<int>(after.size()), c.nAfter);
        EXPECT_EQ(after, expected) << c.nBefore << " entries before";
    }
}

TEST(RecentList, KnownScriptInAFullListEvictsNothing)
{
    Paths before = Numbered(10);
    Paths after = Promoted(before, "C:\\S\\9.PL");
    Paths expected = {"C:\\S\\9.PL"};
    expected.insert(expected.end(), before.begin(), before.end() - 1);
    EXPECT_EQ(after, expected);
}

TEST(RecentList, CopyBackReplacesTheRecordInTheDialogsOrder)
{
    CStringList dialog, record;
    Fill(dialog, kABC);
    Fill(record, {"C:\\old\\x.pl", "C:\\old\\y.pl"});
    CopyBackRecentScripts(dialog, record);
    EXPECT_EQ(Contents(record), kABC);
    EXPECT_EQ(Contents(dialog), kABC);

    CStringList empty;
    CopyBackRecentScripts(empty, record);
    EXPECT_TRUE(record.IsEmpty());
}

// A folder of its own under the temporary folder, removed with what the test put in it.
class RecentCopyIn : public ::testing::Test {
protected:
    void SetUp() override
    {
        char szTemp[MAX_PATH];
        ASSERT_NE(::GetTempPathA(MAX_PATH, szTemp), 0u);
        m_strDir = std::string(szTemp) + "calv-recent-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(::CreateDirectoryA(m_strDir.c_str(), nullptr));
    }

    void TearDown() override
    {
        for (auto it = m_created.rbegin(); it != m_created.rend(); ++it) {
            if (it->back() == '\\') ::RemoveDirectoryA(it->c_str());
            else ::DeleteFileA(it->c_str());
        }
        ::RemoveDirectoryA(m_strDir.c_str());
    }

    std::string MakeFile(const std::string& strName)
    {
        std::string strPath = m_strDir + strName;
        HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(hFile, INVALID_HANDLE_VALUE) << strPath;
        ::CloseHandle(hFile);
        m_created.push_back(strPath);
        return strPath;
    }

    std::string MakeDir(const std::string& strName)
    {
        std::string strPath = m_strDir + strName + "\\";
        EXPECT_TRUE(::CreateDirectoryA(strPath.c_str(), nullptr)) << strPath;
        m_created.push_back(strPath);
        return strPath.substr(0, strPath.size() - 1);
    }

    std::string m_strDir;
    Paths m_created;
};

TEST_F(RecentCopyIn, ReversesTheOrderAndDropsMissingPaths)
{
    const std::string strA = MakeFile("a.pl");
    const std::string strB = MakeFile("b.pl");
    const std::string strJapanese = MakeFile("表示ソフト.pl");
    const std::string strDir = MakeDir("scripts.d");
    const std::string strMissing = m_strDir + "missing.pl";
    const std::string strUnreachable = "Q:\\nowhere\\c.pl";

    // The record as loaded: least recent first.
    const Paths record = {strA, strMissing, strDir, strJapanese, strUnreachable, strB};
    CStringList listRecord, listDialog;
    Fill(listRecord, record);
    CopyInRecentScripts(listRecord, listDialog);

    EXPECT_EQ(Contents(listDialog), (Paths{strB, strJapanese, strDir, strA}));
    EXPECT_EQ(Contents(listRecord), record);
}

TEST_F(RecentCopyIn, TwelvePresentEntriesAllArrive)
{
    Paths record;
    for (int i = 0; i < 12; ++i) record.push_back(MakeFile(std::to_string(i) + ".pl"));
    CStringList listRecord, listDialog;
    Fill(listRecord, record);
    CopyInRecentScripts(listRecord, listDialog);
    EXPECT_EQ(Contents(listDialog), Paths(record.rbegin(), record.rend()));
}

}  // namespace
