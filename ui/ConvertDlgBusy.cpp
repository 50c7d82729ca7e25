// The window while a script runs: it answers every message, so a hand-off or
// a repaint never waits, but it takes no new work. Closing it asks whether to
// stop the script instead.
#include "ConvertDlg.h"
#include "CWinApp.h"
#include "Messages.h"
#include "resource.h"

namespace {

HCURSOR WaitCursor() { return ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)); }  // IDC_WAIT

// Keys and clicks would edit a field or start something. Only Escape and
// Alt+F4 get through: they ask to stop the script.
bool IsDroppedInput(const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        return msg.wParam != VK_ESCAPE;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return msg.wParam != VK_F4;
    default:
        return (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
               (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
    }
}

// While a script runs, Windows lists the program with this reason when the session is to end;
// without it the script would be cut off mid-write. Windows before Vista has no such list.
void BlockSessionEnd(HWND hWnd, bool bBlock)
{
    if (!bBlock) {
        if (auto pfn = GetSystemProc<BOOL(WINAPI*)(HWND)>(L"user32.dll", "ShutdownBlockReasonDestroy")) pfn(hWnd);
        return;
    }
    if (auto pfn = GetSystemProc<BOOL(WINAPI*)(HWND, LPCWSTR)>(L"user32.dll", "ShutdownBlockReasonCreate")) pfn(hWnd, kMsgRunBlocksSessionEnd);
}

}  // namespace

ConversionResult CConvertDlg::RunScript(const wchar_t* pszCommandLine)
{
    CConversionRun run(pszCommandLine);
    HANDLE hProcess = run.GetProcessHandle();
    HCURSOR hOldCursor = ::SetCursor(WaitCursor());
    m_pRun = &run;
    BlockSessionEnd(m_hWnd, true);
    // Until the process has ended (or never started: the wait then fails at once).
    while (::MsgWaitForMultipleObjectsEx(1, &hProcess, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDroppedInput(msg) || ::IsDialogMessageW(m_hWnd, &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // Asked here, not in the handler that took the request: no other handler is then half done.
        // Stop returns at once: the script is then waited for here, however long the system takes.
        if (m_bStopAsked && AfxMessageBox(kMsgStopQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
            run.Stop();
        m_bStopAsked = false;
    }
    BlockSessionEnd(m_hWnd, false);
    m_pRun = nullptr;
    ::SetCursor(hOldCursor);
    return run.GetResult();
}

void CConvertDlg::OnCancel()
{
    if (m_pRun) m_bStopAsked = true;
    else CDialog::OnCancel();
}

LRESULT CConvertDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pRun) {
        // The session does not end during a run; if it ends anyway, the script ends first.
        if (message == WM_QUERYENDSESSION) return FALSE;
        if (message == WM_ENDSESSION && wParam) m_pRun->Stop();
        // The wait cursor over the whole window, also when the mouse moves.
        if (message == WM_SETCURSOR) {
            ::SetCursor(WaitCursor());
            return TRUE;
        }
        // Of the commands only cancel gets through; no drop, no about box.
        if ((message == WM_COMMAND && LOWORD(wParam) != IDCANCEL) || message == WM_PATH_DROPPED ||
            (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == IDM_ABOUTBOX))
            return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
