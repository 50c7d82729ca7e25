// The handlers that change the three full paths. Each pulls the controls
// first, so that its push never reverts what the user typed or toggled.
#include "ChooseFile.h"
#include "ConvertDlg.h"
#include "Handoff.h"
#include "PathRules.h"
#include "WindowText.h"
#include "resource.h"

#include <shlwapi.h>

void CConvertDlg::SetPathDisplay(const CString& strPath, int nLabelID, CString& strName)
{
    PathParts parts = SplitPath(strPath);
    CString strDirectory = parts.drive + parts.dir;
    // The shell's shortening works on MAX_PATH buffers; a longer folder is shown as it is.
    if (strDirectory.GetLength() < MAX_PATH) ::PathSetDlgItemPathW(m_hWnd, nLabelID, strDirectory);
    else ::SetDlgItemTextW(m_hWnd, nLabelID, strDirectory);
    strName = parts.fname + parts.ext;
    UpdateData(FALSE);
}

void CConvertDlg::ShowInputAndDerivedOutput(const CString& strInputPath)
{
    m_strInputPath = strInputPath;
    m_strOutputPath = DeriveOutputPath(m_strInputPath, m_strSuffix);
    SetPathDisplay(m_strInputPath, IDC_INPUT_PATH, m_strInputName);
    SetPathDisplay(m_strOutputPath, IDC_OUTPUT_PATH, m_strOutputName);
}

void CConvertDlg::OnBrowseScript()
{
    UpdateData(TRUE);
    int nSel = m_comboScriptName.GetCurSel();
    CString strStart = nSel >= 0 ? m_listScripts.GetAt(reinterpret_cast<POSITION>(m_comboScriptName.GetItemData(nSel)))
                                 : CString();
    CString strChosen = ChooseFile(strStart, true, IDS_FILTER_SCRIPT);
    if (strChosen.IsEmpty()) return;
    m_strScriptPath = strChosen;
    SetPathDisplay(m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName);
}

void CConvertDlg::OnBrowseInput()
{
    UpdateData(TRUE);
    CString strChosen = ChooseFile(m_strInputPath, true, IDS_FILTER_DATA);
    if (!strChosen.IsEmpty()) ShowInputAndDerivedOutput(strChosen);
}

void CConvertDlg::OnBrowseOutput()
{
    UpdateData(TRUE);
    CString strChosen = ChooseFile(m_strOutputPath, false, IDS_FILTER_DATA);
    if (strChosen.IsEmpty()) return;
    m_strOutputPath = strChosen;
    SetPathDisplay(m_strOutputPath, IDC_OUTPUT_PATH, m_strOutputName);
}

CString CConvertDlg::GetSelectedScript()
{
    int nSel = m_comboScriptName.GetCurSel();
    if (nSel >= 0) return m_listScripts.GetAt(reinterpret_cast<POSITION>(m_comboScriptName.GetItemData(nSel)));
    // No selection: the least recently used script, as the list has always answered.
    return m_listScripts.IsEmpty() ? CString() : m_listScripts.GetTail();
}

void CConvertDlg::OnScriptSelChange()
{
    UpdateData(TRUE);
    m_strScriptPath = GetSelectedScript();
    SetPathDisplay(m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName);
}

void CConvertDlg::ResolveField(CWnd& ctlField, CString& strPath, int nLabelID, CString& strName)
{
    UpdateData(TRUE);
    strPath = ResolveTypedName(ReadWindowText(ctlField.m_hWnd), strPath);
    SetPathDisplay(strPath, nLabelID, strName);
}

void CConvertDlg::OnScriptKillFocus() { ResolveField(m_comboScriptName, m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName); }
void CConvertDlg::OnInputKillFocus() { ResolveField(m_editInputName, m_strInputPath, IDC_INPUT_PATH, m_strInputName); }
void CConvertDlg::OnOutputKillFocus() { ResolveField(m_editOutputName, m_strOutputPath, IDC_OUTPUT_PATH, m_strOutputName); }

LRESULT CConvertDlg::OnPathDropped(WPARAM wParam, LPARAM)
{
    switch (wParam) {
    case IDC_SCRIPT_PATH:
        UpdateData(TRUE);
        m_strScriptPath = m_lblScriptPath.m_strDroppedPath;
        SetPathDisplay(m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName);
        break;
    case IDC_INPUT_PATH:
        UpdateData(TRUE);
        ShowInputAndDerivedOutput(m_lblInputPath.m_strDroppedPath);
        break;
    case IDC_OUTPUT_PATH:
        UpdateData(TRUE);
        m_strOutputPath = m_lblOutputPath.m_strDroppedPath;
        SetPathDisplay(m_strOutputPath, IDC_OUTPUT_PATH, m_strOutputName);
        break;
    default:
        return 0;
    }
    UpdateData(FALSE);
    return 0;
}

void CConvertDlg::OnDropFiles(HDROP hDropInfo)
{
    // Wine posts a drop from an X client to the top-level window rather than to the label that
    // accepts files: hand it on to the label under the drop point, which reads and frees it.
    POINT point = {};
    ::DragQueryPoint(hDropInfo, &point);
    HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (hChild && hChild != m_hWnd && (::GetWindowLongPtrW(hChild, GWL_EXSTYLE) & WS_EX_ACCEPTFILES))
        ::SendMessageW(hChild, WM_DROPFILES, reinterpret_cast<WPARAM>(hDropInfo), 0);
    else
        ::DragFinish(hDropInfo);
}

void CConvertDlg::TakeHandoff(HandoffForm form)
{
    // Pull first: the output is derived with the suffix the field shows now.
    UpdateData(TRUE);
    CString strPath;
    if (ReadHandoffBlock(form, strPath)) ShowInputAndDerivedOutput(strPath);
}

LRESULT CConvertDlg::OnHandoffInput(WPARAM, LPARAM)
{
    TakeHandoff(HandoffForm::CodePage932);
    return 0;
}

LRESULT CConvertDlg::OnHandoffWide(WPARAM, LPARAM)
{
    TakeHandoff(HandoffForm::Utf16);
    return 0;
}
