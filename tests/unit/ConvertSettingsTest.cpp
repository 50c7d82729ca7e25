// The settings record against the real registry: values planted with
// RegSetValueExA exactly as another program or an older version could leave them.
#include "ConvertSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kKeyPath[] = "Software\\Harnox\\Quen\\Calvendrake";

struct StoredValue {
    DWORD dwType;
    std::string data;
};

std::string ScriptName(int nIndex) { return "ScriptFile" + std::to_string(nIndex); }

std::string Repeat(char ch, size_t n) { return std::string(n, ch); }

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { DeleteStore(); }
    void TearDown() override { DeleteStore(); }

    static void DeleteStore() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kKeyPath); }

    static bool StoreExists()
    {
        HKEY hKey;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
        ::RegCloseKey(hKey);
        return true;
    }

    static void Plant(const std::string& strName, DWORD dwType, const std::string& data)
    {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &hKey, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(hKey, strName.c_str(), 0, dwType,
                                                  reinterpret_cast<const BYTE*>(data.data()),
                                                  static_cast<DWORD>(data.size())));
        ::RegCloseKey(hKey);
    }
    static void PlantDword(const std::string& strName, DWORD dwValue)
    {
        Plant(strName, REG_DWORD, std::string(reinterpret_cast<const char*>(&dwValue), sizeof dwValue));
    }
    // A text as written by other means, without its NUL. The registry adds a
    // NUL to a REG_SZ whose next byte in memory is one, so that byte is not.
    static void PlantUnterminated(const std::string& strName, DWORD dwType, const std::string& strText)
    {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &hKey, nullptr));
        const std::string strPadded = strText + "X";
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(hKey, strName.c_str(), 0, dwType,
                                                  reinterpret_cast<const BYTE*>(strPadded.data()),
                                                  static_cast<DWORD>(strText.size())));
        ::RegCloseKey(hKey);
        std::optional<StoredValue> value = Stored(strName);
        ASSERT_TRUE(value);
        ASSERT_EQ(strText, value->data);
    }
    // A text as the program stores it: with its NUL.
    static void PlantText(const std::string& strName, const std::string& strText)
    {
        Plant(strName, REG_SZ, std::string(strText.c_str(), strText.size() + 1));
    }

    static std::optional<StoredValue> Stored(const std::string& strName)
    {
        HKEY hKey;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return std::nullopt;
        std::optional<StoredValue> value;
        DWORD dwType = 0;
        DWORD cbData = 0;
        if (::RegQueryValueExA(hKey, strName.c_str(), nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS) {
            std::string data(cbData, '\0');
            if (::RegQueryValueExA(hKey, strName.c_str(), nullptr, &dwType, reinterpret_cast<BYTE*>(&data[0]),
                                   &cbData) == ERROR_SUCCESS)
                value = StoredValue{dwType, data.substr(0, cbData)};
        }
        ::RegCloseKey(hKey);
        return value;
    }
    static void ExpectStoredDword(const std::string& strName, DWORD dwExpected)
    {
        std::optional<StoredValue> value = Stored(strName);
        ASSERT_TRUE(value) << strName;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value->dwType) << strName;
        ASSERT_EQ(sizeof(DWORD), value->data.size()) << strName;
        DWORD dwValue;
        std::memcpy(&dwValue, value->data.data(), sizeof dwValue);
        EXPECT_EQ(dwExpected, dwValue) << strName;
    }
    static void ExpectStoredText(const std::string& strName, const std::string& strExpected)
    {
        std::optional<StoredValue> value = Stored(strName);
        ASSERT_TRUE(value) << strName;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value->dwType) << strName;
        EXPECT_EQ(std::string(strExpected.c_str(), strExpected.size() + 1), value->data) << strName;
    }

    static std::vector<std::string> Scripts(const CConvertSettings& settings)
    {
        std::vector<std::string> scripts;
        for (POSITION pos = settings.m_listScripts.GetHeadPosition(); pos;)
            scripts.push_back(settings.m_listScripts.GetNext(pos).Str());
        return scripts;
    }

    static DWORD PixelsPerInch()
    {
        HDC hDC = ::GetDC(::GetDesktopWindow());
        int nPixels = ::GetDeviceCaps(hDC, LOGPIXELSX);
        ::ReleaseDC(::GetDesktopWindow(), hDC);
        return static_cast<DWORD>(nPixels);
    }
    // Old positions were in 1/1440 inch, converted in unsigned 32-bit arithmetic.
    static int Converted(DWORD dwTwips) { return static_cast<int>(static_cast<uint32_t>(dwTwips * PixelsPerInch()) / 1440); }
};

