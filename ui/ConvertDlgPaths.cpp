// The handlers that change the three full paths. Each pulls the controls
// first, so that its push never reverts what the user typed or toggled.
#include "ChooseFile.h"
#include "ConvertDlg.h"
#include "CodePage932.h"
#include "ConvertApp.h"
#include "Handoff.h"
#include "NameRefusal.h"
#include "PathRules.h"
#include "resource.h"

#include <shlwapi.h>

void CConvertDlg::SetPathDisplay(const CString& strPath, int nLabelID, CString& strName)
{
    PathParts parts = SplitPath(strPath);
    CString strDirectory = parts.drive + parts.dir;
    // The shell's shortening works on MAX_PATH buffers; a longer folder is shown as it is.
    if (strDirectory.GetLength() < MAX_PATH) ::PathSetDlgItemPathA(m_hWnd, nLabelID, strDirectory);
    else ::SetDlgItemTextA(m_hWnd, nLabelID, strDirectory);
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
    std::wstring strChosen = ChooseFile(strStart, true, IDS_FILTER_SCRIPT);
    if (strChosen.empty() || !TakeName(strChosen, m_comboScriptName, m_strScriptPath)) return;
    SetPathDisplay(m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName);
}

void CConvertDlg::OnBrowseInput()
{
    UpdateData(TRUE);
    std::wstring strChosen = ChooseFile(m_strInputPath, true, IDS_FILTER_DATA);
    CString strPath;
    if (!strChosen.empty() && TakeName(strChosen, m_editInputName, strPath)) ShowInputAndDerivedOutput(strPath);
}

void CConvertDlg::OnBrowseOutput()
{
    UpdateData(TRUE);
    std::wstring strChosen = ChooseFile(m_strOutputPath, false, IDS_FILTER_DATA);
    if (strChosen.empty() || !TakeName(strChosen, m_editOutputName, m_strOutputPath)) return;
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

bool CConvertDlg::TakeName(const std::wstring& strName, CWnd& ctlField, CString& strPath)
{
    if (ToCodePage932(strName, strPath)) return true;
    RefuseName(strName, ctlField);
    return false;
}

void CConvertDlg::RefuseName(const std::wstring& strName, CWnd& ctlField)
{
    m_bNameRefused = true;
    ShowNameRefused(m_hWnd, strName);
    FocusField(ctlField, false);
}

bool CConvertDlg::FieldNamesCarried()
{
    CString strName;
    for (CWnd* pField : {static_cast<CWnd*>(&m_comboScriptName), static_cast<CWnd*>(&m_editInputName),
                         static_cast<CWnd*>(&m_editOutputName)})
        if (!TakeName(pField->GetWideText(), *pField, strName)) return false;
    return true;
}

void CConvertDlg::ResolveField(CWnd& ctlField, CString& strPath, int nLabelID, CString& strName)
{
    UpdateData(TRUE);
    CString strTyped;
    const std::wstring strWide = ctlField.GetWideText();
    if (!ToCodePage932(strWide, strTyped)) {
        // The name stays in the field as typed, for the user to mend; Run refuses it as well. Closing
        // (EndDialog focuses the dialog itself) or going to another program is no time to say so.
        HWND hFocus = ::GetFocus();
        if (hFocus && hFocus != m_hWnd) RefuseName(strWide, ctlField);
        return;
    }
    strPath = ResolveTypedName(strTyped, strPath);
    SetPathDisplay(strPath, nLabelID, strName);
}

void CConvertDlg::OnScriptKillFocus() { ResolveField(m_comboScriptName, m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName); }
void CConvertDlg::OnInputKillFocus() { ResolveField(m_editInputName, m_strInputPath, IDC_INPUT_PATH, m_strInputName); }
void CConvertDlg::OnOutputKillFocus() { ResolveField(m_editOutputName, m_strOutputPath, IDC_OUTPUT_PATH, m_strOutputName); }

LRESULT CConvertDlg::OnPathDropped(WPARAM wParam, LPARAM)
{
    CString strPath;
    switch (wParam) {
    case IDC_SCRIPT_PATH:
        UpdateData(TRUE);
        if (TakeName(m_lblScriptPath.m_strDroppedPath, m_comboScriptName, m_strScriptPath))
            SetPathDisplay(m_strScriptPath, IDC_SCRIPT_PATH, m_strScriptName);
        break;
    case IDC_INPUT_PATH:
        UpdateData(TRUE);
        if (TakeName(m_lblInputPath.m_strDroppedPath, m_editInputName, strPath)) ShowInputAndDerivedOutput(strPath);
        break;
    case IDC_OUTPUT_PATH:
        UpdateData(TRUE);
        if (TakeName(m_lblOutputPath.m_strDroppedPath, m_editOutputName, m_strOutputPath))
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
    if (hChild && hChild != m_hWnd && (::GetWindowLongPtrA(hChild, GWL_EXSTYLE) & WS_EX_ACCEPTFILES))
        ::SendMessageA(hChild, WM_DROPFILES, reinterpret_cast<WPARAM>(hDropInfo), 0);
    else
        ::DragFinish(hDropInfo);
}

LRESULT CConvertDlg::OnNameRefused(WPARAM, LPARAM)
{
    RefuseName(GetConvertApp().m_strRefusedInput, m_editInputName);
    return 0;
}

LRESULT CConvertDlg::OnHandoffInput(WPARAM, LPARAM)
{
    // Pull first: the output is derived with the suffix the field shows now.
    UpdateData(TRUE);
    CString strPath;
    if (ReadHandoffBlock(strPath)) ShowInputAndDerivedOutput(strPath);
    return 0;
}
