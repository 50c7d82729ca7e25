// Where the main window opens and where its minimised icon is drawn.
#include "Layout.h"

#include <gtest/gtest.h>

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
    // An odd margin around the minimised icon goes to the left or top.
    EXPECT_EQ(std::make_pair(CenteredOffset(37, 32), CenteredOffset(36, 32)), std::make_pair(3, 2));
}
