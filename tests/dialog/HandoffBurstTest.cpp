// Ten launches at the same moment share the one block. To see every delivery,
// this test plays the running instance itself: a window titled "Calvendrake"
// whose notice handler reads the block as the dialog does and records the path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "AppDriver.h"
#include "PumpingWait.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

class StandInReceiver {
public:
    StandInReceiver()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, kClassName, "Calvendrake", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~StandInReceiver()
    {
        ::DestroyWindow(m_hWnd);
        ::UnregisterClassA(kClassName, ::GetModuleHandleA(nullptr));
    }
    StandInReceiver(const StandInReceiver&) = delete;
    StandInReceiver& operator=(const StandInReceiver&) = delete;

    HWND Window() const { return m_hWnd; }
    const std::vector<std::string>& Received() const { return m_received; }

private:
    static constexpr char kClassName[] = "CalvendrakeStandIn";

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != WM_HANDOFF_INPUT) return ::DefWindowProcA(hWnd, message, wParam, lParam);
        reinterpret_cast<StandInReceiver*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA))->ReadBlock();
        return 0;
    }

    void ReadBlock()
    {
        HANDLE hBlock = ::OpenFileMappingA(FILE_MAP_READ, FALSE, "CALVENDRAKE");
        if (!hBlock) {
            m_received.push_back("<no block>");
            return;
        }
        if (const char* pchView = static_cast<const char*>(::MapViewOfFile(hBlock, FILE_MAP_READ, 0, 0, 1024))) {
            const void* pNul = std::memchr(pchView, '\0', 1024);
            m_received.push_back(pNul ? std::string(pchView, static_cast<const char*>(pNul) - pchView) : "<no NUL>");
            ::UnmapViewOfFile(pchView);
        }
        ::CloseHandle(hBlock);
    }

    HWND m_hWnd = nullptr;
    std::vector<std::string> m_received;
};

// Ten paths of different lengths, so that one read half-overwritten by another shows.
std::vector<std::string> TenPaths()
{
    std::vector<std::string> paths;
    for (int i = 0; i < 9; ++i)
        paths.push_back("C:\\work\\" + std::string(static_cast<size_t>(9 - i) * 20, 'a' + i) + "\\part" +
                        std::to_string(i) + ".ncd");
    paths.push_back("C:\\作業\\表面\\部品9.ncd");
    return paths;
}

}  // namespace

TEST(HandoffBurst, TenLaunchesAtOnceEachDeliverTheirOwnPath)
{
    DeleteSettingsKey();
    StandInReceiver receiver;
    ASSERT_EQ(::FindWindowA(nullptr, "Calvendrake"), receiver.Window());

    const std::vector<std::string> sent = TenPaths();
    std::vector<HANDLE> launches;
    for (const std::string& path : sent) launches.push_back(StartCalvendrake(LaunchOptions{{path}, {}, {}}).hProcess);
    // Handle nothing for a while, so that the launches pile up at the block
    // before the first notice is read: a sender that wrote without waiting
    // its turn would overwrite a path not yet read.
    ::Sleep(2000);
    const std::vector<DWORD> exitCodes = WaitForExitsPumping(launches);

    EXPECT_EQ(exitCodes, std::vector<DWORD>(sent.size(), 0));
    std::vector<std::string> received = receiver.Received();
    std::sort(received.begin(), received.end());
    std::vector<std::string> expected = sent;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(received, expected);
    // None of them took itself for the first instance.
    EXPECT_FALSE(ValueExists("Convert"));
}
