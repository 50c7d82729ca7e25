#include "ConvertDlg.h"
#include "Layout.h"

void CConvertDlg::ApplyLayout(const POINT* pPosition, int nDpi)
{
    const bool bCollapsed = m_bOptOnOff != 0;
    const SIZE size = WindowSize(bCollapsed, nDpi);
    POINT position;
    if (pPosition) {
        position = VisiblePosition(*pPosition, size);
    } else {
        RECT rect;
        GetWindowRect(&rect);
        position = POINT{rect.left, rect.top};
    }
    m_btnSettings.SetWindowText(bCollapsed ? L"設定(&P) >>" : L"設定(&P) <<");
    m_chkOpenCvtedFile.EnableWindow(!bCollapsed);
    m_chkExitAfterCvt.EnableWindow(!bCollapsed);
    m_chkCompleteDialog.EnableWindow(!bCollapsed);
    m_editSuffix.EnableWindow(!bCollapsed);
    MoveWindow(position.x, position.y, size.cx, size.cy, TRUE);
}

void CConvertDlg::OnSettings()
{
    m_bOptOnOff = m_bOptOnOff == 0 ? 1 : 0;
    ApplyLayout(nullptr, WindowDpi(m_hWnd));
}

LRESULT CConvertDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    // The dialog manager rescales the controls and their font (per-monitor version 2); the
    // window then takes its size for the resolution the message names, where Windows suggests.
    Default();
    const RECT* pSuggested = reinterpret_cast<const RECT*>(lParam);
    const POINT position = {pSuggested->left, pSuggested->top};
    ApplyLayout(&position, LOWORD(wParam));
    return 0;
}
