#pragma once
#include "CDataExchange.h"

// Modal dialog from a template. The window is subclassed at WM_INITDIALOG so
// that its messages go through the message map; IDOK and IDCANCEL end it.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    virtual INT_PTR DoModal();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
