// Conversions between the port's opaque handles and Windows' own, and a few small window
// helpers, so casts do not spread through the host.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace tb::win32 {

inline HWND toHwnd(Hwnd h) { return reinterpret_cast<HWND>(h); }
inline Hwnd fromHwnd(HWND h) { return reinterpret_cast<Hwnd>(h); }
inline HANDLE toHandle(ProcessHandle h) { return reinterpret_cast<HANDLE>(h); }
inline ProcessHandle fromHandle(HANDLE h) { return reinterpret_cast<ProcessHandle>(h); }

inline RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect fromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// The ANSI calls want zero-terminated strings; string_view does not promise one.
inline std::string zstr(std::string_view s) { return std::string(s); }

std::string HwndGetText(HWND hwnd);
std::string HwndGetClassName(HWND hwnd);
bool HwndSetText(HWND hwnd, std::string_view text);
void HwndScheduleRepaint(HWND hwnd);
void HwndScheduleRepaint(HWND hwnd, const RECT& part);

// A function of a system library that older Windows lack; null there.
template <class Fn>
Fn systemFunction(const char* module, const char* name) {
    HMODULE m = GetModuleHandleA(module);
    if (!m) m = LoadLibraryA(module);  // kept for the process's life
    // Through a plain function pointer: a direct cast between function types draws a warning.
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(m, name)))
             : nullptr;
}

}  // namespace tb::win32
