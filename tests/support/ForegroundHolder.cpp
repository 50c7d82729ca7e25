#include "ForegroundHolder.h"

ForegroundHolder::ForegroundHolder()
{
    // A plain static control will do as a top-level window: it only has to be shown and activated.
    m_hWnd = ::CreateWindowExA(0, "STATIC", "foreground holder", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(m_hWnd);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

ForegroundHolder::~ForegroundHolder() { ::DestroyWindow(m_hWnd); }