TEST_F(SettingsStore, NoStoreGivesDefaultsAndMarksItAtOnce)
{
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());

    EXPECT_EQ(1, settings.m_bOpenCvtedFile);
    EXPECT_EQ(0, settings.m_bExitAfterCvt);
    EXPECT_EQ(0, settings.m_bCompleteDialog);
    EXPECT_EQ(1, settings.m_bOptOnOff);
    EXPECT_EQ(100, settings.m_nPosLeft);
    EXPECT_EQ(100, settings.m_nPosTop);
    EXPECT_TRUE(settings.m_listScripts.IsEmpty());
    EXPECT_EQ(CString("_cvted"), settings.GetSuffix());
    // The load writes the marker and nothing else.
    ExpectStoredDword("Convert", 1);
    EXPECT_FALSE(Stored("PosLeft"));
    EXPECT_FALSE(Stored("SuffixName"));
}

TEST_F(SettingsStore, OldPositionsAreConvertedOnceWithTheDesktopResolution)
{
    PlantDword("PosLeft", 1500);
    PlantDword("PosTop", 2000);
    {
        CConvertSettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        EXPECT_EQ(Converted(1500), settings.m_nPosLeft);
        EXPECT_EQ(Converted(2000), settings.m_nPosTop);
        if (PixelsPerInch() == 96) {
            EXPECT_EQ(100, settings.m_nPosLeft);
            EXPECT_EQ(133, settings.m_nPosTop);
        }
        // Marked during the load; the converted positions reach the store only at the save.
        ExpectStoredDword("Convert", 1);
        ExpectStoredDword("PosLeft", 1500);
    }
    ExpectStoredDword("PosLeft", static_cast<DWORD>(Converted(1500)));
    ExpectStoredDword("PosTop", static_cast<DWORD>(Converted(2000)));

    CConvertSettings again;
    ASSERT_TRUE(again.LoadSettings());
    EXPECT_EQ(Converted(1500), again.m_nPosLeft);
    EXPECT_EQ(Converted(2000), again.m_nPosTop);
}

TEST_F(SettingsStore, OldNegativePositionConvertsUnsignedAndMissingOneStaysDefault)
{
    PlantDword("PosLeft", static_cast<DWORD>(-8));
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(Converted(static_cast<DWORD>(-8)), settings.m_nPosLeft);
    EXPECT_GT(settings.m_nPosLeft, 0);
    EXPECT_EQ(100, settings.m_nPosTop);  // the default is not converted
}

TEST_F(SettingsStore, AnyReadableMarkerKeepsPositionsAsStored)
{
    const struct {
        const char* pszCase;
        DWORD dwType;
        std::string data;
    } markers[] = {
        {"DWORD 1", REG_DWORD, std::string("\1\0\0\0", 4)},
        {"DWORD 0", REG_DWORD, std::string(4, '\0')},
        {"three-character text", REG_SZ, std::string("abc", 4)},
    };
    for (const auto& marker : markers) {
        SCOPED_TRACE(marker.pszCase);
        DeleteStore();
        Plant("Convert", marker.dwType, marker.data);
        PlantDword("PosTop", 2000);
        CConvertSettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        EXPECT_EQ(100, settings.m_nPosLeft);
        EXPECT_EQ(2000, settings.m_nPosTop);
        EXPECT_EQ(marker.data, Stored("Convert")->data);  // left as it was

        DeleteStore();
        Plant("Convert", marker.dwType, marker.data);
        PlantDword("PosLeft", static_cast<DWORD>(-8));
        CConvertSettings negative;
        ASSERT_TRUE(negative.LoadSettings());
        EXPECT_EQ(-8, negative.m_nPosLeft);
    }
}

TEST_F(SettingsStore, MarkerTooLargeToReadCountsAsAbsent)
{
    Plant("Convert", REG_BINARY, std::string("\1\0\0\0\0\0\0\0", 8));
    PlantDword("PosLeft", 1500);
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(Converted(1500), settings.m_nPosLeft);
    ExpectStoredDword("Convert", 1);
}

TEST_F(SettingsStore, NumbersAreReadByTheirSizeWhateverTheirType)
{
    PlantDword("Convert", 1);
    Plant("OptOnOff", REG_SZ, std::string("1", 2));                    // its bytes: '1', 0
    Plant("CompleteDialog", REG_SZ, std::string("abc", 4));            // exactly 4 bytes
    Plant("OpenCvtedFile", REG_BINARY, std::string(8, '\0'));          // too large: default
    PlantDword("ExitAfterCvt", 7);                                     // no range check
    Plant("PosLeft", REG_BINARY, std::string("\x2c\x01\0\0", 4));      // 300
    Plant("PosTop", REG_BINARY, std::string("\x2c\x01\0\0\0\0\0\0", 8));

    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(0x31, settings.m_bOptOnOff);
    EXPECT_EQ(0x00636261, settings.m_bCompleteDialog);
    EXPECT_EQ(1, settings.m_bOpenCvtedFile);
    EXPECT_EQ(7, settings.m_bExitAfterCvt);
    EXPECT_EQ(300, settings.m_nPosLeft);
    EXPECT_EQ(100, settings.m_nPosTop);
}

