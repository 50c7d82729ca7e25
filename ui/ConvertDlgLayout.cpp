#include "ConvertDlg.h"
#include "Layout.h"

void CConvertDlg::ApplyLayout(const POINT* pPosition)
{
    const bool bCollapsed = m_bOptOnOff != 0;
    const int nHeight = bCollapsed ? kCollapsedHeight : kExpandedHeight;
    POINT position;
    if (pPosition) {
        position = VisiblePosition(*pPosition, SIZE{kWindowWidth, nHeight});
    } else {
        RECT rect;
        GetWindowRect(&rect);
        position = POINT{rect.left, rect.top};
    }
    m_btnSettings.SetWindowText(bCollapsed ? "設定(&P) >>" : "設定(&P) <<");
    m_chkOpenCvtedFile.EnableWindow(!bCollapsed);
    m_chkExitAfterCvt.EnableWindow(!bCollapsed);
    m_chkCompleteDialog.EnableWindow(!bCollapsed);
    m_editSuffix.EnableWindow(!bCollapsed);
    MoveWindow(position.x, position.y, kWindowWidth, nHeight, TRUE);
}

void CConvertDlg::OnSettings()
{
    m_bOptOnOff = m_bOptOnOff == 0 ? 1 : 0;
    ApplyLayout(nullptr);
}
