// Placeholder entry point so the Windows build links; the real start-up replaces it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
