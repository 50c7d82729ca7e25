#include "ConvertDlg.h"
#include "AboutDlg.h"
#include "CMenu.h"
#include "CPaintDC.h"
#include "Layout.h"
#include "ConvertApp.h"
#include "RecentList.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CConvertDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_SETTINGS, OnSettings)
    ON_BN_CLICKED(IDC_SCRIPT_BROWSE, OnBrowseScript)
    ON_BN_CLICKED(IDC_INPUT_BROWSE, OnBrowseInput)
    ON_BN_CLICKED(IDC_OUTPUT_BROWSE, OnBrowseOutput)
    ON_BN_CLICKED(IDC_RUN, OnRun)
    ON_WM_DESTROY()
    ON_CBN_SELCHANGE(IDC_SCRIPT_NAME, OnScriptSelChange)
    ON_EN_KILLFOCUS(IDC_INPUT_NAME, OnInputKillFocus)
    ON_EN_KILLFOCUS(IDC_OUTPUT_NAME, OnOutputKillFocus)
    ON_CBN_KILLFOCUS(IDC_SCRIPT_NAME, OnScriptKillFocus)
    ON_MESSAGE(WM_HANDOFF_INPUT, OnHandoffInput)
    ON_MESSAGE(WM_HANDOFF_WIDE, OnHandoffWide)
    ON_MESSAGE(WM_PATH_DROPPED, OnPathDropped)
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_MESSAGE_MAP()

CConvertDlg::CConvertDlg(CWnd* pParent) : CDialog(IDD_MAIN_DIALOG, pParent)
{
    const CConvertApp& app = GetConvertApp();
    const CConvertSettings& settings = app.m_settings;
    m_bOpenCvtedFile = settings.m_bOpenCvtedFile;
    m_bExitAfterCvt = settings.m_bExitAfterCvt;
    m_bCompleteDialog = settings.m_bCompleteDialog;
    m_strSuffix = settings.m_strSuffix;
    CopyInRecentScripts(settings.m_listScripts, m_listScripts);
    m_strInputPath = app.m_strInputPath;
    m_strOutputPath = app.m_strOutputPath;
    m_bOptOnOff = settings.m_bOptOnOff;
    m_hIcon = ::LoadIconW(AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14)),  // RT_GROUP_ICON
                          MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void CConvertDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_RUN, m_btnRun);
    DDX_Control(pDX, IDC_OUTPUT_NAME, m_editOutputName);
    DDX_Control(pDX, IDC_INPUT_NAME, m_editInputName);
    DDX_Control(pDX, IDC_SCRIPT_NAME, m_comboScriptName);
    DDX_Control(pDX, IDC_INPUT_GROUP, m_grpInput);
    DDX_Control(pDX, IDC_OUTPUT_GROUP, m_grpOutput);
    DDX_Control(pDX, IDC_SCRIPT_GROUP, m_grpScript);
    DDX_Control(pDX, IDC_SUFFIX, m_editSuffix);
    DDX_Control(pDX, IDC_COMPLETE_DIALOG, m_chkCompleteDialog);
    DDX_Control(pDX, IDC_EXIT_AFTER_CVT, m_chkExitAfterCvt);
    DDX_Control(pDX, IDC_OPEN_CVTED_FILE, m_chkOpenCvtedFile);
    DDX_Control(pDX, IDC_OUTPUT_PATH, m_lblOutputPath);
    DDX_Control(pDX, IDC_INPUT_PATH, m_lblInputPath);
    DDX_Control(pDX, IDC_SCRIPT_PATH, m_lblScriptPath);
    DDX_Control(pDX, IDC_SETTINGS, m_btnSettings);
    DDX_Check(pDX, IDC_OPEN_CVTED_FILE, m_bOpenCvtedFile);
    DDX_Check(pDX, IDC_EXIT_AFTER_CVT, m_bExitAfterCvt);
    DDX_Check(pDX, IDC_COMPLETE_DIALOG, m_bCompleteDialog);
    DDX_Text(pDX, IDC_SUFFIX, m_strSuffix);
    DDX_Text(pDX, IDC_OUTPUT_NAME, m_strOutputName);
    DDX_Text(pDX, IDC_INPUT_NAME, m_strInputName);
    DDX_CBString(pDX, IDC_SCRIPT_NAME, m_strScriptName);
}

BOOL CConvertDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu sysMenu = CMenu::FromHandle(::GetSystemMenu(m_hWnd, FALSE));
    if (sysMenu.m_hMenu) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            sysMenu.AppendMenu(MF_SEPARATOR);
            sysMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_lblScriptPath.DragAcceptFiles(TRUE);
    m_lblInputPath.DragAcceptFiles(TRUE);
    m_lblOutputPath.DragAcceptFiles(TRUE);

    const CConvertSettings& settings = GetConvertApp().m_settings;
    POINT position = {settings.m_nPosLeft, settings.m_nPosTop};
    ApplyLayout(&position, WindowDpi(m_hWnd));

    RefillScriptCombo();
    SetPathDisplay(m_strInputPath, IDC_INPUT_PATH, m_strInputName);
    SetPathDisplay(m_strOutputPath, IDC_OUTPUT_PATH, m_strOutputName);
    return TRUE;
}

void CConvertDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CConvertDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    RECT rect;
    GetClientRect(&rect);
    int x = CenteredOffset(rect.right - rect.left, ::GetSystemMetrics(SM_CXICON));
    int y = CenteredOffset(rect.bottom - rect.top, ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc.m_hDC, x, y, m_hIcon);
}

HCURSOR CConvertDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CConvertDlg::OnDestroy()
{
    UpdateData(TRUE);
    CConvertSettings& settings = GetConvertApp().m_settings;
    RECT rect;
    GetWindowRect(&rect);
    settings.m_nPosLeft = rect.left;
    settings.m_nPosTop = rect.top;
    settings.m_bOpenCvtedFile = m_bOpenCvtedFile;
    settings.m_bExitAfterCvt = m_bExitAfterCvt;
    settings.m_bCompleteDialog = m_bCompleteDialog;
    settings.m_bOptOnOff = m_bOptOnOff;
    settings.m_strSuffix = m_strSuffix;
    CopyBackRecentScripts(m_listScripts, settings.m_listScripts);
    CWnd::OnDestroy();
}
