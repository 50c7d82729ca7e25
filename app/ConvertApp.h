#pragma once
#include "CWinApp.h"
#include "ConvertSettings.h"

// The application: finds a running instance to hand the argument to, or loads
// the settings and runs the main dialog. It owns what outlives the dialog.
class CConvertApp : public CWinApp {
public:
    CConvertApp() = default;

    BOOL InitInstance() override;

    CConvertSettings m_settings;
    CString m_strInputPath;   // from the command line
    CString m_strOutputPath;  // derived from it

    DECLARE_MESSAGE_MAP()
};

CConvertApp& GetConvertApp();
