// The framework layer as the program uses it: strings, the string list's
// positions, message maps dispatching real window messages, data exchange
// with real controls, and the message box's default icon.
#include "CDataExchange.h"
#include "CStringList.h"
#include "CWinApp.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// ---- CString ----------------------------------------------------------------

TEST(Framework, StringFindLeftMidSplitAFilterEntry)
{
    // How the file chooser cuts "default extension\nfilter": with or without the break.
    struct {
        const char* pszEntry;
        const char* pszLeft;
        const char* pszRest;
    } const cases[] = {
        {"pl\nPerl Script(*.pl)|*.pl", "pl", "Perl Script(*.pl)|*.pl"},
        {"|すべてのファイル(*.*)|*.*||", "", "|すべてのファイル(*.*)|*.*||"},
        {"\n", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        CString strEntry(c.pszEntry);
        int nBreak = strEntry.Find('\n');
        EXPECT_EQ(strEntry.Left(nBreak).Str(), c.pszLeft);
        EXPECT_EQ(strEntry.Mid(nBreak + 1).Str(), c.pszRest);
    }
    CString str("abc");
    EXPECT_EQ(str.Left(99).Str(), "abc");
    EXPECT_EQ(str.Mid(-5).Str(), "abc");
    EXPECT_EQ(str.Mid(3).Str(), "");
    EXPECT_EQ(str.Mid(99).Str(), "");
}

TEST(Framework, StringFormatReplacesTheWholeText)
{
    CString str("a longer text than the result");
    str.Format("ScriptFile%d", 11);
    EXPECT_EQ(str.Str(), "ScriptFile11");
    str.Format("%s%lu", "表示", 3221225477UL);
    EXPECT_EQ(str.Str(), "表示3221225477");
    str.Format("%s|%d", std::string(1000, 'x').c_str(), -1);
    EXPECT_EQ(str.Str(), std::string(1000, 'x') + "|-1");
    str.Format("%s", "");
    EXPECT_TRUE(str.IsEmpty());
}

TEST(Framework, StringLoadsTheProgramsStringTable)
{
    CString str;
    EXPECT_TRUE(str.LoadString(IDS_FILTER_SCRIPT));
    EXPECT_EQ(str.Str(), "pl\nPerl Script(*.pl)|*.pl");
    EXPECT_TRUE(str.LoadString(IDS_FILTER_ALL));
    EXPECT_EQ(str.Str(), "|すべてのファイル(*.*)|*.*||");
    EXPECT_FALSE(str.LoadString(9999));
    EXPECT_TRUE(str.IsEmpty());
}

// ---- CStringList --------------------------------------------------------------

std::vector<std::string> Contents(const CStringList& list)
{
    std::vector<std::string> items;
    for (POSITION pos = list.GetHeadPosition(); pos;) items.push_back(list.GetNext(pos).Str());
    EXPECT_EQ(static_cast<int>(items.size()), list.GetCount());
    return items;
}

TEST(Framework, ListPositionSurvivesOtherInsertionsAndRemovals)
{
    // The script combo's item data are positions taken before the list changes again.
    CStringList list;
    POSITION posA = list.AddTail("a");
    POSITION posB = list.AddTail("b");
    POSITION posC = list.AddTail("c");
    POSITION posH = list.AddHead("h");
    list.AddTail("t");
    list.RemoveAt(posA);                        // middle
    EXPECT_EQ(list.RemoveTail().Str(), "t");    // tail
    EXPECT_EQ(list.GetAt(posB).Str(), "b");
    EXPECT_EQ(list.GetAt(posC).Str(), "c");
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"h", "b", "c"}));

    list.RemoveAt(posH);                        // head
    EXPECT_EQ(list.GetHead().Str(), "b");
    list.RemoveAt(posC);                        // tail by position
    EXPECT_EQ(list.GetTail().Str(), "b");
    EXPECT_EQ(list.GetHeadPosition(), posB);

    list.RemoveAt(posB);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);

    // An emptied list is whole again from either end.
    list.AddHead("x");
    list.AddTail("y");
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(list.RemoveTail().Str(), "y");
    EXPECT_EQ(list.GetTail().Str(), "x");
    list.RemoveAll();
    EXPECT_TRUE(Contents(list).empty());
}

// ---- Windows for the tests -------------------------------------------------------

