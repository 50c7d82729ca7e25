// The window's two forms, read back from the running program: its size in screen pixels,
// where its corner is, the toggle's text and which options can be used.
#include <gtest/gtest.h>

#include "AppDriver.h"
#include "TestRegistry.h"
#include "WindowQueries.h"
#include "resource.h"

namespace {

const int kWidth = 396;
const int kCollapsedHeight = 310;
const int kExpandedHeight = 476;
const char kCollapsedToggle[] = "設定(&P) >>";
const char kExpandedToggle[] = "設定(&P) <<";
const int kOptionIds[] = {IDC_OPEN_CVTED_FILE, IDC_EXIT_AFTER_CVT, IDC_COMPLETE_DIALOG, IDC_SUFFIX};

void ExpectWindowAt(const AppDriver& app, int nLeft, int nTop, int nHeight)
{
    RECT rect = app.WindowRect();
    EXPECT_EQ(nLeft, rect.left);
    EXPECT_EQ(nTop, rect.top);
    EXPECT_EQ(kWidth, rect.right - rect.left);
    EXPECT_EQ(nHeight, rect.bottom - rect.top);
}

void ExpectPanel(const AppDriver& app, bool bExpanded)
{
    EXPECT_EQ(bExpanded ? kExpandedToggle : kCollapsedToggle, app.Text(IDC_SETTINGS));
    for (int nID : kOptionIds) EXPECT_EQ(bExpanded, app.IsEnabled(nID)) << "control " << nID;
}

RECT ScreenRect(HWND hWnd)
{
    RECT rect = {};
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

// The client area in screen coordinates: what the frame leaves visible.
RECT VisibleArea(HWND hDlg)
{
    RECT rect = {};
    ::GetClientRect(hDlg, &rect);
    ::MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PlantPosition(int nLeft, int nTop)
{
    SetDword("Convert", 1);  // positions in pixels, not to be converted from an older store
    SetDword("PosLeft", static_cast<DWORD>(nLeft));
    SetDword("PosTop", static_cast<DWORD>(nTop));
}

}  // namespace

// Corners print as coordinates in failure messages.
static void PrintTo(const POINT& point, std::ostream* pStream) { *pStream << "(" << point.x << ", " << point.y << ")"; }

namespace {

class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
};

}  // namespace

TEST_F(WindowLayout, FirstStartOpensCollapsedAtTheDefaultCorner)
{
    AppDriver app;
    ExpectWindowAt(app, 100, 100, kCollapsedHeight);
    ExpectPanel(app, false);
    app.Close();
}

TEST_F(WindowLayout, ToggleChangesOnlyTheHeightWhereverTheWindowWasMoved)
{
    AppDriver app;
    app.Click(IDC_SETTINGS);
    ExpectWindowAt(app, 100, 100, kExpandedHeight);
    ExpectPanel(app, true);

    app.Click(IDC_EXIT_AFTER_CVT);
    app.Type(IDC_SUFFIX, "_neu");
    MoveWindowTo(app.Dialog(), 230, 45);
    app.Click(IDC_SETTINGS);
    ExpectWindowAt(app, 230, 45, kCollapsedHeight);
    ExpectPanel(app, false);

    MoveWindowTo(app.Dialog(), 12, 160);
    app.Click(IDC_SETTINGS);
    ExpectWindowAt(app, 12, 160, kExpandedHeight);
    ExpectPanel(app, true);

    // The options keep what was set in them, through both toggles.
    EXPECT_TRUE(app.IsChecked(IDC_OPEN_CVTED_FILE));
    EXPECT_TRUE(app.IsChecked(IDC_EXIT_AFTER_CVT));
    EXPECT_FALSE(app.IsChecked(IDC_COMPLETE_DIALOG));
    EXPECT_EQ("_neu", app.Text(IDC_SUFFIX));
    app.Close();
}

TEST_F(WindowLayout, StoredExpandedPanelOpensExpanded)
{
    SetDword("OptOnOff", 0);
    AppDriver app;
    ExpectWindowAt(app, 100, 100, kExpandedHeight);
    ExpectPanel(app, true);
    app.Close();
}

TEST_F(WindowLayout, CollapsedHidesThePanelBelowTheButtonsAndExpandedShowsIt)
{
    AppDriver app;
    RECT visible = VisibleArea(app.Dialog());
    for (int nID : {IDC_RUN, IDOK, IDC_SETTINGS})
        EXPECT_LE(ScreenRect(app.Control(nID)).bottom, visible.bottom) << "button " << nID << " cut off";
    for (int nID : kOptionIds)
        EXPECT_GE(ScreenRect(app.Control(nID)).top, visible.bottom) << "control " << nID << " shows";

    app.Click(IDC_SETTINGS);
    visible = VisibleArea(app.Dialog());
    for (int nID : kOptionIds)
        EXPECT_LE(ScreenRect(app.Control(nID)).bottom, visible.bottom) << "control " << nID << " cut off";
    app.Close();
}

// A stored corner that puts the window on no monitor: it opens at the top-left of the
// nearest monitor's work area, and that corner is what is stored at the end.
class WindowLayoutOffScreen : public WindowLayout, public ::testing::WithParamInterface<POINT> {};

TEST_P(WindowLayoutOffScreen, OpensAtTheNearestWorkArea)
{
    const POINT stored = GetParam();
    const RECT storedRect = {stored.x, stored.y, stored.x + kWidth, stored.y + kCollapsedHeight};
    ASSERT_FALSE(MeetsAMonitor(storedRect)) << "this screen reaches the stored position";
    PlantPosition(stored.x, stored.y);
    const RECT work = NearestWorkArea(storedRect);

    AppDriver app;
    ExpectWindowAt(app, work.left, work.top, kCollapsedHeight);
    app.Close();

    DWORD dwLeft = 0, dwTop = 0;
    ASSERT_TRUE(GetDword("PosLeft", dwLeft));
    ASSERT_TRUE(GetDword("PosTop", dwTop));
    EXPECT_EQ(work.left, static_cast<LONG>(dwLeft));
    EXPECT_EQ(work.top, static_cast<LONG>(dwTop));
}

INSTANTIATE_TEST_SUITE_P(FarAway, WindowLayoutOffScreen,
                         ::testing::Values(POINT{5000, 5000}, POINT{-32000, -32000}, POINT{-5000, 200}));

namespace {

// A corner that keeps any part of the window on a monitor is used as stored, negative or not.
void ExpectStoredCornerKept(POINT stored)
{
    ASSERT_TRUE(MeetsAMonitor(RECT{stored.x, stored.y, stored.x + kWidth, stored.y + kCollapsedHeight}));
    PlantPosition(stored.x, stored.y);
    AppDriver app;
    ExpectWindowAt(app, stored.x, stored.y, kCollapsedHeight);
    app.Close();
}

}  // namespace

TEST_F(WindowLayout, NegativeCornerOnScreenIsKept) { ExpectStoredCornerKept(POINT{-8, 20}); }

TEST_F(WindowLayout, PartlyVisibleCornerIsKept)
{
    // 100 pixels of the window left at the right edge of the primary monitor, 50 at its bottom.
    const RECT work = NearestWorkArea(RECT{0, 0, 1, 1});
    ExpectStoredCornerKept(POINT{work.right - 100, work.bottom - 50});
}
