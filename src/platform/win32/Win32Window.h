// A window created through the port. One trampoline window procedure serves every class the
// program registers; it binds the HWND to its Win32Window at WM_NCCREATE and turns messages
// into calls on the window's handler, after the window's message hook had its look.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/Desktop.h"

namespace tb::win32 {

// The hosts' last-resort catch: called inside a catch block, it writes what escaped a window
// procedure, a hook or a timer callback to the debugger output (OutputDebugString) and no
// further; the program goes on.
void reportEscapedError(const char* where) noexcept;

class Win32Window {
public:
    // Registers windowSpec.className on first use and creates the window. Null on failure.
    static HWND create(const WindowSpec& windowSpec, WindowHandler* handler);
    // The binding of a window of this process created by create(); nullptr for any other.
    static Win32Window* from(HWND hwnd);

    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    MessageHook* hook() const { return hook_; }
    void setHook(MessageHook* hook) { hook_ = hook; }
    // Cuts the window off its handler (the handler is going away before the window).
    void detach() {
        handler_ = nullptr;
        hook_ = nullptr;
    }

private:
    explicit Win32Window(WindowHandler* handler) : handler_(handler) {}

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    LRESULT dispatch(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void paint(HWND hwnd);
    void sizeChanged(HWND hwnd);

    WindowHandler* handler_;
    MessageHook* hook_ = nullptr;
    // None yet: the WM_SIZE that CreateWindowEx sends reports the first size.
    std::optional<Size> lastOuter_;
    // Messages being handled right now: a handler may destroy its own window, and the binding
    // must outlive the frames that still use it.
    int depth_ = 0;
    bool destroyed_ = false;
};

}  // namespace tb::win32
