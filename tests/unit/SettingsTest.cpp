// The settings record against the real registry, with values planted as another
// program or an older version could have left them: through the ANSI calls, at code page 932.
#include "ConvertSettings.h"
#include "Strings.h"

#include <cwchar>

static const char kKeyPath[] = "Software\\Harnox\\Quen\\Calvendrake";

struct Value { std::string name; DWORD dwType; std::string data; };
static Value Dword(const char* pszName, DWORD dw) { return {pszName, REG_DWORD, std::string(reinterpret_cast<char*>(&dw), 4)}; }
static Value Text(const char* pszName, const std::string& str) { return {pszName, REG_SZ, str + '\0'}; }
static Value Unterminated(const char* pszName, const std::string& str) { return {pszName, REG_SZ, str}; }

// Options, position, suffix and scripts (least recent first) in one line.
static std::wstring Describe(const CConvertSettings& s)
{
    std::wstring str;
    for (int n : {s.m_bOpenCvtedFile, s.m_bExitAfterCvt, s.m_bCompleteDialog, s.m_bOptOnOff, s.m_nPosLeft, s.m_nPosTop})
        str += std::to_wstring(n) + L" ";
    str += L"|" + s.GetSuffix().Str() + L"|";
    for (const std::wstring& strScript : Contents(s.m_listScripts)) str += strScript + L";";
    return str;
}

// Old positions are in 1/1440 inch; the rows expect the desktop's 96 pixels per inch.
class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kKeyPath);
        HDC hDC = ::GetDC(nullptr);
        ASSERT_EQ(::GetDeviceCaps(hDC, LOGPIXELSX), 96);
        ::ReleaseDC(nullptr, hDC);
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kKeyPath); }

    static void Plant(const std::vector<Value>& values)
    {
        for (const Value& value : values) {
            // The registry would end a text with a NUL that follows it in memory: none does.
            const std::string strPadded = value.data + 'X';
            ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kKeyPath, value.name.c_str(), value.dwType, strPadded.data(),
                                        static_cast<DWORD>(value.data.size())), ERROR_SUCCESS);
        }
    }
    static void ExpectStored(const std::vector<Value>& values)
    {
        for (const Value& value : values) {
            char szData[1024];
            DWORD dwType = REG_NONE, cbData = sizeof szData;
            if (::RegGetValueA(HKEY_CURRENT_USER, kKeyPath, value.name.c_str(), RRF_RT_ANY, &dwType, szData, &cbData))
                cbData = 0;
            EXPECT_EQ(std::to_string(dwType) + ":" + std::string(szData, cbData),
                      std::to_string(value.dwType) + ":" + value.data) << value.name;
        }
    }
};

