// The system menu's last item and the version box it opens. Another process cannot read
// the system menu under Wine (GetSystemMenu gives NULL for a foreign window), so the tests
// open the menu in the program and choose the item with the keyboard, as a user would.
#include <gtest/gtest.h>

#include <functional>

#include "AppDriver.h"
#include "TestRegistry.h"
#include "WindowQueries.h"
#include "resource.h"

namespace {

const char kAboutCaption[] = "Calvendrakeのﾊﾞｰｼﾞｮﾝ情報";

// Opens the system menu as Alt+Space does and returns its popup window.
HWND OpenSystemMenu(AppDriver& app)
{
    ::PostMessageA(app.Dialog(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    return app.WaitForWindow("#32768");
}

HWND WaitForAbout(AppDriver& app)
{
    HWND hAbout = app.WaitForWindow("#32770");
    EXPECT_EQ(kAboutCaption, WindowText(hAbout));
    return hAbout;
}

void ExpectClosedAndMainUsable(AppDriver& app, HWND hAbout)
{
    EXPECT_TRUE(WaitUntil([hAbout] { return !::IsWindow(hAbout); })) << "the version box stays open";
    ASSERT_TRUE(::IsWindow(app.Dialog()));
    EXPECT_TRUE(::IsWindowEnabled(app.Dialog()));
    app.Click(IDC_SETTINGS);  // the main window answers again
    EXPECT_EQ("設定(&P) <<", app.Text(IDC_SETTINGS));
}

class WindowAbout : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
};

}  // namespace

TEST_F(WindowAbout, LastSystemMenuItemOpensTheVersionBox)
{
    AppDriver app;
    HWND hMenu = OpenSystemMenu(app);
    // Up from the top of the menu reaches its last item.
    ::PostMessageA(hMenu, WM_KEYDOWN, VK_UP, 0);
    ::PostMessageA(hMenu, WM_KEYDOWN, VK_RETURN, 0);
    HWND hAbout = WaitForAbout(app);
    ::PostMessageA(hAbout, WM_COMMAND, IDCANCEL, 0);
    ExpectClosedAndMainUsable(app, hAbout);
    app.Close();
}

namespace {

// The version box is modal to the main window; each way of closing it closes it alone.
struct AboutClosing {
    const char* pszName;
    std::function<void(AppDriver&, HWND)> close;
};

void PrintTo(const AboutClosing& way, std::ostream* pStream) { *pStream << way.pszName; }

}  // namespace

class WindowAboutClosing : public WindowAbout, public ::testing::WithParamInterface<AboutClosing> {};

TEST_P(WindowAboutClosing, ClosesOnlyTheVersionBox)
{
    AppDriver app;
    ::PostMessageA(app.Dialog(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND hAbout = WaitForAbout(app);
    EXPECT_EQ(app.Dialog(), ::GetWindow(hAbout, GW_OWNER));
    EXPECT_FALSE(::IsWindowEnabled(app.Dialog()));
    EXPECT_EQ("OK", WindowText(::GetDlgItem(hAbout, IDOK)));
    GetParam().close(app, hAbout);
    ExpectClosedAndMainUsable(app, hAbout);
    app.Close();
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WindowAboutClosing,
    ::testing::Values(
        AboutClosing{"OkButton", [](AppDriver& app, HWND hAbout) { app.Answer(hAbout, IDOK); }},
        AboutClosing{"Escape", [](AppDriver&, HWND hAbout) { ::PostMessageA(hAbout, WM_COMMAND, IDCANCEL, 0); }},
        AboutClosing{"CloseBox", [](AppDriver&, HWND hAbout) { ::PostMessageA(hAbout, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const ::testing::TestParamInfo<AboutClosing>& info) { return std::string(info.param.pszName); });