const char kParentClass[] = "CalvUnitTestParent";

HWND CreateParent()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kParentClass;
    ::RegisterClassA(&wc);  // fails harmlessly when an earlier test registered it
    return ::CreateWindowExA(0, kParentClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                             nullptr, nullptr, wc.hInstance, nullptr);
}

HWND CreateChild(HWND hWndParent, const char* pszClass, DWORD dwStyle, int nID, int nHeight = 24)
{
    return ::CreateWindowExA(0, pszClass, "", WS_CHILD | WS_VISIBLE | dwStyle, 10, 10 + 30 * (nID % 8), 200, nHeight,
                             hWndParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

std::string TextOf(HWND hWnd)
{
    char szText[1024] = "";
    ::SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// ---- Message maps -----------------------------------------------------------------

class CProbeBase : public CWnd {
public:
    std::vector<std::string> m_calls;
    void OnBaseClick100() { m_calls.push_back("base 100"); }
    void OnBaseClick101() { m_calls.push_back("base 101"); }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam)
    {
        m_calls.push_back("ping");
        return static_cast<LRESULT>(wParam) + lParam;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeBase, CWnd)
    ON_BN_CLICKED(100, OnBaseClick100)
    ON_BN_CLICKED(101, OnBaseClick101)
    ON_MESSAGE(WM_USER + 100, OnPing)
END_MESSAGE_MAP()

// Overrides one binding of its base and adds its own.
class CProbe : public CProbeBase {
public:
    void OnClick100() { m_calls.push_back("derived 100"); }
    void OnEditKillFocus() { m_calls.push_back("kill 102"); }
    void OnComboKillFocus() { m_calls.push_back("kill 103"); }
    void OnComboSelChange() { m_calls.push_back("selchange 103"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbe, CProbeBase)
    ON_BN_CLICKED(100, OnClick100)
    ON_EN_KILLFOCUS(102, OnEditKillFocus)
    ON_CBN_KILLFOCUS(103, OnComboKillFocus)
    ON_CBN_SELCHANGE(103, OnComboSelChange)
END_MESSAGE_MAP()

TEST(Framework, MessageMapMatchesCodeAndIdAndFallsBackToTheBase)
{
    struct {
        UINT nMessage;
        WPARAM wParam;
        const char* pszCall;  // nullptr: nobody handles it
    } const cases[] = {
        {WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), "derived 100"},
        {WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), "base 101"},
        {WM_COMMAND, MAKEWPARAM(102, EN_KILLFOCUS), "kill 102"},
        {WM_COMMAND, MAKEWPARAM(103, CBN_KILLFOCUS), "kill 103"},
        {WM_COMMAND, MAKEWPARAM(103, CBN_SELCHANGE), "selchange 103"},
        {WM_COMMAND, MAKEWPARAM(102, EN_CHANGE), nullptr},
        {WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), nullptr},
        {WM_COMMAND, MAKEWPARAM(104, BN_CLICKED), nullptr},
        {WM_USER + 100, 5, "ping"},
        {WM_USER + 101, 0, nullptr},
        {WM_PAINT, 0, nullptr},
    };
    for (const auto& c : cases) {
        CProbe probe;
        LRESULT lResult = -1;
        BOOL bHandled = probe.OnWndMsg(c.nMessage, c.wParam, 7, &lResult);
        EXPECT_EQ(bHandled != FALSE, c.pszCall != nullptr) << c.nMessage << " " << c.wParam;
        if (c.pszCall) EXPECT_EQ(probe.m_calls, std::vector<std::string>{c.pszCall});
        else EXPECT_TRUE(probe.m_calls.empty());
    }
    CProbe probe;
    LRESULT lResult = 0;
    probe.OnWndMsg(WM_USER + 100, 5, 7, &lResult);
    EXPECT_EQ(lResult, 12);
    EXPECT_EQ(AfxFindMessageEntry(CProbeBase::GetThisMessageMap(), WM_COMMAND, MAKEWPARAM(102, EN_KILLFOCUS)), nullptr);
}

TEST(Framework, SubclassedWindowGetsItsControlsNotifications)
{
    HWND hWndParent = CreateParent();
    ASSERT_NE(hWndParent, nullptr);
    CProbe probe;
    ASSERT_TRUE(probe.SubclassWindow(hWndParent));
    HWND hWndButton = CreateChild(hWndParent, "BUTTON", BS_PUSHBUTTON, 100);
    HWND hWndEdit = CreateChild(hWndParent, "EDIT", WS_BORDER, 102);

    ::SendMessageA(hWndButton, BM_CLICK, 0, 0);
    EXPECT_EQ(probe.m_calls, std::vector<std::string>{"derived 100"});

    probe.m_calls.clear();
    ::SetFocus(hWndEdit);
    ::SetFocus(hWndButton);
    EXPECT_EQ(probe.m_calls, std::vector<std::string>{"kill 102"});

    EXPECT_EQ(::SendMessageA(hWndParent, WM_USER + 100, 30, 12), 42);

    // What the map does not name goes on to the window's own procedure.
    ::SetWindowTextA(hWndParent, "表示");
    EXPECT_EQ(TextOf(hWndParent), "表示");

    ::DestroyWindow(hWndParent);
    EXPECT_EQ(probe.m_hWnd, nullptr);
}

// ---- Data exchange ---------------------------------------------------------------

const int kCheckID = 1;
const int kEditID = 2;
const int kComboID = 3;

class DataExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_wndParent.m_hWnd = CreateParent();
        ASSERT_NE(m_wndParent.m_hWnd, nullptr);
        m_hWndCheck = CreateChild(m_wndParent.m_hWnd, "BUTTON", BS_AUTOCHECKBOX, kCheckID);
        m_hWndEdit = CreateChild(m_wndParent.m_hWnd, "EDIT", WS_BORDER | ES_AUTOHSCROLL, kEditID);
        m_hWndCombo = CreateChild(m_wndParent.m_hWnd, "COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, kComboID, 150);
        ASSERT_TRUE(m_hWndCheck && m_hWndEdit && m_hWndCombo);
    }

    void TearDown() override
    {
        ::DestroyWindow(m_wndParent.m_hWnd);
        m_wndParent.m_hWnd = nullptr;
    }

    void Push(void (*pfnExchange)(CDataExchange*, int, CString&), int nID, CString& value)
    {
        CDataExchange dx(&m_wndParent, FALSE);
        pfnExchange(&dx, nID, value);
    }

    CString Pull(void (*pfnExchange)(CDataExchange*, int, CString&), int nID)
    {
        CString value("not pulled");
        CDataExchange dx(&m_wndParent, TRUE);
        pfnExchange(&dx, nID, value);
        return value;
    }

    void ExchangeCheck(BOOL bSaveAndValidate, int& value)
    {
        CDataExchange dx(&m_wndParent, bSaveAndValidate);
        DDX_Check(&dx, kCheckID, value);
    }

    LRESULT CheckState() const { return ::SendMessageA(m_hWndCheck, BM_GETCHECK, 0, 0); }
    LRESULT ComboSelection() const { return ::SendMessageA(m_hWndCombo, CB_GETCURSEL, 0, 0); }

    CWnd m_wndParent;
    HWND m_hWndCheck = nullptr;
    HWND m_hWndEdit = nullptr;
    HWND m_hWndCombo = nullptr;
};

TEST_F(DataExchange, CheckPushClearsTheBoxAndTheMemberOutsideZeroToTwo)
{
    struct {
        int nMember;
        int nMemberAfter;
        LRESULT lState;
    } const cases[] = {
        {0, 0, BST_UNCHECKED}, {1, 1, BST_CHECKED}, {3, 0, BST_UNCHECKED},
        {5, 0, BST_UNCHECKED}, {-1, 0, BST_UNCHECKED}, {INT_MIN, 0, BST_UNCHECKED},
    };
    for (const auto& c : cases) {
        // Start from the opposite state so that the push has to change the box.
        ::SendMessageA(m_hWndCheck, BM_SETCHECK, c.lState == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        int nValue = c.nMember;
        ExchangeCheck(FALSE, nValue);
        EXPECT_EQ(nValue, c.nMemberAfter) << c.nMember;
        EXPECT_EQ(CheckState(), c.lState) << c.nMember;
        int nPulled = -1;
        ExchangeCheck(TRUE, nPulled);
        EXPECT_EQ(nPulled, c.nMemberAfter) << c.nMember;
    }
    // 2 is inside the range: the member keeps it, whatever a two-state box can show.
    int nValue = 2;
    ExchangeCheck(FALSE, nValue);
    EXPECT_EQ(nValue, 2);
}

TEST_F(DataExchange, CheckPullReadsWhatTheUserClicked)
{
    int nValue = 0;
    ExchangeCheck(FALSE, nValue);
    ::SendMessageA(m_hWndCheck, BM_CLICK, 0, 0);
    ExchangeCheck(TRUE, nValue);
    EXPECT_EQ(nValue, 1);
    ::SendMessageA(m_hWndCheck, BM_CLICK, 0, 0);
    ExchangeCheck(TRUE, nValue);
    EXPECT_EQ(nValue, 0);
}

TEST_F(DataExchange, TextPushesAndPullsTheWholeText)
{
    CString strValue("C:\\表示\\ソフト_cvted.ncd");
    Push(DDX_Text, kEditID, strValue);
    EXPECT_EQ(TextOf(m_hWndEdit), strValue.Str());

    const std::string strLong = std::string(600, 'x') + "表";
    ::SetWindowTextA(m_hWndEdit, strLong.c_str());
    EXPECT_EQ(Pull(DDX_Text, kEditID).Str(), strLong);

    CString strEmpty;
    Push(DDX_Text, kEditID, strEmpty);
    EXPECT_EQ(Pull(DDX_Text, kEditID).Str(), "");
}

TEST_F(DataExchange, ComboPushSelectsTheFirstItemBeginningWithTheText)
{
    for (const char* pszItem : {"a.pl", "Conv.pl", "conv.pl", "表示.pl"})
        ::SendMessageA(m_hWndCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));

    struct {
        const char* pszMember;
        LRESULT lSelection;
        const char* pszShown;
    } const cases[] = {
        {"conv", 1, "Conv.pl"},
        {"CONV.PL", 1, "Conv.pl"},
        {"a", 0, "a.pl"},
        {"表示", 3, "表示.pl"},
    };
    for (const auto& c : cases) {
        ::SendMessageA(m_hWndCombo, CB_SETCURSEL, 2, 0);
        CString strValue(c.pszMember);
        Push(DDX_CBString, kComboID, strValue);
        EXPECT_EQ(strValue.Str(), c.pszMember);
        EXPECT_EQ(ComboSelection(), c.lSelection) << c.pszMember;
        EXPECT_EQ(Pull(DDX_CBString, kComboID).Str(), c.pszShown);
    }
}

TEST_F(DataExchange, ComboPushOfAnUnlistedTextKeepsTheSelectionAndShowsTheText)
{
    for (const char* pszItem : {"a.pl", "Conv.pl"})
        ::SendMessageA(m_hWndCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    ::SendMessageA(m_hWndCombo, CB_SETCURSEL, 1, 0);

    for (const char* pszMember : {"zzz.pl", "Conv.pl.bak", "C:\\s\\Conv.pl", "ソフト.pl"}) {
        CString strValue(pszMember);
        Push(DDX_CBString, kComboID, strValue);
        EXPECT_EQ(ComboSelection(), 1) << pszMember;
        EXPECT_EQ(Pull(DDX_CBString, kComboID).Str(), pszMember);
    }

    // With no items at all the text is shown just the same.
    ::SendMessageA(m_hWndCombo, CB_RESETCONTENT, 0, 0);
    CString strValue("b.pl");
    Push(DDX_CBString, kComboID, strValue);
    EXPECT_EQ(ComboSelection(), CB_ERR);
    EXPECT_EQ(Pull(DDX_CBString, kComboID).Str(), "b.pl");
}

// ---- Message box -----------------------------------------------------------------

TEST(Framework, MessageBoxAddsTheWarningIconOnlyToIconlessOkAndYesNo)
{
    struct {
        UINT nType;
        UINT nStyle;
    } const cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_YESNO | MB_DEFBUTTON2, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION},
        {MB_ICONINFORMATION, MB_ICONINFORMATION},
        {MB_YESNO | MB_ICONQUESTION, MB_YESNO | MB_ICONQUESTION},
        {MB_OK | MB_ICONSTOP, MB_OK | MB_ICONSTOP},
    };
    for (const auto& c : cases) EXPECT_EQ(AfxMessageBoxStyle(c.nType), c.nStyle) << std::hex << c.nType;
}

}  // namespace
