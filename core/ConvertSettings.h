#pragma once
// The settings that outlive a run: after-run options, panel state, window
// position, output suffix and recent scripts, kept in the current user's
// registry key Software\Harnox\Quen\Calvendrake.
#include "AfxWin.h"
#include "CStringList.h"

class CConvertSettings {
public:
    CConvertSettings() = default;
    CConvertSettings(const CConvertSettings&) = delete;
    CConvertSettings& operator=(const CConvertSettings&) = delete;
    // Saves, but only after LoadSettings succeeded on this record: a process
    // that never loaded must not overwrite what another one stored.
    virtual ~CConvertSettings();

    // FALSE only when the key can be neither opened nor created; a value that
    // cannot be read takes its default.
    BOOL LoadSettings();
    void SaveSettings();
    CString GetSuffix() const { return m_strSuffix; }

    CStringList m_listScripts;  // as loaded: least recent first
    CString m_strSuffix;
    // Stored as read, without range checks; the program writes 0 or 1.
    int m_bOpenCvtedFile = 0;
    int m_bExitAfterCvt = 0;
    int m_bCompleteDialog = 0;
    int m_bOptOnOff = 0;  // non-zero: the options panel is collapsed
    int m_nPosLeft = 0;   // window position, screen pixels
    int m_nPosTop = 0;

private:
    bool m_bLoaded = false;
};
