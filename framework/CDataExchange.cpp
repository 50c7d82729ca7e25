#include "CDataExchange.h"
#include "WindowText.h"

HWND CDataExchange::GetControl(int nIDC) const
{
    for (const auto& control : m_controls)
        if (control.first == nIDC) return control.second;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd) rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
    pDX->m_controls.emplace_back(nIDC, rControl.m_hWnd);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->GetControl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2) value = 0;
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

// A control that already holds value is left as it is: its caret and selection stay.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->GetControl(nIDC);
    if (pDX->m_bSaveAndValidate) value = ReadWindowText(hWndCtrl);
    else if (!(ReadWindowText(hWndCtrl) == value)) ::SetWindowTextW(hWndCtrl, value);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->GetControl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = ReadWindowText(hWndCtrl);
    } else if (!(ReadWindowText(hWndCtrl) == value) && ::SendMessageW(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(value))) == CB_ERR) {
        ::SetWindowTextW(hWndCtrl, value);
    }
}
