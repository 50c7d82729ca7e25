// Reads the resources compiled into this test program and compares them with the values the
// program relies on: a drifted id, style or text shows up here, not as a wrong window later.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resource.h"

namespace {

// Atoms of the predefined window classes as dialog templates store them.
const WORD kButton = 0x0080;
const WORD kEdit = 0x0081;
const WORD kStatic = 0x0082;
const WORD kComboBox = 0x0085;

const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
// Face name of the dialogs: full-width ＭＳ and Ｐ, a half-width blank between them.
const char kDialogFace[] = "ＭＳ Ｐゴシック";

// The raw bytes of one resource of this program; empty when it is missing.
std::vector<BYTE> ResourceBytes(LPCSTR pszType, LPCSTR pszName)
{
    HMODULE hModule = GetModuleHandleA(nullptr);
    HRSRC hInfo = FindResourceA(hModule, pszName, pszType);
    if (hInfo == nullptr)
        return {};
    const BYTE* pData = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hInfo)));
    return std::vector<BYTE>(pData, pData + SizeofResource(hModule, hInfo));
}

std::vector<BYTE> ResourceBytes(LPCSTR pszType, int nId)
{
    return ResourceBytes(pszType, MAKEINTRESOURCEA(nId));
}

// UTF-16 text of a template in code page 932, the program's own encoding.
std::string ToCp932(const std::wstring& strWide)
{
    if (strWide.empty())
        return {};
    int nLength = WideCharToMultiByte(932, 0, strWide.data(), static_cast<int>(strWide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string strText(nLength, '\0');
    WideCharToMultiByte(932, 0, strWide.data(), static_cast<int>(strWide.size()), &strText[0],
                        nLength, nullptr, nullptr);
    return strText;
}

// Styles compare as hex texts, so a failure shows which flag differs.
std::string Hex(DWORD dwValue)
{
    char szText[16];
    snprintf(szText, sizeof szText, "0x%08lX", static_cast<unsigned long>(dwValue));
    return szText;
}

// A dialog template field that holds either an ordinal or a text.
struct TemplateName
{
    WORD wOrdinal = 0;  // 0 when the field holds a text (possibly empty)
    std::string strText;
};

// Sequential reader over a dialog template; reading past the end yields zeros and sets m_bOverrun.
class TemplateReader
{
public:
    explicit TemplateReader(const std::vector<BYTE>& data) : m_data(data) {}

    WORD Word()
    {
        WORD w = 0;
        Copy(&w, sizeof w);
        return w;
    }
    DWORD DWord()
    {
        DWORD dw = 0;
        Copy(&dw, sizeof dw);
        return dw;
    }
    BYTE Byte()
    {
        BYTE b = 0;
        Copy(&b, sizeof b);
        return b;
    }
    short Short() { return static_cast<short>(Word()); }

    std::wstring WideText()
    {
        std::wstring str;
        for (WORD w = Word(); w != 0 && !m_bOverrun; w = Word())
            str += static_cast<wchar_t>(w);
        return str;
    }

    // sz_Or_Ord: 0xFFFF then an ordinal, or a NUL-terminated UTF-16 text.
    TemplateName Name()
    {
        TemplateName name;
        if (Peek() == 0xFFFF) {
            Word();
            name.wOrdinal = Word();
        } else {
            name.strText = ToCp932(WideText());
        }
        return name;
    }

    void AlignDWord() { m_nPos = std::min((m_nPos + 3) & ~size_t(3), m_data.size()); }
    void Skip(size_t nBytes) { m_nPos = std::min(m_nPos + nBytes, m_data.size()); }
    bool Overrun() const { return m_bOverrun; }

private:
    WORD Peek()
    {
        size_t nPos = m_nPos;
        WORD w = Word();
        m_nPos = nPos;
        return w;
    }
    void Copy(void* pOut, size_t nBytes)
    {
        if (m_nPos + nBytes > m_data.size()) {
            m_bOverrun = true;
            return;
        }
        memcpy(pOut, m_data.data() + m_nPos, nBytes);
        m_nPos += nBytes;
    }

    const std::vector<BYTE>& m_data;
    size_t m_nPos = 0;
    bool m_bOverrun = false;
};

struct DialogItem
{
    DWORD dwHelpId = 0, dwExStyle = 0, dwStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int nId = 0;
    TemplateName className, text;
};

struct DialogTemplate
{
    bool bExtended = false;
    DWORD dwStyle = 0, dwExStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu, className;
    std::string strCaption;
    WORD wPointSize = 0, wWeight = 0;
    BYTE bItalic = 0, bCharSet = 0;
    std::string strFace;
    std::vector<DialogItem> items;
    bool bOverrun = false;
};

// Parses a DLGTEMPLATE or a DLGTEMPLATEEX (told apart by its version 1 and signature 0xFFFF).
DialogTemplate ParseDialog(const std::vector<BYTE>& data)
{
    TemplateReader reader(data);
    DialogTemplate dlg;
    WORD wVersion = reader.Word();
    WORD wSignature = reader.Word();
    dlg.bExtended = wVersion == 1 && wSignature == 0xFFFF;
    if (dlg.bExtended) {
        reader.DWord();  // help id
        dlg.dwExStyle = reader.DWord();
        dlg.dwStyle = reader.DWord();
    } else {
        dlg.dwStyle = MAKELONG(wVersion, wSignature);
        dlg.dwExStyle = reader.DWord();
    }
    WORD wItems = reader.Word();
    dlg.x = reader.Short();
    dlg.y = reader.Short();
    dlg.cx = reader.Short();
    dlg.cy = reader.Short();
    dlg.menu = reader.Name();
    dlg.className = reader.Name();
    dlg.strCaption = ToCp932(reader.WideText());
    if (dlg.dwStyle & DS_SETFONT) {
        dlg.wPointSize = reader.Word();
        if (dlg.bExtended) {
            dlg.wWeight = reader.Word();
            dlg.bItalic = reader.Byte();
            dlg.bCharSet = reader.Byte();
        }
        dlg.strFace = ToCp932(reader.WideText());
    }
    for (WORD i = 0; i < wItems; ++i) {
        reader.AlignDWord();
        DialogItem item;
        if (dlg.bExtended) {
            item.dwHelpId = reader.DWord();
            item.dwExStyle = reader.DWord();
            item.dwStyle = reader.DWord();
        } else {
            item.dwStyle = reader.DWord();
            item.dwExStyle = reader.DWord();
        }
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.nId = dlg.bExtended ? static_cast<int>(reader.DWord()) : reader.Short();
        item.className = reader.Name();
        item.text = reader.Name();
        reader.Skip(reader.Word());  // creation data
        dlg.items.push_back(item);
    }
    dlg.bOverrun = reader.Overrun();
    return dlg;
}

// One control as the template must hold it. Every control is also WS_CHILD | WS_VISIBLE.
struct ExpectedControl
{
    int nId;
    WORD wClass;
    const char* pszText;
    short x, y, cx, cy;
    DWORD dwStyle;
};

void ExpectControls(const DialogTemplate& dlg, const std::vector<ExpectedControl>& expected)
{
    ASSERT_EQ(expected.size(), dlg.items.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ExpectedControl& want = expected[i];
        const DialogItem& item = dlg.items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " (id " + std::to_string(want.nId) + ")");
        EXPECT_EQ(want.nId, item.nId);
        EXPECT_EQ(want.wClass, item.className.wOrdinal);
        if (want.pszText != nullptr) {
            EXPECT_EQ(0, item.text.wOrdinal);
            EXPECT_EQ(want.pszText, item.text.strText);
        }
        EXPECT_EQ(want.x, item.x);
        EXPECT_EQ(want.y, item.y);
        EXPECT_EQ(want.cx, item.cx);
        EXPECT_EQ(want.cy, item.cy);
        EXPECT_EQ(Hex(WS_CHILD | WS_VISIBLE | want.dwStyle), Hex(item.dwStyle));
        EXPECT_EQ(Hex(0), Hex(item.dwExStyle));
        EXPECT_EQ(0u, item.dwHelpId);
    }
}

// Image data of the one icon in a group icon resource.
struct IconImage
{
    std::vector<RGBQUAD> palette;
    std::vector<BYTE> pixels;  // colour indices, then the AND mask
};

#pragma pack(push, 2)
struct GroupIconEntry
{
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};
#pragma pack(pop)

// Checks that the group holds one 32 x 32 image with 256 colours and returns that image.
IconImage LoadGroupIcon(int nGroupId)
{
    IconImage image;
    std::vector<BYTE> group = ResourceBytes(RT_GROUP_ICON, nGroupId);
    const size_t nDirSize = 3 * sizeof(WORD);
    EXPECT_EQ(nDirSize + sizeof(GroupIconEntry), group.size());
    if (group.size() < nDirSize + sizeof(GroupIconEntry))
        return image;
    WORD wDir[3];
    memcpy(wDir, group.data(), sizeof wDir);
    EXPECT_EQ(1, wDir[1]) << "resource type: icon";
    EXPECT_EQ(1, wDir[2]) << "image count";
    GroupIconEntry entry;
    memcpy(&entry, group.data() + nDirSize, sizeof entry);
    EXPECT_EQ(32, entry.bWidth);
    EXPECT_EQ(32, entry.bHeight);
    EXPECT_EQ(0, entry.bColorCount) << "256 colours are written as 0";
    EXPECT_EQ(1, entry.wPlanes);
    EXPECT_EQ(8, entry.wBitCount);

    std::vector<BYTE> icon = ResourceBytes(RT_ICON, entry.nId);
    EXPECT_EQ(entry.dwBytesInRes, icon.size());
    BITMAPINFOHEADER header{};
    if (icon.size() < sizeof header)
        return image;
    memcpy(&header, icon.data(), sizeof header);
    EXPECT_EQ(32, header.biWidth);
    EXPECT_EQ(64, header.biHeight) << "colour image and AND mask";
    EXPECT_EQ(8, header.biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
    DWORD dwColours = header.biClrUsed != 0 ? header.biClrUsed : 256;
    EXPECT_EQ(256u, dwColours);
    size_t nPaletteEnd = header.biSize + dwColours * sizeof(RGBQUAD);
    const size_t nPixelBytes = 32 * 32 + 32 * 4;
    EXPECT_EQ(nPaletteEnd + nPixelBytes, icon.size());
    if (icon.size() < nPaletteEnd + nPixelBytes)
        return image;
    image.palette.resize(dwColours);
    memcpy(image.palette.data(), icon.data() + header.biSize, dwColours * sizeof(RGBQUAD));
    image.pixels.assign(icon.begin() + nPaletteEnd, icon.end());
    return image;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD wLanguage, LONG_PTR lParam)
{
    reinterpret_cast<std::set<WORD>*>(lParam)->insert(wLanguage);
    return TRUE;
}

}  // namespace

TEST(ResourceTest, MainDialogFrame)
{
    DialogTemplate dlg = ParseDialog(ResourceBytes(RT_DIALOG, IDD_MAIN_DIALOG));
    ASSERT_FALSE(dlg.bOverrun);
    EXPECT_TRUE(dlg.bExtended);
    EXPECT_EQ(Hex(0x90C800C0), Hex(dlg.dwStyle));
    EXPECT_EQ(Hex(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), Hex(dlg.dwStyle));
    EXPECT_EQ(Hex(WS_EX_APPWINDOW), Hex(dlg.dwExStyle));
    EXPECT_EQ(0, dlg.x);
    EXPECT_EQ(0, dlg.y);
    EXPECT_EQ(223, dlg.cx);
    EXPECT_EQ(296, dlg.cy);
    EXPECT_EQ(0, dlg.menu.wOrdinal);
    EXPECT_EQ("", dlg.menu.strText);
    EXPECT_EQ(0, dlg.className.wOrdinal);
    EXPECT_EQ("", dlg.className.strText);
    // The single-instance check finds the running window by this caption.
    EXPECT_EQ("Calvendrake", dlg.strCaption);
    EXPECT_EQ(9, dlg.wPointSize);
    EXPECT_EQ(0, dlg.wWeight);
    EXPECT_EQ(0, dlg.bItalic);
    EXPECT_EQ(DEFAULT_CHARSET, dlg.bCharSet);
    EXPECT_EQ(kDialogFace, dlg.strFace);
}

TEST(ResourceTest, MainDialogControls)
{
    const std::vector<ExpectedControl> expected = {
        {-1, kStatic, "ﾊﾟｽ", 15, 20, 12, 8, SS_LEFT | WS_GROUP},
        {IDC_SCRIPT_PATH, kStatic, "", 44, 16, 130, 12, SS_LEFT | SS_CENTERIMAGE | WS_GROUP},
        {-1, kStatic, "ﾌｧｲﾙ名", 15, 35, 24, 8, SS_LEFT | WS_GROUP},
        {IDC_SCRIPT_NAME, kComboBox, "", 43, 33, 130, 100, CBS_DROPDOWN | WS_TABSTOP},
        {IDC_SCRIPT_BROWSE, kButton, "参照(&S)", 178, 15, 30, 13, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_SCRIPT_GROUP, kButton, " ｽｸﾘﾌﾟﾄﾌｧｲﾙ ", 8, 5, 205, 45, BS_GROUPBOX},
        {-1, kStatic, "ﾊﾟｽ", 15, 70, 12, 8, SS_LEFT | WS_GROUP},
        {IDC_INPUT_PATH, kStatic, "", 43, 65, 130, 12, SS_LEFT | SS_CENTERIMAGE | WS_GROUP},
        {-1, kStatic, "ﾌｧｲﾙ名", 15, 85, 24, 8, SS_LEFT | WS_GROUP},
        {IDC_INPUT_NAME, kEdit, "", 43, 83, 130, 12, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {IDC_INPUT_BROWSE, kButton, "参照(&I)", 178, 65, 30, 13, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_INPUT_GROUP, kButton, " 入力ﾌｧｲﾙ ", 8, 55, 205, 45, BS_GROUPBOX},
        {-1, kStatic, "ﾊﾟｽ", 15, 120, 12, 8, SS_LEFT | WS_GROUP},
        {IDC_OUTPUT_PATH, kStatic, "", 43, 115, 130, 12, SS_LEFT | SS_CENTERIMAGE | WS_GROUP},
        {-1, kStatic, "ﾌｧｲﾙ名", 15, 135, 24, 8, SS_LEFT | WS_GROUP},
        {IDC_OUTPUT_NAME, kEdit, "", 43, 133, 130, 12, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {IDC_OUTPUT_BROWSE, kButton, "参照(&O)", 178, 115, 30, 13, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_OUTPUT_GROUP, kButton, " 出力ﾌｧｲﾙ ", 8, 105, 205, 45, BS_GROUPBOX},
        {IDC_RUN, kButton, "実行(&R)", 10, 160, 40, 15, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDOK, kButton, "終了(&X)", 65, 160, 40, 15, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_SETTINGS, kButton, "設定(&P) >>", 170, 160, 40, 15, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_OPEN_CVTED_FILE, kButton, "変換後 出力ﾌｧｲﾙ を開く(&1)", 38, 210, 95, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_EXIT_AFTER_CVT, kButton, "変換後 Calvendrake を終了する(&2)", 38, 225, 114, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_COMPLETE_DIALOG, kButton, "変換後 ﾀﾞｲｱﾛｸﾞ を表示する(&3)", 38, 240, 103, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP},
        // Ideographic space and full-width colon, spelled out so that they cannot pass as ASCII.
        {-1, kStatic, "出力ﾌｧｲﾙ の ｻﾌｨｯｸｽ(&4)\u3000\uFF1A", 38, 260, 81, 8, SS_LEFT | SS_CENTERIMAGE},
        {IDC_SUFFIX, kEdit, "", 125, 259, 63, 12, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_GROUP | WS_TABSTOP},
        {-1, kButton, " 設定 ", 18, 190, 185, 90, BS_GROUPBOX},
    };
    DialogTemplate dlg = ParseDialog(ResourceBytes(RT_DIALOG, IDD_MAIN_DIALOG));
    ASSERT_FALSE(dlg.bOverrun);
    ExpectControls(dlg, expected);
}

TEST(ResourceTest, AboutBoxTemplate)
{
    DialogTemplate dlg = ParseDialog(ResourceBytes(RT_DIALOG, IDD_ABOUTBOX));
    ASSERT_FALSE(dlg.bOverrun);
    EXPECT_FALSE(dlg.bExtended);
    EXPECT_EQ(Hex(0x80C800C0), Hex(dlg.dwStyle));
    EXPECT_EQ(Hex(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), Hex(dlg.dwStyle));
    EXPECT_EQ(Hex(0), Hex(dlg.dwExStyle));
    EXPECT_EQ(0, dlg.x);
    EXPECT_EQ(0, dlg.y);
    EXPECT_EQ(235, dlg.cx);
    EXPECT_EQ(56, dlg.cy);
    EXPECT_EQ("Calvendrakeのﾊﾞｰｼﾞｮﾝ情報", dlg.strCaption);
    EXPECT_EQ(9, dlg.wPointSize);
    EXPECT_EQ(kDialogFace, dlg.strFace);

    const std::vector<ExpectedControl> expected = {
        {-1, kStatic, nullptr, 11, 17, 20, 20, SS_ICON},
        {-1, kStatic, "", 40, 10, 119, 8, SS_LEFT | SS_NOPREFIX | WS_GROUP},
        {IDOK, kButton, "OK", 178, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    };
    ExpectControls(dlg, expected);
    ASSERT_EQ(3u, dlg.items.size());
    EXPECT_EQ(IDI_ABOUT, dlg.items[0].text.wOrdinal) << "the icon control shows the about icon";
}

TEST(ResourceTest, StringTable)
{
    // LoadStringA converts through the ANSI code page; the texts are meant for 932.
    ASSERT_EQ(932u, GetACP()) << "run the tests under a Japanese locale";
    struct ExpectedString
    {
        UINT nId;
        const char* pszText;
    };
    const ExpectedString expected[] = {
        {IDS_ABOUTBOX, "Calvendrake のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
        {IDS_REG_SCRIPTFILE, "ScriptFile%d"},
        {IDS_REG_POSLEFT, "PosLeft"},
        {IDS_REG_POSTOP, "PosTop"},
        {IDS_REG_OPENCVTEDFILE, "OpenCvtedFile"},
        {IDS_REG_EXITAFTERCVT, "ExitAfterCvt"},
        {IDS_REG_COMPLETEDIALOG, "CompleteDialog"},
        {IDS_REG_OPTONOFF, "OptOnOff"},
        {IDS_FILTER_DATA, "ncd\nNCD File(*.ncd)|*.ncd|Text File(*.txt)|*.txt"},
        {IDS_FILTER_SCRIPT, "pl\nPerl Script(*.pl)|*.pl"},
        {IDS_FILTER_ALL, "|すべてのファイル(*.*)|*.*||"},
    };
    for (const ExpectedString& want : expected) {
        SCOPED_TRACE("string " + std::to_string(want.nId));
        char szText[256] = "";
        int nLength = LoadStringA(GetModuleHandleA(nullptr), want.nId, szText, sizeof szText);
        EXPECT_EQ(want.pszText, std::string(szText, std::max(nLength, 0)));
    }
}

TEST(ResourceTest, EveryResourceIsJapanese)
{
    struct Named
    {
        LPCSTR pszType;
        int nId;
    };
    const Named resources[] = {
        {RT_DIALOG, IDD_MAIN_DIALOG},
        {RT_DIALOG, IDD_ABOUTBOX},
        {RT_GROUP_ICON, IDR_MAINFRAME},
        {RT_GROUP_ICON, IDI_ABOUT},
        {RT_VERSION, VS_VERSION_INFO},
        {RT_MANIFEST, 1},
        // String blocks hold 16 ids each, numbered from 1.
        {RT_STRING, IDS_ABOUTBOX / 16 + 1},
        {RT_STRING, IDS_REG_SCRIPTFILE / 16 + 1},
        {RT_STRING, IDS_REG_POSLEFT / 16 + 1},
        {RT_STRING, IDS_REG_OPENCVTEDFILE / 16 + 1},
        {RT_STRING, IDS_FILTER_DATA / 16 + 1},
    };
    for (const Named& res : resources) {
        SCOPED_TRACE("type " + std::to_string(reinterpret_cast<UINT_PTR>(res.pszType)) + ", id " +
                     std::to_string(res.nId));
        std::set<WORD> languages;
        EnumResourceLanguagesA(GetModuleHandleA(nullptr), res.pszType, MAKEINTRESOURCEA(res.nId),
                               CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(std::set<WORD>{kJapanese}, languages);
    }
}

TEST(ResourceTest, VersionResource)
{
    char szPath[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, szPath, MAX_PATH));
    DWORD dwHandle = 0;
    DWORD dwSize = GetFileVersionInfoSizeA(szPath, &dwHandle);
    ASSERT_NE(0u, dwSize);
    // VerQueryValueA needs a copy made by GetFileVersionInfoA: it converts texts into that buffer.
    std::vector<BYTE> info(dwSize);
    ASSERT_TRUE(GetFileVersionInfoA(szPath, 0, dwSize, info.data()));

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&pFixed), &nLength));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), nLength);
    EXPECT_EQ(0xFEEF04BDu, pFixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, 3)), pFixed->dwFileVersionMS);
    EXPECT_EQ(0u, pFixed->dwFileVersionLS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, 3)), pFixed->dwProductVersionMS);
    EXPECT_EQ(0u, pFixed->dwProductVersionLS);
    EXPECT_EQ(0u, pFixed->dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), pFixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);

    WORD* pTranslation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pTranslation), &nLength));
    ASSERT_EQ(2 * sizeof(WORD), nLength) << "one translation entry";
    EXPECT_EQ(kJapanese, pTranslation[0]);
    EXPECT_EQ(1200, pTranslation[1]);

    const char* const versionTexts[][2] = {
        {"FileVersion", "3.0.0.0"},
        {"ProductVersion", "3.0.0.0"},
        {"OriginalFilename", "Calvendrake.exe"},
        {"ProductName", "Calvendrake"},
        {"InternalName", "Calvendrake"},
        {"CompanyName", "Harnox"},
        {"FileDescription", "Calvendrake - Perl による NC ﾃﾞｰﾀ変換"},
    };
    for (const auto& entry : versionTexts) {
        SCOPED_TRACE(entry[0]);
        std::string strQuery = std::string("\\StringFileInfo\\041104B0\\") + entry[0];
        char* pszValue = nullptr;
        ASSERT_TRUE(VerQueryValueA(info.data(), strQuery.c_str(), reinterpret_cast<void**>(&pszValue), &nLength));
        EXPECT_STREQ(entry[1], pszValue);
    }
}

