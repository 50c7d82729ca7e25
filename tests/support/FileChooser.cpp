#include "FileChooser.h"
#include "WindowQueries.h"

#include <dlgs.h>

#include <stdexcept>

namespace {

// A message whose answer the receiver writes to a buffer (CDM_GETFOLDERPATH…): the
// buffer has to be in the receiver's process, since these messages are not copied
// across processes as WM_GETTEXT is.
std::string AskIntoRemoteBuffer(HWND hWnd, UINT message)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, dwProcessId);
    if (!hProcess) throw std::runtime_error("cannot open the chooser's process");
    char szText[MAX_PATH * 2] = "";
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, sizeof(szText), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (pRemote) {
        if (::SendMessageA(hWnd, message, sizeof(szText) - 1, reinterpret_cast<LPARAM>(pRemote)) > 0)
            ::ReadProcessMemory(hProcess, pRemote, szText, sizeof(szText) - 1, nullptr);
        ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    }
    ::CloseHandle(hProcess);
    return szText;
}

struct OwnedQuery {
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK FindOwned(HWND hWnd, LPARAM lParam)
{
    OwnedQuery* pQuery = reinterpret_cast<OwnedQuery*>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) != pQuery->hOwner || !::IsWindowVisible(hWnd)) return TRUE;
    pQuery->hFound = hWnd;
    return FALSE;
}

}  // namespace

FileChooser::FileChooser(AppDriver& app, int nBrowseID) : m_app(app)
{
    m_app.ClickAsync(nBrowseID);
    m_hWnd = m_app.WaitForWindow();
    // The window shows before it has browsed to its first folder.
    if (!WaitUntil([this] { return !Folder().empty(); })) throw std::runtime_error("the chooser shows no folder");
}

std::string FileChooser::Title() const { return WindowText(m_hWnd); }
std::string FileChooser::OkText() const { return WindowText(::GetDlgItem(m_hWnd, IDOK)); }
std::string FileChooser::Folder() const { return AskIntoRemoteBuffer(m_hWnd, CDM_GETFOLDERPATH); }

// The name field is the combo box cmb13 in the explorer-style template (Wine's too);
// older templates have the edit edt1.
std::string FileChooser::Name() const
{
    HWND hName = ::GetDlgItem(m_hWnd, cmb13);
    return WindowText(hName ? hName : ::GetDlgItem(m_hWnd, edt1));
}

std::vector<std::string> FileChooser::FileTypes() const { return ComboBoxItems(::GetDlgItem(m_hWnd, cmb1)); }

int FileChooser::SelectedFileType() const
{
    return static_cast<int>(::SendMessageA(::GetDlgItem(m_hWnd, cmb1), CB_GETCURSEL, 0, 0));
}

bool FileChooser::ShowsReadOnlyBox() const
{
    HWND hBox = ::GetDlgItem(m_hWnd, chx1);
    return hBox && ::IsWindowVisible(hBox);
}

void FileChooser::TypeName(const std::string& name) const
{
    HWND hName = ::GetDlgItem(m_hWnd, cmb13);
    ::SendMessageA(hName ? hName : ::GetDlgItem(m_hWnd, edt1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

// Posted: the chooser's answer to the button may be a modal message of its own.
void FileChooser::Press(int nButton) const { ::PostMessageA(::GetDlgItem(m_hWnd, nButton), BM_CLICK, 0, 0); }

void FileChooser::Choose(const std::string& name)
{
    TypeName(name);
    Press(IDOK);
    m_app.Finish();
}

std::string FileChooser::ChooseRefused(const std::string& name)
{
    TypeName(name);
    Press(IDOK);
    OwnedQuery query{m_hWnd, nullptr};
    if (!WaitUntil([&] {
            ::EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&query));
            return query.hFound != nullptr;
        }))
        throw std::runtime_error("the chooser did not refuse " + name);
    std::string text = m_app.MessageText(query.hFound);
    m_app.Answer(query.hFound, IDOK);
    return text;
}

void FileChooser::Cancel()
{
    Press(IDCANCEL);
    m_app.Finish();
}
