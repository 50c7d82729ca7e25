// The framework as the program uses it: strings and lists, message-map lookup,
// data exchange with real controls, the message box's icon rule.
#include "CDataExchange.h"
#include "CDialog.h"
#include "CWinApp.h"
#include "Strings.h"
#include "resource.h"

TEST(Framework, StringsAndLists)
{
    // A chooser appends the default extension, cut from its filter entry, when all files are
    // shown; the dialog tests choose under a filter of one type, whose extension comes first.
    EXPECT_EQ(CString(L"pl\nPerl").Left(2).Str(), L"pl");
    CString str(L"old");
    EXPECT_FALSE(str.LoadString(9999));
    EXPECT_TRUE(str.IsEmpty());

    // The script box keeps positions as item data: they outlive other entries.
    CStringList list;
    POSITION posA = list.AddTail(L"a");
    POSITION posB = list.AddTail(L"b");
    list.AddTail(L"c");
    list.AddHead(L"h");
    list.RemoveAt(posA);
    EXPECT_EQ(list.RemoveTail().Str(), L"c");
    EXPECT_EQ(list.GetAt(posB).Str(), L"b");
    EXPECT_EQ(Contents(list), (Strings{L"h", L"b"}));
}

// Never made: only its message map is looked at.
class CProbe : public CDialog {
    void OnKillFocus() {}
    void OnSelChange() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbe, CDialog)
    ON_EN_KILLFOCUS(102, OnKillFocus)
    ON_CBN_SELCHANGE(103, OnSelChange)
END_MESSAGE_MAP()

TEST(Framework, MessageMapMatchesMessageCodeAndIdThenTheBase)
{
    const struct { const char* why; UINT nMessage; WPARAM wParam; bool bFound; } rows[] = {
        {"the dialog's own Enter", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), true},
        {"an edit field left", WM_COMMAND, MAKEWPARAM(102, EN_KILLFOCUS), true},
        {"an edit field changed", WM_COMMAND, MAKEWPARAM(102, EN_CHANGE), false},
        {"a combo box selection", WM_COMMAND, MAKEWPARAM(103, CBN_SELCHANGE), true},
        {"an unbound id", WM_COMMAND, MAKEWPARAM(104, CBN_SELCHANGE), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(AfxFindMessageEntry(CProbe::GetThisMessageMap(), row.nMessage, row.wParam) != nullptr, row.bFound)
            << row.why;
}

// The dialog tests see the question's icon and the completion box's own: the warning on a refusal only this.
TEST(Framework, MessageBoxWarnsWhenOkNamesNoIcon) { EXPECT_EQ(AfxMessageBoxStyle(MB_OK), MB_OK | MB_ICONEXCLAMATION); }

TEST(Framework, DataExchangeWithRealControls)
{
    CWnd wndDialog;
    wndDialog.m_hWnd = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND hWndCheck = ::CreateWindowW(L"BUTTON", L"", WS_CHILD | BS_AUTO3STATE, 0, 0, 200, 20, wndDialog.m_hWnd,
                                     reinterpret_cast<HMENU>(1), nullptr, nullptr);
    HWND hWndCombo = ::CreateWindowW(L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0, 200, 100,
                                     wndDialog.m_hWnd, reinterpret_cast<HMENU>(2), nullptr, nullptr);
    ASSERT_TRUE(hWndCheck && hWndCombo);
    CDataExchange push(&wndDialog, FALSE), pull(&wndDialog, TRUE);

    // A check box member outside 0..2 is pushed as 0.
    for (const auto& row : {std::pair<int, int>{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 0}}) {
        ::SendMessageA(hWndCheck, BM_SETCHECK, row.second == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
        int nValue = row.first;
        DDX_Check(&push, 1, nValue);
        EXPECT_EQ(nValue, row.second) << row.first;
        DDX_Check(&pull, 1, nValue);
        EXPECT_EQ(nValue, row.second) << row.first;
    }
    // The combo box selects the first item beginning with the text, in any case; else it shows the text.
    for (const wchar_t* pszItem : {L"a.pl", L"Conv.pl", L"conv.pl"})
        ::SendMessageW(hWndCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    const struct { const wchar_t* pushed; LRESULT lSelection; const wchar_t* pulled; } rows[] = {
        {L"CONV", 1, L"Conv.pl"}, {L"a", 0, L"a.pl"}, {L"C:\\Conv.pl", 0, L"C:\\Conv.pl"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.pushed)));
        CString strValue(row.pushed);
        DDX_CBString(&push, 2, strValue);
        EXPECT_EQ(::SendMessageW(hWndCombo, CB_GETCURSEL, 0, 0), row.lSelection);
        DDX_CBString(&pull, 2, strValue);
        EXPECT_EQ(strValue.Str(), row.pulled);
    }
    // A text longer than a first read holds comes whole, a character code page 932 lacks as itself.
    CString strLong;
    for (int i = 0; i < 700; ++i) strLong += L"表ü";
    ::SetWindowTextW(hWndCombo, strLong);
    CString strPulled;
    DDX_CBString(&pull, 2, strPulled);
    EXPECT_EQ(strPulled.Str(), strLong.Str());
    // A text that differs from the one shown only where code page 932 has a look-alike is pushed.
    CString strSuffix(L"_¥");
    ::SetWindowTextW(hWndCombo, L"_\\");
    DDX_Text(&push, 2, strSuffix);
    DDX_Text(&pull, 2, strSuffix);
    EXPECT_EQ(strSuffix.Str(), L"_¥");
    ::DestroyWindow(std::exchange(wndDialog.m_hWnd, nullptr));
}
