#include "platform/win32/Win32Handles.h"

#include <vector>

namespace tb::win32 {

std::string HwndGetText(HWND hwnd) {
    int len = GetWindowTextLengthA(hwnd);
    if (len <= 0) return {};
    // The length may be an overestimate (DBCS); the copy reports what it wrote.
    std::vector<char> buf(static_cast<std::size_t>(len) + 1);
    int got = GetWindowTextA(hwnd, buf.data(), len + 1);
    return std::string(buf.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

std::string HwndGetClassName(HWND hwnd) {
    char buf[257];  // class names are at most 256 characters
    int got = GetClassNameA(hwnd, buf, sizeof buf);
    return std::string(buf, got > 0 ? static_cast<std::size_t>(got) : 0);
}

bool HwndSetText(HWND hwnd, std::string_view text) {
    return SetWindowTextA(hwnd, zstr(text).c_str()) != FALSE;
}

void HwndScheduleRepaint(HWND hwnd) {
    // Nothing is erased: the paint covers what it repaints from the back buffer.
    InvalidateRect(hwnd, nullptr, FALSE);
}

void HwndScheduleRepaint(HWND hwnd, const RECT& part) { InvalidateRect(hwnd, &part, FALSE); }

}  // namespace tb::win32
