// The Windows entry point: a thin shell around the portable program.
#include <windows.h>

#include "app/Program.h"
#include "platform/win32/Win32Desktop.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tb::win32::Win32Desktop desktop;
    return tb::RunTunebalk(desktop);
}