TEST_F(SettingsStore, ScriptRunEndsAtTheFirstGap)
{
    PlantText(ScriptName(0), "C:\\s\\a.pl");
    PlantText(ScriptName(1), "C:\\s\\b.pl");
    PlantText(ScriptName(3), "C:\\s\\d.pl");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ((std::vector<std::string>{"C:\\s\\b.pl", "C:\\s\\a.pl"}), Scripts(settings));
}

TEST_F(SettingsStore, TextMustFitTwoHundredSixtyBytesWithItsNul)
{
    const std::string strLongest = "C:\\" + Repeat('a', 253) + ".pl";  // 259 bytes
    const std::string strTooLong = strLongest + "x";
    PlantText(ScriptName(0), strLongest);
    PlantText(ScriptName(1), strTooLong);
    PlantText(ScriptName(2), "C:\\s\\c.pl");
    PlantText("SuffixName", Repeat('_', 260));
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(std::vector<std::string>{strLongest}, Scripts(settings));
    EXPECT_EQ(CString("_cvted"), settings.GetSuffix());

    // Japanese paths count in bytes: 128 double-byte characters and ".pl" are 259 bytes.
    DeleteStore();
    std::string strWide;
    for (int i = 0; i < 128; ++i) strWide += "表";
    strWide += ".pl";
    ASSERT_EQ(259u, strWide.size());
    PlantText(ScriptName(0), strWide);
    PlantText("SuffixName", Repeat('_', 259));
    CConvertSettings wide;
    ASSERT_TRUE(wide.LoadSettings());
    EXPECT_EQ(std::vector<std::string>{strWide}, Scripts(wide));
    EXPECT_EQ(CString(Repeat('_', 259)), wide.GetSuffix());
}

TEST_F(SettingsStore, TextWithoutNulIsTakenAsTheBytesStored)
{
    // A longer text read first: nothing of it may show through a shorter one.
    PlantText(ScriptName(0), "C:\\scripts\\convert-long.pl");
    PlantUnterminated(ScriptName(1), REG_BINARY, "C:\\b.pl");
    PlantUnterminated(ScriptName(2), REG_SZ, "C:\\c.pl");
    PlantUnterminated("SuffixName", REG_BINARY, "_n");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ((std::vector<std::string>{"C:\\c.pl", "C:\\b.pl", "C:\\scripts\\convert-long.pl"}), Scripts(settings));
    EXPECT_EQ(CString("_n"), settings.GetSuffix());
}

TEST_F(SettingsStore, TextFillingTheBufferWithoutNulIsNotCut)
{
    PlantText(ScriptName(0), "C:\\s\\a.pl");
    PlantUnterminated(ScriptName(1), REG_SZ, Repeat('b', 260));
    PlantUnterminated("SuffixName", REG_BINARY, Repeat('_', 260));
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(std::vector<std::string>{"C:\\s\\a.pl"}, Scripts(settings));
    EXPECT_EQ(CString("_cvted"), settings.GetSuffix());
}

TEST_F(SettingsStore, EmptySuffixIsKeptAndStoredAsItsNul)
{
    PlantText("SuffixName", "");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(CString(""), settings.GetSuffix());
    settings.SaveSettings();
    ExpectStoredText("SuffixName", "");
}

TEST_F(SettingsStore, SaveWritesEveryValueAndReplacesTheScriptRun)
{
    for (int i = 0; i < 6; ++i) PlantText(ScriptName(i), "C:\\old\\" + std::to_string(i) + ".pl");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    settings.m_listScripts.RemoveAll();
    settings.m_listScripts.AddTail("C:\\s\\new.pl");
    settings.m_listScripts.AddTail("C:\\作業\\表.pl");
    settings.m_listScripts.AddTail("C:\\s\\old.pl");
    settings.m_strSuffix = "_新";
    settings.m_bOpenCvtedFile = 0;
    settings.m_bExitAfterCvt = 1;
    settings.m_bCompleteDialog = 1;
    settings.m_bOptOnOff = 0;
    settings.m_nPosLeft = -8;
    settings.m_nPosTop = 250;
    settings.SaveSettings();

    ExpectStoredText(ScriptName(0), "C:\\s\\new.pl");
    ExpectStoredText(ScriptName(1), "C:\\作業\\表.pl");
    ExpectStoredText(ScriptName(2), "C:\\s\\old.pl");
    for (int i = 3; i < 6; ++i) EXPECT_FALSE(Stored(ScriptName(i))) << i;
    ExpectStoredText("SuffixName", "_新");
    ExpectStoredDword("OpenCvtedFile", 0);
    ExpectStoredDword("ExitAfterCvt", 1);
    ExpectStoredDword("CompleteDialog", 1);
    ExpectStoredDword("OptOnOff", 0);
    ExpectStoredDword("PosLeft", static_cast<DWORD>(-8));
    ExpectStoredDword("PosTop", 250);
    ExpectStoredDword("Convert", 1);
}

