#pragma once
#include "CWnd.h"

// Direction and window of one UpdateData run.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    HWND GetControl(int nIDC) const { return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC); }

    BOOL m_bSaveAndValidate;  // TRUE: controls into members (pull); FALSE: members into controls (push)
    CWnd* m_pDlgWnd;
};

// Attaches rControl to the dialog's control the first time; later runs do nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Push turns a value outside 0..2 into 0 first; pull reads 0 or 1 (2 for an indeterminate box).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Push selects the first item beginning with the text, else sets the edit text; pull reads the edit text.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
