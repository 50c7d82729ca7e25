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

std::vector<std::string> ComboBoxItems(HWND hCombo)
{
    // Wide on purpose: Wine answers CB_GETLBTEXT from another process in UTF-16 even when asked in ANSI.
    std::vector<std::string> items;
    LRESULT nCount = ::SendMessageW(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        std::wstring item(static_cast<size_t>(::SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        LRESULT nLength = ::SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
        item.resize(nLength > 0 ? static_cast<size_t>(nLength) : 0);
        std::string text(item.size() * 2, '\0');
        text.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, item.c_str(), static_cast<int>(item.size()),
                                                              &text[0], static_cast<int>(text.size()), nullptr, nullptr)));
        items.push_back(text);
    }
    return items;
}
