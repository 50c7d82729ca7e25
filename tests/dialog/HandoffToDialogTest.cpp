// A second launch while the dialog runs: its path reaches the running dialog,
// the dialog comes to the front, and the second process ends without a window
// and without touching the registry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AppDriver.h"
#include "ForegroundHolder.h"
#include "PumpingWait.h"
#include "RegistrySnapshot.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::string>;

// Both path fields as the screen shows them: folder labels and names.
Texts ShownPaths(const AppDriver& app)
{
    return {app.Text(IDC_INPUT_PATH), app.Text(IDC_INPUT_NAME), app.Text(IDC_OUTPUT_PATH), app.Text(IDC_OUTPUT_NAME)};
}

// A path naming no file, of exactly nBytes bytes, in one long folder.
std::string PathOfLength(size_t nBytes)
{
    const std::string drive = "C:\\";
    const std::string name = "\\part3.ncd";
    return drive + std::string(nBytes - drive.size() - name.size(), 'd') + name;
}

void DeleteStoredValue(const char* pszName)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(::RegDeleteValueA(hKey, pszName), ERROR_SUCCESS) << pszName;
    ::RegCloseKey(hKey);
}

class HandoffToDialog : public ::testing::Test {
protected:
    HandoffToDialog()
    {
        DeleteSettingsKey();
        SetDword("OpenCvtedFile", 0);
    }

    // Runs a second Calvendrake to its end; its exit code.
    static DWORD LaunchSecond(const std::vector<std::string>& args)
    {
        return WaitForExitsPumping({StartCalvendrake(LaunchOptions{args, {}, {}}).hProcess}).front();
    }

    TestFolder m_folder;
};

}  // namespace

TEST_F(HandoffToDialog, PathFillsBothFieldsWithTheSuffixShownAndTheStoreStaysUntouched)
{
    const std::string script = m_folder.Write("conv.pl", kCopyScript);
    const std::string absent = m_folder / "absent.ncd";
    SetText("ScriptFile0", script);
    SetText("SuffixName", "_old");
    SetDword("OptOnOff", 0);
    AppDriver app(LaunchOptions{{absent}, {}, {}});
    // The first launch's argument names no file: it is shown all the same.
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "absent.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "absent_old.ncd");

    // Typed, then the user turns to another program: the suffix field has no
    // kill-focus handler, so nothing has taken the new suffix into the dialog.
    app.Type(IDC_SUFFIX, "_new");
    ForegroundHolder holder;
    ASSERT_TRUE(holder.Holds());
    // Values only a second instance that loaded ("Convert") or saved ("SuffixName") would put back.
    DeleteStoredValue("SuffixName");
    DeleteStoredValue("Convert");
    const std::vector<RegistryValue> stored = SnapshotSettingsKey();

    EXPECT_EQ(LaunchSecond({"C:\\work\\part2.ncd"}), 0u);
    EXPECT_EQ(ShownPaths(app), (Texts{"C:\\work\\", "part2.ncd", "C:\\work\\", "part2_new.ncd"}));
    EXPECT_EQ(app.Text(IDC_SUFFIX), "_new");
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), "conv.pl");
    EXPECT_EQ(::GetForegroundWindow(), app.Dialog());
    EXPECT_EQ(SnapshotSettingsKey(), stored);
    EXPECT_FALSE(ValueExists("SuffixName"));
    EXPECT_FALSE(ValueExists("Convert"));

    // Nothing checked the handed-off path; Run does, after the script.
    app.ClickAsync(IDC_RUN);
    EXPECT_EQ(app.AnswerNextMessage(), "C:\\work\\part2.ncd は存在しません。");
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);
    app.Close();
}

TEST_F(HandoffToDialog, WithoutAPathThatFitsTheBlockTheDialogOnlyComesToTheFront)
{
    const std::string input = m_folder.Write("part1.ncd", "n10\n");
    AppDriver app(LaunchOptions{{input}, {}, {}});
    const Texts shown = ShownPaths(app);
    const std::vector<RegistryValue> stored = SnapshotSettingsKey();

    // No argument; a path that does not fit the 1024-byte block (cut, it would name another file).
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {PathOfLength(1024)}, {PathOfLength(1500)}}) {
        ForegroundHolder holder;
        ASSERT_TRUE(holder.Holds());
        EXPECT_EQ(LaunchSecond(args), 0u);
        EXPECT_EQ(ShownPaths(app), shown);
        EXPECT_EQ(::GetForegroundWindow(), app.Dialog());
    }
    EXPECT_EQ(SnapshotSettingsKey(), stored);

    // Another program's block with no NUL in it, and a notice: nothing to take.
    HANDLE hBlock = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, "CALVENDRAKE");
    ASSERT_NE(hBlock, nullptr);
    void* pView = ::MapViewOfFile(hBlock, FILE_MAP_WRITE, 0, 0, 1024);
    ASSERT_NE(pView, nullptr);
    std::memset(pView, 'x', 1024);
    ::UnmapViewOfFile(pView);
    app.Send(WM_HANDOFF_INPUT);
    ::CloseHandle(hBlock);
    EXPECT_EQ(ShownPaths(app), shown);

    // The longest path that fits arrives whole, its NUL in the block's last byte.
    const std::string longest = PathOfLength(1023);
    EXPECT_EQ(LaunchSecond({longest}), 0u);
    const std::string folder = longest.substr(0, longest.size() - std::strlen("part3.ncd"));
    EXPECT_EQ(ShownPaths(app), (Texts{folder, "part3.ncd", folder, "part3_cvted.ncd"}));
    app.Close();
}

TEST_F(HandoffToDialog, ReachesTheDialogWhileItsCompletionMessageIsOpen)
{
    SetDword("CompleteDialog", 1);
    const std::string script = m_folder.Write("upper.pl", kCopyScript);
    const std::string input = m_folder.Write("part1.ncd", "n10 g01\n");
    const std::string other = m_folder.Write("part2.ncd", "n20\n");
    AppDriver app(LaunchOptions{{input}, {}, {}});
    app.Type(IDC_SCRIPT_NAME, script);

    app.ClickAsync(IDC_RUN);
    HWND hCompleted = app.WaitForWindow();
    ASSERT_EQ(app.MessageText(hCompleted), "完了しました。");
    // The box has the dialog's caption and is the window the second launch's search finds.
    ASSERT_EQ(::FindWindowA(nullptr, "Calvendrake"), hCompleted);

    EXPECT_EQ(LaunchSecond({other}), 0u);
    EXPECT_TRUE(::IsWindow(hCompleted));
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "part2.ncd");
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), "part2_cvted.ncd");
    app.Answer(hCompleted, IDOK);
    EXPECT_EQ(app.NextMessageOrFinish(), nullptr);

    // The run itself converted the file it was started with.
    EXPECT_EQ(ReadFileText(m_folder / "part1_cvted.ncd"), "N10 G01\n");
    EXPECT_FALSE(FileExists(m_folder / "part2_cvted.ncd"));
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), "part2.ncd");
    app.Close();
}
