#include "DropStatic.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDropStatic, CStatic)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

void CDropStatic::OnDropFiles(HDROP hDropInfo)
{
    if (::DragQueryFileW(hDropInfo, 0xFFFFFFFF, nullptr, 0) == 1) {
        // Ask for the length first: a path too long for MAX_PATH is taken whole, not cut.
        UINT nLength = ::DragQueryFileW(hDropInfo, 0, nullptr, 0);
        std::wstring path(nLength + 1, L'\0');
        path.resize(::DragQueryFileW(hDropInfo, 0, &path[0], nLength + 1));
        m_strDroppedPath = path;
        ::SendMessageW(::GetParent(m_hWnd), WM_PATH_DROPPED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
    }
    ::DragFinish(hDropInfo);
    Default();
}
