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

}  // namespace tb::win32
