// The Windows entry point: a thin shell around the portable program.
#include <windows.h>

#include "app/Program.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tb::win32::Win32Desktop desktop;
    tb::win32::Win32Registry registry;
    return tb::RunTunebalk(desktop, registry);
}
