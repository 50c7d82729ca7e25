// The window minimised: it paints its icon, answers the drag-icon query and comes back
// where it was; closed while minimised, it still opens where it can be seen next time.
#include <gtest/gtest.h>

#include "AppDriver.h"
#include "TestRegistry.h"
#include "WindowQueries.h"
#include "resource.h"

namespace {

class WindowMinimised : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
};

}  // namespace

TEST_F(WindowMinimised, PaintsAndGivesItsIconAsTheDragIcon)
{
    AppDriver app;
    app.Send(WM_SYSCOMMAND, SC_MINIMIZE);
    ASSERT_TRUE(::IsIconic(app.Dialog()));

    app.Send(WM_PAINT);
    ::RedrawWindow(app.Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const LRESULT lDragIcon = SendForHandle(app.Dialog(), WM_QUERYDRAGICON);
    EXPECT_NE(LRESULT{0}, lDragIcon);
    EXPECT_EQ(SendForHandle(app.Dialog(), WM_GETICON, ICON_BIG), lDragIcon) << "not the window's own icon";

    app.Send(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_FALSE(::IsIconic(app.Dialog()));
    RECT rect = app.WindowRect();
    EXPECT_EQ(100, rect.left);
    EXPECT_EQ(100, rect.top);
    EXPECT_EQ(396, rect.right - rect.left);
    EXPECT_EQ(310, rect.bottom - rect.top);
    app.Close();
}

TEST_F(WindowMinimised, ClosedWhileMinimisedOpensOnScreenNextTime)
{
    {
        AppDriver app;
        app.Send(WM_SYSCOMMAND, SC_MINIMIZE);
        ASSERT_TRUE(::IsIconic(app.Dialog()));
        app.Close();
    }
    AppDriver app;
    RECT rect = app.WindowRect();
    EXPECT_TRUE(MeetsAMonitor(rect));
    const RECT work = NearestWorkArea(rect);
    EXPECT_GE(rect.left, work.left);
    EXPECT_GE(rect.top, work.top);
    app.Close();
}
