#include "CWnd.h"
#include "WindowText.h"

CWnd::~CWnd()
{
    if (m_hWnd) ::RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || !::SetWindowSubclass(hWnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

std::wstring CWnd::GetWideText() const
{
    return ReadWindowText<std::wstring>(m_hWnd, ::GetWindowTextW, ::GetWindowTextLengthW);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    LONG_PTR lExStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    lExStyle = bAccept ? (lExStyle | WS_EX_ACCEPTFILES) : (lExStyle & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, lExStyle);
}

LRESULT CWnd::Default()
{
    return ::DefSubclassProc(m_hWnd, m_msgCurrent.message, m_msgCurrent.wParam, m_msgCurrent.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OnWndMsg(message, wParam, lParam, &lResult)) return lResult;
    return Default();
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR dwRefData)
{
    CWnd* pWnd = reinterpret_cast<CWnd*>(dwRefData);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hWnd, SubclassProc, 0);
        pWnd->m_hWnd = nullptr;
        return ::DefSubclassProc(hWnd, message, wParam, lParam);
    }
    // Handlers may run nested messages (a message box, a repaint): keep ours for Default().
    MSG msgOuter = pWnd->m_msgCurrent;
    pWnd->m_msgCurrent = MSG{hWnd, message, wParam, lParam, 0, {}};
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    pWnd->m_msgCurrent = msgOuter;
    return lResult;
}
