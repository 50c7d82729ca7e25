#pragma once
#include "CStatic.h"

// A directory label that takes one file dropped from the shell: it keeps the
// path as the shell gives it and tells its parent with WM_PATH_DROPPED
// (wParam = its control id).
class CDropStatic : public CStatic {
public:
    CString m_strDroppedPath;

protected:
    void OnDropFiles(HDROP hDropInfo);

    DECLARE_MESSAGE_MAP()
};
