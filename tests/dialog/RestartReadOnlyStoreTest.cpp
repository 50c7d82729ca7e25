// A start whose settings key cannot be opened for writing (a policy made it
// read-only) ends at once: no window, no message, nothing written.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "AppDriver.h"
#include "PumpingWait.h"
#include "RegistrySnapshot.h"
#include "TestFiles.h"
#include "TestRegistry.h"

namespace {

// The program's key, readable and nothing more, while this object lives.
class ReadOnlySettingsKey {
public:
    ReadOnlySettingsKey() { SetAccess("D:(A;;KR;;;WD)"); }
    ~ReadOnlySettingsKey() { SetAccess("D:(A;;KA;;;WD)"); }
    ReadOnlySettingsKey(const ReadOnlySettingsKey&) = delete;
    ReadOnlySettingsKey& operator=(const ReadOnlySettingsKey&) = delete;

private:
    static void SetAccess(const char* pszSddl)
    {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1, &pDescriptor,
                                                                           nullptr));
        // As the key's owner we may always change who else may use it.
        HKEY hKey = nullptr;
        EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, WRITE_DAC, &hKey), ERROR_SUCCESS);
        EXPECT_EQ(::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pDescriptor), ERROR_SUCCESS);
        ::RegCloseKey(hKey);
        ::LocalFree(pDescriptor);
    }
};

bool CanWriteSettingsKey()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

}  // namespace

TEST(ReadOnlyStore, StartEndsWithoutAWindowAndWritesNothing)
{
    DeleteSettingsKey();
    TestFolder folder;
    const std::string input = folder.Write("part1.ncd", "n10\n");
    SetText("SuffixName", "_ro");
    const std::vector<RegistryValue> stored = SnapshotSettingsKey();
    {
        ReadOnlySettingsKey readOnly;
        ASSERT_FALSE(CanWriteSettingsKey());
        // A dialog or a message would wait for the user; the process ends by itself.
        EXPECT_EQ(WaitForExitsPumping({StartCalvendrake(LaunchOptions{{input}, {}, {}}).hProcess}).front(), 0u);
        EXPECT_EQ(SnapshotSettingsKey(), stored);
    }
    DeleteSettingsKey();
}
