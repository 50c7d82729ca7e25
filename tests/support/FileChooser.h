#pragma once
// The platform's open or save dialog that a browse button opens, read and
// answered from outside through its own controls, as a person would.
#include "AppDriver.h"

#include <string>
#include <vector>

class FileChooser {
public:
    // Presses the browse button and waits until its chooser shows a folder.
    FileChooser(AppDriver& app, int nBrowseID);
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;

    HWND Window() const { return m_hWnd; }
    std::string Title() const;
    std::string OkText() const;                   // "Open" or "Save", in the platform's words
    std::string Folder() const;                   // the folder it shows, without a final separator
    std::string Name() const;                     // its file name field
    std::vector<std::string> FileTypes() const;   // the descriptions of its filter list
    int SelectedFileType() const;
    bool ShowsReadOnlyBox() const;

    // Types a name and presses Open or Save; returns once the browse handler has ended.
    void Choose(const std::string& name);
    // Types a name the chooser itself refuses: answers its message, returns the message's text.
    // The chooser stays open.
    std::string ChooseRefused(const std::string& name);
    void Cancel();                                // returns once the browse handler has ended

private:
    void TypeName(const std::string& name) const;
    void Press(int nButton) const;

    AppDriver& m_app;
    HWND m_hWnd = nullptr;
};
