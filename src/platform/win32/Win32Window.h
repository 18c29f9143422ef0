// A window created through the port. One trampoline window procedure serves every class the
// program registers; it binds the HWND to its Win32Window at WM_NCCREATE and turns messages
// into calls on the window's handler, after the window's message hook had its look.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
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

    bool isDialog() const { return dialog_; }
    // A timer of this window (SetTimer(hwnd, id)); the same id replaces the running one.
    bool setTimer(HWND hwnd, UINT_PTR id, UINT intervalMs, std::function<void()> onTick);
    bool killTimer(HWND hwnd, UINT_PTR id);
    // The window's small icon, owned here (the previous one is destroyed).
    void setSmallIcon(HWND hwnd, HICON icon);
    // The program asks for a part (nullptr: all) of the client area to be drawn again.
    void markStale(const Rect* part) {
        if (part)
            stale_ = stale_.unite(*part);
        else
            staleAll_ = true;
    }

    MessageHook* hook() const { return hook_; }
    void setHook(MessageHook* hook) { hook_ = hook; }
    // Cuts the window off its handler (the handler is going away before the window).
    void detach() {
        handler_ = nullptr;
        hook_ = nullptr;
    }

private:
    Win32Window(WindowHandler* handler, bool dialog) : handler_(handler), dialog_(dialog) {}
    ~Win32Window();

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    LRESULT dispatch(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void paint(HWND hwnd);
    void sizeChanged(HWND hwnd);
    // What Windows does with a message nobody handled: a dialog's default handling keeps the
    // focus across activations and knows the default push button.
    LRESULT defaultProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) const;

    WindowHandler* handler_;
    bool dialog_;
    MessageHook* hook_ = nullptr;
    // Shared, so a callback that kills its own timer does not destroy itself while it runs.
    std::map<UINT_PTR, std::shared_ptr<std::function<void()>>> timers_;
    HICON smallIcon_ = nullptr;
    // None yet: the WM_SIZE that CreateWindowEx sends reports the first size.
    std::optional<Size> lastOuter_;
    // The back buffer, kept from paint to paint so that a paint draws only what changed; made
    // again (and painted whole) when the client size changes.
    HDC backDc_ = nullptr;
    HBITMAP backBitmap_ = nullptr;
    HGDIOBJ backOld_ = nullptr;
    Size backSize_;
    // What the program invalidated since the last paint: only that is drawn again. The rest of
    // a paint (a part that came into view, a slide from above the screen's edge) is shown from
    // the back buffer as it is.
    Rect stale_;
    bool staleAll_ = true;
    void dropBackBuffer();
    // Messages being handled right now: a handler may destroy its own window, and the binding
    // must outlive the frames that still use it.
    int depth_ = 0;
    bool destroyed_ = false;
};

}  // namespace tb::win32
