#include "CWinApp.h"
#include "ConvertDlg.h"
#include "FileAttributes.h"
#include "Messages.h"
#include "PathRules.h"
#include "PerlNames.h"
#include "RecentList.h"
#include "RunText.h"
#include "SameFile.h"
#include "resource.h"

namespace {
// Attributes that make a file unusable as script or input, and in addition as output.
constexpr DWORD kUnusableSource = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
constexpr DWORD kUnusableOutput = kUnusableSource | FILE_ATTRIBUTE_READONLY;
}  // namespace

void CConvertDlg::AddRecentScript(const wchar_t* lpszPath)
{
    PromoteRecentScript(m_listScripts, lpszPath);
}

void CConvertDlg::RefillScriptCombo()
{
    m_comboScriptName.ResetContent();
    for (POSITION pos = m_listScripts.GetHeadPosition(); pos;) {
        POSITION posEntry = pos;
        PathParts parts = SplitPath(m_listScripts.GetNext(pos));
        int nIndex = m_comboScriptName.AddString(parts.fname + parts.ext);
        m_comboScriptName.SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(posEntry));
    }
    if (m_listScripts.IsEmpty()) return;
    m_strScriptPath = m_listScripts.GetHead();
    SetPathDisplay(m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName);
}

void CConvertDlg::RefuseField(const CString& strMessage, CWnd& ctlField, bool bSelectAll)
{
    AfxMessageBox(strMessage, MB_OK);
    FocusField(ctlField, bSelectAll);
}

void CConvertDlg::FocusField(CWnd& ctlField, bool bSelectAll)
{
    ctlField.SetFocus();
    if (!bSelectAll) return;
    if (&ctlField == &m_comboScriptName) {
        ctlField.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    } else {
        ctlField.SendMessage(EM_SETSEL, 0, -1);
        ctlField.SendMessage(EM_SCROLLCARET);
    }
}

bool CConvertDlg::CheckExistingFile(const CString& strPath, DWORD dwUnusableMask, CWnd& ctlField)
{
    DWORD dwAttributes = GetPathAttributes(strPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES) RefuseField(strPath + kMsgNotExist, ctlField, true);
    else if (dwAttributes & dwUnusableMask) RefuseField(strPath + kMsgInvalidFile, ctlField, true);
    else return true;
    return false;
}

bool CConvertDlg::CheckPerlForm(const CString& strPath, bool bOutput, CWnd& ctlField, CString& strForm)
{
    const UINT nCodePage = ::GetACP();
    if (PerlPathForm(strPath, bOutput, nCodePage, strForm)) return true;
    CString strReason;
    strReason.LoadString(nCodePage == 932 ? IDS_NAME_NOT_932 : IDS_NAME_NOT_ACP);
    RefuseField(strPath + strReason, ctlField, false);
    return false;
}

bool CConvertDlg::CheckOutputIsNoSource()
{
    // Writing the output would empty the input before it is read, or replace the script.
    if (IsSameFile(m_strOutputPath, m_strInputPath)) RefuseField(m_strOutputPath + kMsgSameAsInput, m_editOutputName, true);
    else if (IsSameFile(m_strOutputPath, m_strScriptPath)) RefuseField(m_strOutputPath + kMsgSameAsScript, m_editOutputName, true);
    else return true;
    return false;
}

void CConvertDlg::OnRun()
{
    // Taking the focus makes a name still being typed resolve into its full path.
    m_btnRun.SetFocus();
    UpdateData(TRUE);
    CString strScriptForm, strInputForm, strOutputForm;

    if (m_strScriptPath.IsEmpty() || m_strScriptName.IsEmpty()) {
        RefuseField(kMsgEnterScript, m_comboScriptName, false);
        return;
    }
    if (!CheckExistingFile(m_strScriptPath, kUnusableSource, m_comboScriptName) ||
        !CheckPerlForm(m_strScriptPath, false, m_comboScriptName, strScriptForm))
        return;

    if (m_strInputPath.IsEmpty() || m_strInputName.IsEmpty()) {
        RefuseField(kMsgEnterInput, m_editInputName, false);
        return;
    }
    if (!CheckExistingFile(m_strInputPath, kUnusableSource, m_editInputName) ||
        !CheckPerlForm(m_strInputPath, false, m_editInputName, strInputForm))
        return;

    if (m_strOutputPath.IsEmpty() || m_strOutputName.IsEmpty()) {
        RefuseField(kMsgEnterOutput, m_editOutputName, false);
        return;
    }
    // Too long for the attribute check, an existing file would pass as absent and be replaced unasked.
    if (m_strOutputPath.GetLength() >= MAX_PATH) {
        RefuseField(m_strOutputPath + kMsgInvalidFile, m_editOutputName, true);
        return;
    }
    if (!CheckPerlForm(m_strOutputPath, true, m_editOutputName, strOutputForm)) return;
    if (GetPathAttributes(m_strOutputPath) != INVALID_FILE_ATTRIBUTES) {
        if (!CheckOutputIsNoSource()) return;
        if (!CheckExistingFile(m_strOutputPath, kUnusableOutput, m_editOutputName)) return;
        if (AfxMessageBox(m_strOutputPath + kMsgOverwrite, MB_YESNO | MB_DEFBUTTON2) != IDYES) {
            FocusField(m_editOutputName, true);
            return;
        }
    }

    // The after-run actions belong to this run, whatever a hand-off sets while a message is open.
    const CString strScriptPath = m_strScriptPath;
    const CString strOutputPath = m_strOutputPath;
    ConversionResult result = RunScript(BuildCommandLine(strScriptForm, strInputForm, strOutputForm));
    if (result.bStopped) {
        AfxMessageBox(strScriptPath + kMsgRunStopped, MB_OK);
    } else if (!result.bStarted) {
        AfxMessageBox(kMsgPerlNotStarted, MB_OK);
    } else if (result.dwExitCode != 0) {
        AfxMessageBox(FailureMessage(strScriptPath, result.dwExitCode, ErrorOutputTail(result.strErrorOutput)), MB_OK);
    } else {
        if (m_bCompleteDialog) AfxMessageBox(kMsgCompleted, MB_ICONINFORMATION);
        if (m_bOpenCvtedFile) ::ShellExecuteW(nullptr, L"open", strOutputPath, nullptr, nullptr, SW_SHOWNORMAL);
        if (m_bExitAfterCvt) CDialog::OnOK();
    }
    // A run of the script already first in the list leaves the list and its combo box as they are.
    if (!m_listScripts.IsEmpty() && m_listScripts.GetHead() == strScriptPath) return;
    AddRecentScript(strScriptPath);
    RefillScriptCombo();
}
