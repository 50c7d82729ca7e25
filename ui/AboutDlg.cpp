#include "AboutDlg.h"
#include "CWinApp.h"
#include "resource.h"

namespace {

// "a.b.c.d" from the fixed part of the version resource, or empty. Read from
// the resource itself: the version DLL would be one more import.
CString FileVersionText()
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HRSRC hInfo = ::FindResourceW(hInstance, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));  // RT_VERSION
    HGLOBAL hData = hInfo ? ::LoadResource(hInstance, hInfo) : nullptr;
    const BYTE* pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    // The block's header (three WORDs and the key L"VS_VERSION_INFO"), padded to a
    // DWORD boundary, is followed by the fixed part.
    const DWORD nFixedOffset = (3 * sizeof(WORD) + sizeof(L"VS_VERSION_INFO") + 3) & ~3u;
    CString strVersion;
    if (!pData || ::SizeofResource(hInstance, hInfo) < nFixedOffset + sizeof(VS_FIXEDFILEINFO)) return strVersion;
    const auto* pFixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(pData + nFixedOffset);
    if (pFixed->dwSignature != VS_FFI_SIGNATURE) return strVersion;
    strVersion.Format(L"%u.%u.%u.%u", HIWORD(pFixed->dwFileVersionMS), LOWORD(pFixed->dwFileVersionMS),
                      HIWORD(pFixed->dwFileVersionLS), LOWORD(pFixed->dwFileVersionLS));
    return strVersion;
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The label has no id of its own: it is the control after the icon.
    HWND hLabel = ::GetWindow(::GetWindow(m_hWnd, GW_CHILD), GW_HWNDNEXT);
    ::SetWindowTextW(hLabel, L"Calvendrake Version " + FileVersionText());
    return TRUE;
}
