// The sender's limits. The hand-off between two real instances, and a block as any
// program could leave it, are proved with the program itself.
#include "Handoff.h"

#include <gtest/gtest.h>

#include <thread>

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
