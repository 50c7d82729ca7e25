#include "DropFiles.h"

#include <shlobj.h>

#include <stdexcept>

void DropFiles(HWND hWndTarget, const std::vector<std::string>& paths)
{
    // DROPFILES, then each path with its NUL, then the NUL that ends the list.
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES* pHeader = reinterpret_cast<DROPFILES*>(&block[0]);
    pHeader->pFiles = sizeof(DROPFILES);
    pHeader->fWide = FALSE;
    for (const std::string& path : paths) block += path + '\0';
    block += '\0';

    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWndTarget, &dwProcessId);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    if (!hProcess) throw std::runtime_error("cannot open the drop target's process");
    // The target's DragFinish cannot free memory it did not allocate: the block stays
    // until the target ends, which is at the end of the test.
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool bWritten = pRemote && ::WriteProcessMemory(hProcess, pRemote, block.data(), block.size(), nullptr);
    ::CloseHandle(hProcess);
    if (!bWritten) throw std::runtime_error("cannot write the drop into the target's process");
    ::PostMessageA(hWndTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(pRemote), 0);
}