TEST(ResourceTest, IconsShareOnePaletteAndDiffer)
{
    IconImage mainIcon, aboutIcon;
    {
        SCOPED_TRACE("IDR_MAINFRAME");
        mainIcon = LoadGroupIcon(IDR_MAINFRAME);
    }
    {
        SCOPED_TRACE("IDI_ABOUT");
        aboutIcon = LoadGroupIcon(IDI_ABOUT);
    }
    ASSERT_EQ(256u, mainIcon.palette.size());
    ASSERT_EQ(256u, aboutIcon.palette.size());
    EXPECT_EQ(0, memcmp(mainIcon.palette.data(), aboutIcon.palette.data(), 256 * sizeof(RGBQUAD)));
    EXPECT_FALSE(mainIcon.pixels == aboutIcon.pixels) << "both icons show the same picture";

    // The platform accepts both as 32 x 32 icons.
    for (int nId : {IDR_MAINFRAME, IDI_ABOUT}) {
        SCOPED_TRACE("icon " + std::to_string(nId));
        HICON hIcon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nId), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(nullptr, hIcon);
        ICONINFO iconInfo{};
        ASSERT_TRUE(GetIconInfo(hIcon, &iconInfo));
        BITMAP bitmap{};
        GetObjectA(iconInfo.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(32, bitmap.bmWidth);
        EXPECT_EQ(32, bitmap.bmHeight);
        DeleteObject(iconInfo.hbmColor);
        DeleteObject(iconInfo.hbmMask);
        DestroyIcon(hIcon);
    }
}

