// Reading only the end of a script's error output: whatever the output, the
// tail shown is the one the whole output gives, and the read stays small.
#include "ConversionRun.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Repeat(const std::string& strPiece, size_t nCount)
{
    std::string str;
    for (size_t i = 0; i < nCount; ++i) str += strPiece;
    return str;
}

// What ReadErrorTail gives for a real file of that content.
std::string ReadTailOf(const std::string& content)
{
    char szTemp[MAX_PATH] = "", szPath[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szTemp);
    ::GetTempFileNameA(szTemp, "tal", 0, szPath);
    HANDLE hFile = ::CreateFileA(szPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD dwWritten = 0;
    EXPECT_TRUE(::WriteFile(hFile, content.data(), static_cast<DWORD>(content.size()), &dwWritten, nullptr));
    std::string tail = ReadErrorTail(hFile);
    ::CloseHandle(hFile);
    return tail;
}

TEST(ErrorTail, ReadingTheEndGivesTheTailOfTheWholeOutput)
{
    // 亜 is 88 9F: both bytes could begin a character, so only a byte before
    // the run tells where its characters begin. 表 is 95 5C, ｱ a single byte.
    const struct {
        const char* pszWhy;
        std::string strOutput;
    } cases[] = {
        {"nothing", ""},
        {"one short line", "died at a.pl line 3.\n"},
        {"a megabyte of lines", Repeat("warning: runaway loop\n", 50000) + "last words\n"},
        {"one line of a megabyte", Repeat("x", 1 << 20)},
        {"blank lines after the text", "last words\n" + Repeat(" \r\n\t\n", 100000)},
        {"nothing but blanks", Repeat("\r\n", 100000)},
        {"even run of lead bytes", "ab" + Repeat("亜", 5000) + "!"},
        {"odd run of lead bytes", "a\x88" + Repeat("亜", 5000) + "!"},
        {"run from the file's start", Repeat("亜", 5000)},
        {"trail byte below the lead range", "ｱ" + Repeat("表", 30000) + "!"},
        {"characters mixed across blocks", Repeat("ｱ亜ソ表a\n", 3000) + Repeat("亜", 1100) + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        std::string strRead = ReadTailOf(c.strOutput);
        EXPECT_EQ(ErrorOutputTail(strRead).Str(), ErrorOutputTail(c.strOutput).Str());
        EXPECT_LE(strRead.size(), 16u * 1024) << "read far more than the tail needs";
    }
}

}  // namespace
