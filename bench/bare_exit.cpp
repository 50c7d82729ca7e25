// Starts and ends: the hand-off baseline, the least a second launch can cost.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