TEST(ResourceTest, ManifestNamesTargetProcessor)
{
    std::vector<BYTE> data = ResourceBytes(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_FALSE(data.empty());
    std::string strManifest(data.begin(), data.end());
#ifdef _WIN64
    const std::string strArch = "amd64";
#else
    const std::string strArch = "x86";
#endif
    // Both the program's own identity and the dependency name the processor it was built for.
    const std::string strAttribute = "processorArchitecture=\"";
    std::vector<std::string> archs;
    for (size_t nPos = strManifest.find(strAttribute); nPos != std::string::npos;
         nPos = strManifest.find(strAttribute, nPos + 1)) {
        size_t nStart = nPos + strAttribute.size();
        archs.push_back(strManifest.substr(nStart, strManifest.find('"', nStart) - nStart));
    }
    EXPECT_EQ((std::vector<std::string>{strArch, strArch}), archs);
    EXPECT_NE(std::string::npos, strManifest.find("name=\"Microsoft.Windows.Common-Controls\""));
    EXPECT_NE(std::string::npos, strManifest.find("publicKeyToken=\"6595b64144ccf1df\""));
}

TEST(ResourceTest, CommonControls6AreInUse)
{
    // The manifest is this process's default activation context, so comctl32 comes from the
    // side-by-side store's version 6 folder rather than the system folder's version 5.
    HMODULE hComCtl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(nullptr, hComCtl);
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(hComCtl, szPath, MAX_PATH);
    std::string strPath = CharLowerA(szPath);
    EXPECT_NE(std::string::npos, strPath.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."))
        << szPath;
    FreeLibrary(hComCtl);
}
