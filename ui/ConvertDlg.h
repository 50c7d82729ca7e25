#pragma once
#include "CButton.h"
#include "CComboBox.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CStringList.h"
#include "ConversionRun.h"
#include "DropStatic.h"
#include "HandoffBlock.h"

// The main window: three file fields (script, input, output), Run, and the
// options panel. It works on its own copies of the application's state and
// copies them back when its window is destroyed.
class CConvertDlg : public CDialog {
public:
    explicit CConvertDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Window
    void ApplyLayout(const POINT* pPosition, int nDpi);
    void OnSettings();
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();

    // Path fields
    void SetPathDisplay(const CString& strPath, int nLabelID, CString& strName);
    void OnBrowseScript();
    void OnBrowseInput();
    void OnBrowseOutput();
    void OnScriptSelChange();
    CString GetSelectedScript();
    void OnScriptKillFocus();
    void OnInputKillFocus();
    void OnOutputKillFocus();
    LRESULT OnPathDropped(WPARAM wParam, LPARAM lParam);
    void OnDropFiles(HDROP hDropInfo);
    LRESULT OnHandoffInput(WPARAM wParam, LPARAM lParam);
    LRESULT OnHandoffWide(WPARAM wParam, LPARAM lParam);

    // Recent scripts and the run
    void AddRecentScript(const wchar_t* lpszPath);
    void RefillScriptCombo();
    void OnRun();
    // Runs the command line while the window answers; closing the window meanwhile asks to stop it.
    ConversionResult RunScript(const wchar_t* pszCommandLine);

    DECLARE_MESSAGE_MAP()

private:
    // One step of OnRun's checks: shows the message and puts the focus back on the field.
    void RefuseField(const CString& strMessage, CWnd& ctlField, bool bSelectAll);
    void FocusField(CWnd& ctlField, bool bSelectAll);
    bool CheckExistingFile(const CString& strPath, DWORD dwInvalidMask, CWnd& ctlField);
    // Refuses an output that is the input or the script under another name.
    bool CheckOutputIsNoSource();
    // The form of strPath perl can be given (PerlPathForm); else the user is told its real name.
    bool CheckPerlForm(const CString& strPath, bool bOutput, CWnd& ctlField, CString& strForm);
    void ResolveField(CWnd& ctlField, CString& strPath, int nLabelID, CString& strName);
    void ShowInputAndDerivedOutput(const CString& strInputPath);
    // The path of a second launch, in the block of the notice's form.
    void TakeHandoff(HandoffForm form);

    CConversionRun* m_pRun = nullptr;  // the script that runs: the window answers but takes no new work
    bool m_bStopAsked = false;  // closing was asked for during the run
    int m_bOptOnOff = 0;
    CString m_strScriptPath;
    CString m_strInputPath;
    CString m_strOutputPath;
    CStringList m_listScripts{10};
    CButton m_btnRun;
    CEdit m_editOutputName;
    CEdit m_editInputName;
    CComboBox m_comboScriptName;
    CButton m_grpInput;
    CButton m_grpOutput;
    CButton m_grpScript;
    CEdit m_editSuffix;
    CButton m_chkCompleteDialog;
    CButton m_chkExitAfterCvt;
    CButton m_chkOpenCvtedFile;
    CDropStatic m_lblOutputPath;
    CDropStatic m_lblInputPath;
    CDropStatic m_lblScriptPath;
    CButton m_btnSettings;
    int m_bOpenCvtedFile = 0;
    int m_bExitAfterCvt = 0;
    int m_bCompleteDialog = 0;
    CString m_strSuffix;
    CString m_strOutputName;
    CString m_strInputName;
    CString m_strScriptName;
    HICON m_hIcon = nullptr;
};
