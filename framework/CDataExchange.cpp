#include "CDataExchange.h"

static CString WindowText(HWND hWnd)
{
    int nLength = ::GetWindowTextLengthA(hWnd);
    std::string buffer(static_cast<size_t>(nLength) + 1, '\0');
    nLength = ::GetWindowTextA(hWnd, &buffer[0], nLength + 1);
    return CString(buffer.data(), nLength);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd) rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->GetControl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2) value = 0;
        ::SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

// A control that already reads as value is left as it is: it may hold characters
// code page 932 lacks, which the ANSI read turned into look-alikes.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->GetControl(nIDC);
    if (pDX->m_bSaveAndValidate) value = WindowText(hWndCtrl);
    else if (WindowText(hWndCtrl).Str() != value.Str()) ::SetWindowTextA(hWndCtrl, value);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->GetControl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWndCtrl);
    } else if (WindowText(hWndCtrl).Str() != value.Str() && ::SendMessageA(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<const char*>(value))) == CB_ERR) {
        ::SetWindowTextA(hWndCtrl, value);
    }
}
