#include "CWnd.h"

CWnd::~CWnd()
{
    // A window that outlives this object gets its own procedure back.
    if (m_hWnd && m_pfnSuper) Unsubclass();
}

// The object is found in the window's user data, which no control of the program uses: a
// window property would cost a call into the system (a server round trip under Wine) for
// every message the window gets.
BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd) return FALSE;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    if (!m_pfnSuper) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

void CWnd::Unsubclass()
{
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    LONG_PTR lExStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    lExStyle = bAccept ? (lExStyle | WS_EX_ACCEPTFILES) : (lExStyle & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, lExStyle);
}

LRESULT CWnd::Default()
{
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, m_msgCurrent.message, m_msgCurrent.wParam, m_msgCurrent.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OnWndMsg(message, wParam, lParam, &lResult)) return lResult;
    return Default();
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        const WNDPROC pfnSuper = pWnd->m_pfnSuper;
        pWnd->Unsubclass();
        return ::CallWindowProcW(pfnSuper, hWnd, message, wParam, lParam);
    }
    // Handlers may run nested messages (a message box, a repaint): keep ours for Default().
    MSG msgOuter = pWnd->m_msgCurrent;
    pWnd->m_msgCurrent = MSG{hWnd, message, wParam, lParam, 0, {}};
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    pWnd->m_msgCurrent = msgOuter;
    return lResult;
}
