#include "WindowQueries.h"

#include "AppDriver.h"

namespace {

struct CallbackResult {
    bool bAnswered = false;
    LRESULT lResult = 0;
};

void CALLBACK StoreResult(HWND, UINT, ULONG_PTR dwData, LRESULT lResult)
{
    CallbackResult* pResult = reinterpret_cast<CallbackResult*>(dwData);
    pResult->lResult = lResult;
    pResult->bAnswered = true;
}

}  // namespace

std::string WindowText(HWND hWnd)
{
    LRESULT nLength = ::SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    nLength = ::SendMessageA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(nLength));
    return text;
}

LRESULT SendForHandle(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CallbackResult result;
    if (!::SendMessageCallbackA(hWnd, message, wParam, lParam, StoreResult, reinterpret_cast<ULONG_PTR>(&result)))
        return 0;
    // The callback arrives as a message to this thread.
    WaitUntil([&result] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        return result.bAnswered;
    });
    return result.lResult;
}

RECT NearestWorkArea(const RECT& rect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoA(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

bool MeetsAMonitor(const RECT& rect) { return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr; }

void MoveWindowTo(HWND hWnd, int x, int y)
{
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
