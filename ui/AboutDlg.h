#pragma once
#include "CDialog.h"

// The version box opened from the system menu.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
