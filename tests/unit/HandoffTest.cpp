// The hand-off block as any program could leave it, and the sender's limits.
// The hand-off between two real instances is proved with the program itself.
#include "Handoff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

TEST(Handoff, ReaderTakesThePathOnlyUpToANulInsideTheBlock)
{
    const struct { const char* why; bool bBlock; std::string start; std::string expected; } rows[] = {
        {"no block", false, "", "unchanged"},
        {"a path, then garbage", true, std::string("C:\\a.ncd\0", 9), "C:\\a.ncd"},
        {"the NUL in the last byte", true, std::string(1023, 'p') + '\0', std::string(1023, 'p')},
        {"no NUL at all", true, "", "unchanged"},
    };
    for (const auto& row : rows) {
        HANDLE hBlock = row.bBlock ? ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, "CALVENDRAKE") : nullptr;
        if (char* pView = hBlock ? static_cast<char*>(::MapViewOfFile(hBlock, FILE_MAP_WRITE, 0, 0, 1024)) : nullptr) {
            std::memcpy(pView, (row.start + std::string(1024, 'G')).data(), 1024);
            ::UnmapViewOfFile(pView);
        }
        CString strPath("unchanged");
        EXPECT_EQ(ReadHandoffBlock(strPath) != FALSE, row.expected != "unchanged") << row.why;
        EXPECT_EQ(strPath.Str(), row.expected) << row.why;
        if (hBlock) ::CloseHandle(hBlock);
    }
}

TEST(Handoff, SenderRefusesAPathOfTheBlocksSizeAndOutlivesADeadSender)
{
    // A crashed sender leaves the senders' lock abandoned: the next one takes it over.
    std::thread([] { ::CreateMutexA(nullptr, TRUE, "CALVENDRAKE.handoff"); }).join();
    // Without a receiving window the notice goes nowhere, but the path is written into the
    // block, which our handle keeps; a path too long writes nothing.
    HANDLE hBlock = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, "CALVENDRAKE");
    EXPECT_TRUE(SendHandoff(nullptr, std::string(1023, 'p').c_str()));
    EXPECT_FALSE(SendHandoff(nullptr, std::string(1024, 'q').c_str()));
    CString strPath;
    EXPECT_TRUE(ReadHandoffBlock(strPath) && strPath == std::string(1023, 'p').c_str());
    ::CloseHandle(hBlock);
}
