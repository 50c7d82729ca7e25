#include "NameRefusal.h"
#include "CWinApp.h"
#include "resource.h"

void ShowNameRefused(HWND hWndOwner, const std::wstring& strName)
{
    CString strText;
    strText.LoadString(IDS_NAME_NOT_932);
    const std::wstring strCaption = AnsiToWide(AfxGetApp() ? AfxGetApp()->m_strAppName.Str() : std::string());
    ::MessageBoxW(hWndOwner, (strName + AnsiToWide(strText.Str())).c_str(), strCaption.c_str(), AfxMessageBoxStyle(MB_OK));
}
