#pragma once
#include "CCmdTarget.h"
#include "CString.h"

// Holds a window handle and forwards to Win32. A subclassed window sends its
// messages through the class's message map first.
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;


    // Routes the messages of an existing window (a dialog's control) through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
    void SetWindowText(const wchar_t* lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    { ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void SetFocus() { ::SetFocus(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    // What the shell's DragAcceptFiles does, without loading the shell at start-up.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    // The default processing of the message being handled.
    LRESULT Default();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy() { Default(); }

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Unsubclass();
    WNDPROC m_pfnSuper = nullptr;  // the window's own procedure, behind ours
    MSG m_msgCurrent = {};
};
