// The three path fields: names typed and resolved when the focus leaves, files
// dropped on the folder labels, the choosers answered through their own
// windows, the script list; and nothing typed is undone by any of them.
#include "RunFixture.h"

namespace {

using PathFieldsTest = RunFixture;

// Edits no handler has read yet: the suffix field and the check box have no handler.
void TypeUnread(AppDriver& app, const std::wstring& suffix)
{
    ::SendMessageW(app.Control(IDC_SUFFIX), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(suffix.c_str()));
    ::SendMessageW(app.Control(IDC_COMPLETE_DIALOG), BM_SETCHECK, BST_CHECKED, 0);
}

TEST_F(PathFieldsTest, TypedNamesResolveWhenTheFocusLeaves)
{
    AppDriver app(Recording({L"C:\\work\\a.ncd"}));
    // Typed into a field; its folder and name once the focus has left.
    struct Typed { int nField, nLabel; std::wstring typed, folder, name; } const rows[] = {
        {IDC_OUTPUT_NAME, IDC_OUTPUT_PATH, L"D:\\x\\c.ncd", L"D:\\x\\", L"c.ncd"},  // with a drive: taken whole
        {IDC_INPUT_NAME, IDC_INPUT_PATH, L"b.ncd", L"C:\\work\\", L"b.ncd"},        // bare: in the folder it had
        {IDC_INPUT_NAME, IDC_INPUT_PATH, L"sub\\b.ncd", L"sub\\", L"b.ncd"},        // relative stays relative
        {IDC_INPUT_NAME, IDC_INPUT_PATH, L"", L"sub\\", L""},                      // emptied: the folder stays
        {IDC_SCRIPT_NAME, IDC_SCRIPT_PATH, L"C:\\s\\t.pl", L"C:\\s\\", L"t.pl"},
        {IDC_SCRIPT_NAME, IDC_SCRIPT_PATH, L"u.pl", L"C:\\s\\", L"u.pl"},
    };
    for (const Typed& row : rows) {
        app.Type(row.nField, row.typed);
        app.Focus(IDC_SETTINGS);
        EXPECT_EQ(app.Text(row.nLabel), row.folder) << row.typed;
        EXPECT_EQ(app.Text(row.nField), row.name) << row.typed;
    }
    EXPECT_EQ(app.Text(IDC_OUTPUT_NAME), L"c.ncd");  // a typed input derives no output
    app.Close();
}

TEST_F(PathFieldsTest, OneFileDroppedOnALabelFillsThatField)
{
    const std::wstring longFolder = L"C:\\" + std::wstring(256, 'd') + L"\\";  // MAX_PATH bytes
    AppDriver app;
    TypeUnread(app, L"_b");
    struct Dropped { int nLabel; std::vector<std::wstring> paths; Texts shown; } const drops[] = {
        {IDC_SCRIPT_PATH, {L"C:\\s\\conv.pl"}, {L"C:\\s\\", L"conv.pl", L"", L"", L"", L"", L"_b", L"checked"}},
        // The output is derived with the suffix the field shows, not the one last read.
        {IDC_INPUT_PATH, {L"C:\\in\\part.ncd"}, {L"C:\\s\\", L"conv.pl", L"C:\\in\\", L"part.ncd", L"C:\\in\\", L"part_b.ncd", L"_b", L"checked"}},
        {IDC_INPUT_PATH, {L"C:\\x\\1.ncd", L"C:\\x\\2.ncd"}, {L"C:\\s\\", L"conv.pl", L"C:\\in\\", L"part.ncd", L"C:\\in\\", L"part_b.ncd", L"_b", L"checked"}},
        // Too long for the system's buffers: taken and shown whole. Drops are handled in
        // order, so this one showing means the two files above changed nothing.
        {IDC_OUTPUT_PATH, {longFolder + L"r.txt"}, {L"C:\\s\\", L"conv.pl", L"C:\\in\\", L"part.ncd", longFolder, L"r.txt", L"_b", L"checked"}},
    };
    for (const Dropped& drop : drops) {
        DropFiles(app.Control(drop.nLabel), drop.paths);
        EXPECT_TRUE(WaitUntil([&] { return Shown(app) == drop.shown; })) << drop.paths[0];
    }
    // A drop notice that names no label changes and puts back nothing.
    ::SendMessageW(app.Control(IDC_INPUT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed.ncd"));
    app.Send(WM_PATH_DROPPED, 1234);
    EXPECT_EQ(app.Text(IDC_INPUT_NAME), L"typed.ncd");
    // Only the three labels take drops from the shell.
    for (HWND hWnd = ::GetWindow(app.Dialog(), GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        const int nID = ::GetDlgCtrlID(hWnd);
        EXPECT_EQ(nID == IDC_SCRIPT_PATH || nID == IDC_INPUT_PATH || nID == IDC_OUTPUT_PATH,
                  (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0) << nID;
    }
    app.Close();
}

TEST_F(PathFieldsTest, ChoosersOpenAtTheirPathsOfferTheirFilesAndCancelChangesNothing)
{
    const std::wstring one = m_folder.Write(L"scripts\\one.pl", "1;\n");
    const std::wstring two = m_folder.Write(L"scripts\\two.pl", "1;\n");
    const std::wstring part2 = m_folder.Write(L"part2.ncd", "N20\n");
    SetText(L"ScriptFile0", one);
    SetText(L"ScriptFile1", two);
    AppDriver app(RecordingPerl({m_input}));
    // From a control without a kill-focus handler, which would read the dialog before the browse does.
    app.Focus(IDC_SETTINGS);
    // Selected without its notice: the script chooser starts from that item all the same.
    ::SendMessageW(app.Control(IDC_SCRIPT_NAME), CB_SETCURSEL, 1, 0);
    const Texts kDataTypes = {L"NCD File(*.ncd)", L"Text File(*.txt)", L"すべてのファイル(*.*)"};
    // Each chooser takes a bare name in the folder it opens in, which the run below shows.
    // A suffix typed just before, the name and file types a chooser starts with, open or save,
    // the name chosen and what it shows then.
    struct Browse { std::wstring suffix; int nBrowseID; std::wstring name; Texts types; bool bOpen; std::wstring chosen; int nNameID; std::wstring shown; };
    const Browse browses[] = {
        {L"_s", IDC_SCRIPT_BROWSE, L"two.pl", {L"Perl Script(*.pl)", L"すべてのファイル(*.*)"}, true, L"one.pl", IDC_SCRIPT_NAME, L"one.pl"},
        {L"_t", IDC_INPUT_BROWSE, L"part1.ncd", kDataTypes, true, L"part2.ncd", IDC_OUTPUT_NAME, L"part2_t.ncd"},
        // A new name without extension gets the data files' one.
        {L"_o", IDC_OUTPUT_BROWSE, L"part2_t.ncd", kDataTypes, false, L"out", IDC_OUTPUT_NAME, L"out.ncd"},
    };
    std::wstring openTitle;
    for (const Browse& browse : browses) {
        TypeUnread(app, browse.suffix);  // each browse must read it before it shows what it chose
        Chooser chooser(app, browse.nBrowseID);
        EXPECT_EQ(WindowText(chooser.NameField()), browse.name);
        EXPECT_EQ(ComboItems(::GetDlgItem(chooser.hWnd, cmb1)), browse.types);
        EXPECT_EQ(::SendMessageW(::GetDlgItem(chooser.hWnd, cmb1), CB_GETCURSEL, 0, 0), 0);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(chooser.hWnd, chx1)));  // no read-only box
        if (openTitle.empty()) openTitle = WindowText(chooser.hWnd);
        EXPECT_EQ(WindowText(chooser.hWnd) == openTitle, browse.bOpen);
        if (browse.bOpen) {
            // Only an existing file is taken: the chooser says so and stays open.
            chooser.Press(L"missing.ncd", IDOK);
            app.Answer(app.WaitForWindow(L"#32770", chooser.hWnd), IDOK);
        }
        chooser.Press(browse.chosen, IDOK);
        app.Finish();
        EXPECT_EQ(app.Text(browse.nNameID), browse.shown);
        EXPECT_EQ(app.Text(IDC_SUFFIX), browse.suffix);
    }
    const Texts shown = Shown(app);
    for (int nBrowseID : {IDC_SCRIPT_BROWSE, IDC_INPUT_BROWSE, IDC_OUTPUT_BROWSE}) {
        Chooser(app, nBrowseID).Press(L"", IDCANCEL);
        app.Finish();
        EXPECT_EQ(Shown(app), shown);
    }
    // Chosen is not yet run: the list is as stored.
    EXPECT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{L"one.pl", L"two.pl"}));
    EXPECT_EQ(PressRun(app), Texts{L"完了しました。"});
    EXPECT_EQ(Recorded(), RunLine(one, part2, m_folder / L"out.ncd"));
    app.Close();
}

// Selects an item as the drop-down list does: the selection, then its notice. -1 selects none.
void SelectScript(AppDriver& app, int nIndex)
{
    ::SendMessageW(app.Control(IDC_SCRIPT_NAME), CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    app.Send(WM_COMMAND, MAKEWPARAM(IDC_SCRIPT_NAME, CBN_SELCHANGE), reinterpret_cast<LPARAM>(app.Control(IDC_SCRIPT_NAME)));
}

TEST_F(PathFieldsTest, EachScriptItemStandsForItsOwnScript)
{
    const std::wstring a = m_folder.Write(L"a\\conv.pl", "1;\n");
    const std::wstring b = m_folder.Write(L"b\\conv.pl", "1;\n");
    SetText(L"ScriptFile0", a);
    SetText(L"ScriptFile1", b);
    {
        AppDriver app(RecordingPerl({m_input}));
        ASSERT_EQ(app.ComboItems(IDC_SCRIPT_NAME), (Texts{L"conv.pl", L"conv.pl"}));
        // The second item, then again the second (the run moved b first), then none: the least recent.
        for (int nIndex : {1, 1, -1}) {
            SelectScript(app, nIndex);
            EXPECT_EQ(PressRun(app), Texts{});
        }
        const std::wstring output = m_folder / L"part1_cvted.ncd";
        EXPECT_EQ(Recorded(), RunLine(b, m_input, output) + RunLine(a, m_input, output) + RunLine(b, m_input, output));
        app.Close();
    }
    // No selection in an empty list: no script.
    DeleteSettingsKey();
    AppDriver app;
    app.Type(IDC_SCRIPT_NAME, m_script);
    app.Focus(IDC_INPUT_NAME);
    SelectScript(app, -1);
    EXPECT_EQ(app.Text(IDC_SCRIPT_NAME), L"");
    EXPECT_EQ(PressRun(app), Texts{L"ｽｸﾘﾌﾟﾄﾌｧｲﾙ を入力してください。"});
    app.Close();
}

}  // namespace