TEST_F(Settings, LoadTakesWhatFitsElseTheDefault)
{
    const Value marker = Dword("Convert", 1);
    const std::wstring strDefaults = L"1 0 0 1 100 100 |_cvted|";
    const std::string str259 = "C:\\" + std::string(253, 'p') + ".pl";
    const std::wstring wstr259(str259.begin(), str259.end());
    // 259 characters of code page 932's two bytes each: an older version read only 259 bytes.
    const std::string str259Wide = "C:\\" + Repeat("表", 252) + ".pl";
    const std::wstring wstr259Wide = L"C:\\" + std::wstring(252, L'表') + L".pl";
    const struct { const char* why; std::vector<Value> planted; std::wstring expected; } rows[] = {
        {"no store", {}, strDefaults},
        {"numbers of up to 4 bytes, whatever their type",
         {marker, Dword("OpenCvtedFile", 0), Dword("ExitAfterCvt", 7), Text("CompleteDialog", "abc"),
          {"OptOnOff", REG_BINARY, std::string(5, '\0')}, Text("PosLeft", "1")},
         L"0 7 6513249 1 49 100 |_cvted|"},
        {"marked positions as stored", {marker, Dword("PosLeft", -8), Dword("PosTop", 250)}, L"1 0 0 1 -8 250 |_cvted|"},
        {"old position converted, the missing one not", {Dword("PosLeft", 1440)}, L"1 0 0 1 96 100 |_cvted|"},
        {"old negative position converted unsigned", {Dword("PosTop", -1440)},
         L"1 0 0 1 100 2982520 |_cvted|"},  // (2^32 - 1440) * 96 in 32 bits, / 1440
        {"any readable marker counts", {Text("Convert", "abc"), Dword("PosLeft", 1440)}, L"1 0 0 1 1440 100 |_cvted|"},
        {"a marker too large to read does not", {{"Convert", REG_BINARY, std::string(8, '\1')}, Dword("PosLeft", 1440)},
         L"1 0 0 1 96 100 |_cvted|"},
        {"the run ends at the first gap",
         {Text("ScriptFile0", "C:\\a.pl"), Text("ScriptFile1", "C:\\表.pl"), Text("ScriptFile3", "C:\\d.pl")},
         strDefaults + L"C:\\表.pl;C:\\a.pl;"},
        {"259 bytes and NUL fit, 260 do not",
         {Text("ScriptFile0", str259), Text("ScriptFile1", str259 + "x"), Text("ScriptFile2", "C:\\c.pl"),
          Text("SuffixName", std::string(260, '_'))},
         strDefaults + wstr259 + L";"},
        {"259 characters of two bytes each fit", {Text("ScriptFile0", str259Wide)}, strDefaults + wstr259Wide + L";"},
        {"bytes of another type read as code page 932", {{"ScriptFile0", REG_BINARY, "C:\\表.pl"}, {"SuffixName", REG_NONE, "_新"}},
         L"1 0 0 1 100 100 |_新|C:\\表.pl;"},
        {"without NUL 259 bytes fit", {Unterminated("ScriptFile0", str259), Unterminated("SuffixName", "_n")},
         L"1 0 0 1 100 100 |_n|" + wstr259 + L";"},
        {"without NUL 260 bytes do not",
         {Text("ScriptFile0", "C:\\a.pl"), Unterminated("ScriptFile1", str259 + "x"),
          Unterminated("SuffixName", std::string(260, '_'))},
         strDefaults + L"C:\\a.pl;"},
        {"nothing of a longer text read before", {Text("ScriptFile0", "C:\\long\\a.pl"), Unterminated("ScriptFile1", "C:\\b")},
         strDefaults + L"C:\\b;C:\\long\\a.pl;"},
        {"an empty suffix is kept", {Text("SuffixName", "")}, L"1 0 0 1 100 100 ||"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        TearDown();
        Plant(row.planted);
        CConvertSettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        EXPECT_EQ(Describe(settings), row.expected);
    }
}

TEST_F(Settings, SavedOnceLoadedAndOldPositionsConvertOnce)
{
    // Twelve scripts, stored by another program: more than the list ever holds.
    std::vector<Value> planted = {Dword("PosLeft", 1440)};
    for (int i = 0; i < 12; ++i) planted.push_back(Text(("ScriptFile" + std::to_string(i)).c_str(), "C:\\" + std::to_string(i) + ".pl"));
    Plant(planted);
    {
        CConvertSettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        EXPECT_EQ(settings.m_listScripts.GetCount(), 12);
        settings.m_listScripts.RemoveAll();
        Fill(settings.m_listScripts, {L"C:\\new.pl", L"C:\\表.pl", L"C:\\Müller.pl"});
        settings.m_bExitAfterCvt = 1;
        settings.m_nPosTop = -8;
        settings.m_strSuffix = L"_¥";
    }
    ExpectStored({Dword("Convert", 1), Dword("PosLeft", 96), Dword("PosTop", -8), Dword("OpenCvtedFile", 1),
                  Dword("ExitAfterCvt", 1), Dword("CompleteDialog", 0), Dword("OptOnOff", 1),
                  Text("ScriptFile0", "C:\\new.pl"), Text("ScriptFile1", "C:\\表.pl")});
    // Only the eleven values the program itself could have written are cleared.
    ExpectStored({{"ScriptFile10", REG_NONE, ""}, planted.back()});
    {
        CConvertSettings neverLoaded;
        neverLoaded.m_strSuffix = L"_x";
    }
    // Names code page 932 cannot carry are kept as they are.
    CConvertSettings again;
    ASSERT_TRUE(again.LoadSettings());
    const std::wstring strExpected = L"1 1 0 1 96 -8 |_¥|C:\\Müller.pl;C:\\表.pl;C:\\new.pl;";
    EXPECT_EQ(Describe(again), strExpected);
}
