// What the sender holds while the receiver reads, in one process: a test window
// stands in for the running dialog. The block's limits and the window search are
// tested with real second launches in the dialog tests.
#include "Handoff.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

namespace {

const char kBlockName[] = "CALVENDRAKE";
const size_t kBlockSize = 1024;
const char kSenderLockName[] = "CALVENDRAKE.handoff";

// The block as the receiver saw it, byte for byte, or empty without a block.
std::string SnapshotBlock()
{
    std::string bytes;
    HANDLE hBlock = ::OpenFileMappingA(FILE_MAP_READ, FALSE, kBlockName);
    if (!hBlock) return bytes;
    if (const void* pView = ::MapViewOfFile(hBlock, FILE_MAP_READ, 0, 0, kBlockSize)) {
        bytes.assign(static_cast<const char*>(pView), kBlockSize);
        ::UnmapViewOfFile(pView);
    }
    ::CloseHandle(hBlock);
    return bytes;
}

// Whether another thread could take the senders' lock right now.
bool SenderLockIsFree()
{
    bool bFree = false;
    std::thread probe([&bFree] {
        HANDLE hLock = ::CreateMutexA(nullptr, FALSE, kSenderLockName);
        DWORD dwWait = ::WaitForSingleObject(hLock, 0);
        bFree = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
        if (bFree) ::ReleaseMutex(hLock);
        ::CloseHandle(hLock);
    });
    probe.join();
    return bFree;
}

struct Notice {
    int nCount = 0;
    BOOL bRead = FALSE;
    CString strPath = "unchanged";
    std::string block;
    bool bLockFree = true;
};
Notice g_notice;

LRESULT CALLBACK ReceiverProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_HANDOFF_INPUT) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    ++g_notice.nCount;
    g_notice.bRead = ReadHandoffBlock(g_notice.strPath);
    g_notice.block = SnapshotBlock();
    g_notice.bLockFree = SenderLockIsFree();
    return 0;
}

// A block as another program might leave it, held open for the test's length.
class ForeignBlock {
public:
    explicit ForeignBlock(char chFill)
        : m_hBlock(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlockName))
    {
        m_pView = m_hBlock ? static_cast<char*>(::MapViewOfFile(m_hBlock, FILE_MAP_WRITE, 0, 0, kBlockSize)) : nullptr;
        if (m_pView) std::memset(m_pView, chFill, kBlockSize);
    }
    ~ForeignBlock()
    {
        if (m_pView) ::UnmapViewOfFile(m_pView);
        if (m_hBlock) ::CloseHandle(m_hBlock);
    }
    bool IsOpen() const { return m_pView != nullptr; }

private:
    HANDLE m_hBlock;
    char* m_pView;
};

class Handoff : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "CalvendrakeHandoffTestReceiver";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowA(wc.lpszClassName, "receiver", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(m_hWnd);
        g_notice = Notice();
    }
    void TearDown() override { ::DestroyWindow(m_hWnd); }

    HWND m_hWnd = nullptr;
};

TEST_F(Handoff, PathArrivesWhileTheSenderHoldsBlockAndLock)
{
    const std::string strPath = "C:\\work\\part2.ncd";
    EXPECT_TRUE(SendHandoff(m_hWnd, strPath.c_str()));
    EXPECT_EQ(1, g_notice.nCount);
    EXPECT_TRUE(g_notice.bRead);
    EXPECT_EQ(CString(strPath), g_notice.strPath);
    EXPECT_FALSE(g_notice.bLockFree);
    // Gone with the sender's handle; the lock is free again.
    EXPECT_TRUE(SnapshotBlock().empty());
    EXPECT_TRUE(SenderLockIsFree());
}

TEST_F(Handoff, SenderClearsTheWholeBlockBehindThePath)
{
    ForeignBlock garbage('G');
    ASSERT_TRUE(garbage.IsOpen());
    EXPECT_TRUE(SendHandoff(m_hWnd, "C:\\a.ncd"));
    EXPECT_EQ(std::string("C:\\a.ncd") + std::string(kBlockSize - 8, '\0'), g_notice.block);
    EXPECT_EQ(CString("C:\\a.ncd"), g_notice.strPath);
}

TEST_F(Handoff, LockLeftByADeadSenderIsTakenOver)
{
    std::thread deadSender([] {
        HANDLE hLock = ::CreateMutexA(nullptr, TRUE, kSenderLockName);
        (void)hLock;  // ends holding it: the mutex is abandoned
    });
    deadSender.join();
    EXPECT_TRUE(SendHandoff(m_hWnd, "C:\\b.ncd"));
    EXPECT_EQ(CString("C:\\b.ncd"), g_notice.strPath);
    EXPECT_TRUE(SenderLockIsFree());
}

}  // namespace
