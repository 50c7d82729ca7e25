#include "PumpingWait.h"

#include <algorithm>

static void DispatchPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::vector<DWORD> WaitForExitsPumping(const std::vector<HANDLE>& processes, DWORD dwTimeoutMs)
{
    std::vector<HANDLE> running = processes;
    for (DWORD dwStart = ::GetTickCount(); !running.empty();) {
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeoutMs) break;
        DWORD dwCount = static_cast<DWORD>(running.size());
        DWORD dwWake = ::MsgWaitForMultipleObjects(dwCount, running.data(), FALSE, dwTimeoutMs - dwElapsed, QS_ALLINPUT);
        if (dwWake < WAIT_OBJECT_0 + dwCount) running.erase(running.begin() + (dwWake - WAIT_OBJECT_0));
        else if (dwWake == WAIT_OBJECT_0 + dwCount) DispatchPending();
        else break;
    }
    DispatchPending();
    std::vector<DWORD> exitCodes;
    for (HANDLE hProcess : processes) {
        DWORD dwExitCode = STILL_ACTIVE;
        if (std::find(running.begin(), running.end(), hProcess) == running.end())
            ::GetExitCodeProcess(hProcess, &dwExitCode);
        else
            ::TerminateProcess(hProcess, 1);
        ::CloseHandle(hProcess);
        exitCodes.push_back(dwExitCode);
    }
    return exitCodes;
}
