#pragma once
#include "CWnd.h"

#include <utility>
#include <vector>

// Direction and window of one UpdateData run.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    // A control DDX_Control has met in this run is known without searching the dialog's children.
    HWND GetControl(int nIDC) const;

    BOOL m_bSaveAndValidate;  // TRUE: controls into members (pull); FALSE: members into controls (push)
    CWnd* m_pDlgWnd;
    std::vector<std::pair<int, HWND>> m_controls;
};

// Attaches rControl to the dialog's control the first time; later runs do nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Push turns a value outside 0..2 into 0 first; pull reads 0 or 1 (2 for an indeterminate box).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Push selects the first item beginning with the text, else sets the edit text; pull reads the edit text.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
