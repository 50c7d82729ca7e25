// The placement rules of the main window: the minimised icon's centring and the mend for a
// stored position that no monitor shows.
#include <gtest/gtest.h>

#include "Layout.h"

TEST(CenteredOffset, OddMarginGoesToTheLeftOrTop)
{
    EXPECT_EQ(3, CenteredOffset(37, 32));
    EXPECT_EQ(2, CenteredOffset(36, 32));
    EXPECT_EQ(0, CenteredOffset(32, 32));
    EXPECT_EQ(1, CenteredOffset(33, 32));
    EXPECT_EQ(64, CenteredOffset(160, 32));
}

TEST(CenteredOffset, SpaceSmallerThanTheIconCentresTowardZero)
{
    // Division rounds toward zero (-7 / 2 is -3), so the icon still sticks out evenly.
    EXPECT_EQ(-3, CenteredOffset(24, 32));
    EXPECT_EQ(-3, CenteredOffset(25, 32));
    EXPECT_EQ(-15, CenteredOffset(0, 32));
}

namespace {

RECT PrimaryWorkArea()
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

RECT VirtualScreen()
{
    const int nLeft = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int nTop = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{nLeft, nTop, nLeft + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                nTop + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

const SIZE kWindow = {396, 310};

void ExpectPoint(POINT expected, POINT actual)
{
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
}

}  // namespace

TEST(VisiblePosition, OnScreenPositionsAreKept)
{
    const RECT work = PrimaryWorkArea();
    const POINT cases[] = {
        {100, 100},
        {-8, 20},                                   // left edge beyond the screen
        {work.right - 1, work.bottom - 1},          // one pixel still on screen
        {work.left - kWindow.cx + 1, work.top},     // one column on screen
    };
    for (POINT position : cases) {
        SCOPED_TRACE(testing::Message() << position.x << ", " << position.y);
        ExpectPoint(position, VisiblePosition(position, kWindow));
    }
}

TEST(VisiblePosition, PositionsOffEveryMonitorMoveToTheNearestWorkArea)
{
    const RECT screen = VirtualScreen();
    const POINT cases[] = {
        {screen.right + 5000, screen.bottom + 5000},
        {-32000, -32000},                          // where a minimised window sits
        {screen.left - kWindow.cx, screen.top},    // ends exactly at the left edge
        {screen.left, screen.bottom},              // begins exactly at the bottom edge
    };
    for (POINT position : cases) {
        SCOPED_TRACE(testing::Message() << position.x << ", " << position.y);
        RECT rect = {position.x, position.y, position.x + kWindow.cx, position.y + kWindow.cy};
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info));
        ExpectPoint(POINT{info.rcWork.left, info.rcWork.top}, VisiblePosition(position, kWindow));
    }
}
