#include "DropStatic.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDropStatic, CStatic)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

void CDropStatic::OnDropFiles(HDROP hDropInfo)
{
    if (::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0) == 1) {
        // Ask for the length first: a path too long for MAX_PATH is taken whole, not cut.
        UINT nLength = ::DragQueryFileA(hDropInfo, 0, nullptr, 0);
        std::string buffer(nLength + 1, '\0');
        nLength = ::DragQueryFileA(hDropInfo, 0, &buffer[0], nLength + 1);
        m_strDroppedPath = CString(buffer.data(), static_cast<int>(nLength));
        ::SendMessageA(::GetParent(m_hWnd), WM_PATH_DROPPED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
    }
    ::DragFinish(hDropInfo);
    Default();
}
