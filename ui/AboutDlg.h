#pragma once
#include "CDialog.h"

// The version box opened from the system menu. Its label shows the file
// version of the program's own version resource, so the two always agree.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
