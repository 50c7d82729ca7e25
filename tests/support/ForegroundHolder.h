#pragma once
// A window of the test's own that takes the foreground, so that a test can
// see another process take it back.
#include <windows.h>

class ForegroundHolder {
public:
    ForegroundHolder();
    ~ForegroundHolder();
    ForegroundHolder(const ForegroundHolder&) = delete;
    ForegroundHolder& operator=(const ForegroundHolder&) = delete;

    bool Holds() const { return ::GetForegroundWindow() == m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};
