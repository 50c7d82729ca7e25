// Every way of ending the program keeps what the user changed: the window's copy-back runs
// whichever way it was closed, and the settings reach the registry at exit.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "AppDriver.h"
#include "TestRegistry.h"
#include "WindowQueries.h"
#include "resource.h"

namespace {

DWORD StoredDword(const char* pszName)
{
    DWORD dwValue = 0xDEADBEEF;
    EXPECT_TRUE(GetDword(pszName, dwValue)) << pszName << " not stored";
    return dwValue;
}

std::string StoredText(const char* pszName)
{
    std::string text;
    EXPECT_TRUE(GetText(pszName, text)) << pszName << " not stored";
    return text;
}

struct Ending {
    const char* pszName;
    std::function<void(AppDriver&)> end;  // starts the ending; the test waits for the exit
};

void PrintTo(const Ending& way, std::ostream* pStream) { *pStream << way.pszName; }

class WindowEnding : public ::testing::TestWithParam<Ending> {
protected:
    void SetUp() override { DeleteSettingsKey(); }
};

}  // namespace

TEST_P(WindowEnding, StoresOptionsSuffixPanelAndCorner)
{
    AppDriver app;
    app.Click(IDC_SETTINGS);
    app.Click(IDC_OPEN_CVTED_FILE);  // on by default: now off
    app.Click(IDC_EXIT_AFTER_CVT);
    app.Type(IDC_SUFFIX, "_neu");
    MoveWindowTo(app.Dialog(), 150, 120);
    GetParam().end(app);
    app.WaitExit();

    EXPECT_EQ(0u, StoredDword("OpenCvtedFile"));
    EXPECT_EQ(1u, StoredDword("ExitAfterCvt"));
    EXPECT_EQ(0u, StoredDword("CompleteDialog"));
    EXPECT_EQ(0u, StoredDword("OptOnOff"));
    EXPECT_EQ("_neu", StoredText("SuffixName"));
    EXPECT_EQ(150u, StoredDword("PosLeft"));
    EXPECT_EQ(120u, StoredDword("PosTop"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WindowEnding,
    ::testing::Values(
        Ending{"Escape", [](AppDriver& app) { ::PostMessageA(app.Dialog(), WM_COMMAND, IDCANCEL, 0); }},
        Ending{"CloseBox", [](AppDriver& app) { ::PostMessageA(app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        Ending{"ExitButton", [](AppDriver& app) { ::PostMessageA(app.Control(IDOK), BM_CLICK, 0, 0); }}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.pszName); });

TEST(WindowEndingCollapsed, ChangesMadeInThePanelSurviveCollapsingIt)
{
    DeleteSettingsKey();
    SetDword("OptOnOff", 0);
    AppDriver app;
    app.Click(IDC_COMPLETE_DIALOG);
    app.Type(IDC_SUFFIX, "-x");
    app.Click(IDC_SETTINGS);
    app.Close();

    EXPECT_EQ(1u, StoredDword("CompleteDialog"));
    EXPECT_EQ(1u, StoredDword("OptOnOff"));
    EXPECT_EQ("-x", StoredText("SuffixName"));
}
