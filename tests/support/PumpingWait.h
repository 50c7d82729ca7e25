#pragma once
// Waiting for started processes while this thread keeps handling its messages.
// A second Calvendrake sends its notice to the window the search found and
// activates it; when that window is the test's own, a thread that only slept
// would leave the sender waiting.
#include <windows.h>

#include <vector>

// The exit codes, in the order given; the handles are closed. A process still
// running after the generous bound gives STILL_ACTIVE and is ended, so that a
// stray window of it cannot mislead the tests that follow.
std::vector<DWORD> WaitForExitsPumping(const std::vector<HANDLE>& processes, DWORD dwTimeoutMs = 60000);