TEST_F(SettingsStore, DeletionStopsAtTheFirstMissingEntry)
{
    PlantText(ScriptName(0), "C:\\s\\a.pl");
    PlantText(ScriptName(1), "C:\\s\\b.pl");
    PlantText(ScriptName(3), "C:\\s\\d.pl");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    settings.m_listScripts.RemoveAll();
    settings.m_listScripts.AddTail("C:\\s\\x.pl");
    settings.SaveSettings();
    ExpectStoredText(ScriptName(0), "C:\\s\\x.pl");
    EXPECT_FALSE(Stored(ScriptName(1)));
    ExpectStoredText(ScriptName(3), "C:\\s\\d.pl");
}

TEST_F(SettingsStore, TwelveEntriesAllLoadAndAreAllWrittenBack)
{
    for (int i = 0; i < 12; ++i) PlantText(ScriptName(i), "C:\\s\\" + std::to_string(i) + ".pl");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    std::vector<std::string> scripts = Scripts(settings);
    ASSERT_EQ(12u, scripts.size());
    for (int i = 0; i < 12; ++i) EXPECT_EQ("C:\\s\\" + std::to_string(11 - i) + ".pl", scripts[i]);

    // The record's head becomes ScriptFile0.
    settings.SaveSettings();
    for (int i = 0; i < 12; ++i) ExpectStoredText(ScriptName(i), scripts[i]);
}

TEST_F(SettingsStore, SaveDeletesAtMostElevenEntries)
{
    for (int i = 0; i < 12; ++i) PlantText(ScriptName(i), "C:\\s\\" + std::to_string(i) + ".pl");
    CConvertSettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    settings.m_listScripts.RemoveAll();
    settings.m_listScripts.AddTail("C:\\s\\x.pl");
    settings.SaveSettings();
    ExpectStoredText(ScriptName(0), "C:\\s\\x.pl");
    for (int i = 1; i <= 10; ++i) EXPECT_FALSE(Stored(ScriptName(i))) << i;
    ExpectStoredText(ScriptName(11), "C:\\s\\11.pl");
}

TEST_F(SettingsStore, RecordSavesAtDestructionOnlyAfterASuccessfulLoad)
{
    {
        CConvertSettings neverLoaded;
        neverLoaded.m_nPosLeft = 5;
        neverLoaded.m_strSuffix = "_x";
    }
    EXPECT_FALSE(StoreExists());

    {
        CConvertSettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        settings.m_bOptOnOff = 0;
        settings.m_nPosLeft = 321;
        settings.m_nPosTop = -4;
        settings.m_strSuffix = "_new";
        settings.m_listScripts.AddTail("C:\\s\\b.pl");
        settings.m_listScripts.AddTail("C:\\s\\a.pl");
    }
    CConvertSettings reloaded;
    ASSERT_TRUE(reloaded.LoadSettings());
    EXPECT_EQ(1, reloaded.m_bOpenCvtedFile);
    EXPECT_EQ(0, reloaded.m_bOptOnOff);
    EXPECT_EQ(321, reloaded.m_nPosLeft);
    EXPECT_EQ(-4, reloaded.m_nPosTop);
    EXPECT_EQ(CString("_new"), reloaded.GetSuffix());
    EXPECT_EQ((std::vector<std::string>{"C:\\s\\a.pl", "C:\\s\\b.pl"}), Scripts(reloaded));
}

TEST_F(SettingsStore, UnopenableStoreFailsTheLoadAndNothingIsWritten)
{
    // Stand in a deleted key for HKEY_CURRENT_USER: nothing can be created under it.
    const char kScratch[] = "Software\\Harnox\\Quen\\CalvendrakeScratch";
    HKEY hScratch;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               &hScratch, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyA(HKEY_CURRENT_USER, kScratch));
    ASSERT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CURRENT_USER, hScratch));
    {
        CConvertSettings settings;
        EXPECT_FALSE(settings.LoadSettings());
        EXPECT_EQ(0, settings.m_bOpenCvtedFile);
        EXPECT_TRUE(settings.m_strSuffix.IsEmpty());
        ASSERT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr));
    }
    ::RegCloseKey(hScratch);
    EXPECT_FALSE(StoreExists());
}

}  // namespace
