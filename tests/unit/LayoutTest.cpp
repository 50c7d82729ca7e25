// Where the main window opens, how big it is and where its minimised icon is drawn.
#include "Layout.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Layout, VisiblePositionKeepsWhatAMonitorShowsElseTakesTheWorkArea)
{
    MONITORINFO info = {sizeof info, {}, {}, 0};
    ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    const RECT& screen = info.rcMonitor;
    const POINT moved = {info.rcWork.left, info.rcWork.top};
    const struct { const char* why; POINT position, expected; } rows[] = {
        {"its last column on screen", {screen.left - 395, 0}, {screen.left - 395, 0}},
        {"ending at the left edge", {screen.left - 396, 0}, moved},
        {"its first pixel on screen", {screen.right - 1, screen.bottom - 1}, {screen.right - 1, screen.bottom - 1}},
        {"beginning at the bottom edge", {0, screen.bottom}, moved},
        {"where a minimised window sits", {-32000, -32000}, moved},
    };
    for (const auto& row : rows) {
        const POINT position = VisiblePosition(row.position, SIZE{396, 310});
        EXPECT_EQ(std::make_pair(position.x, position.y), std::make_pair(row.expected.x, row.expected.y)) << row.why;
    }
    // Sizes at another resolution round to the nearest pixel (97 dpi: 400.1, 480.96), halves up (120 dpi: 387.5).
    const struct { int nDpi; std::vector<LONG> sizes; } scaled[] = {{97, {400, 313, 481}}, {120, {495, 388, 595}}};
    for (const auto& row : scaled)
        EXPECT_EQ((std::vector<LONG>{WindowSize(true, row.nDpi).cx, WindowSize(true, row.nDpi).cy, WindowSize(false, row.nDpi).cy}), row.sizes);
    // An odd margin around the minimised icon goes to the left or top.
    EXPECT_EQ(std::make_pair(CenteredOffset(37, 32), CenteredOffset(36, 32)), std::make_pair(3, 2));
}
