#include "platform/win32/Win32Window.h"

#include <windowsx.h>

#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Handles.h"

namespace tb::win32 {

namespace {

// Classes are registered per process on first use; a name registered elsewhere with another
// window procedure, or as the other kind of window, cannot host our windows.
bool ensureClass(const std::string& name, WNDPROC proc, bool dialog) {
    static std::map<std::string, bool> registered;
    if (auto it = registered.find(name); it != registered.end()) return it->second == dialog;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(inst, name.c_str(), &wc)) {
        if (wc.lpfnWndProc != proc) return false;
    } else {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;  // double clicks arrive as such
        // The room DefDlgProc keeps its state in.
        wc.cbWndExtra = dialog ? DLGWINDOWEXTRA : 0;
        wc.lpfnWndProc = proc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(1));
        wc.hbrBackground = nullptr;  // the paint covers everything; nothing to erase
        wc.lpszClassName = name.c_str();
        if (!RegisterClassExA(&wc)) return false;
    }
    registered.emplace(name, dialog);
    return true;
}

int heldButtons(WPARAM w) {
    int b = 0;
    if (w & MK_LBUTTON) b |= mouse::Left;
    if (w & MK_RBUTTON) b |= mouse::Right;
    if (w & MK_MBUTTON) b |= mouse::Middle;
    return b;
}

bool toMouseEvent(UINT msg, WPARAM w, LPARAM l, MouseEvent& e) {
    switch (msg) {
        case WM_MOUSEMOVE:
            e.action = MouseAction::Move, e.button = 0;
            break;
        case WM_LBUTTONDOWN:
            e.action = MouseAction::Down, e.button = mouse::Left;
            break;
        case WM_LBUTTONUP:
            e.action = MouseAction::Up, e.button = mouse::Left;
            break;
        case WM_LBUTTONDBLCLK:
            e.action = MouseAction::DoubleClick, e.button = mouse::Left;
            break;
        case WM_RBUTTONDOWN:
            e.action = MouseAction::Down, e.button = mouse::Right;
            break;
        case WM_RBUTTONUP:
            e.action = MouseAction::Up, e.button = mouse::Right;
            break;
        case WM_RBUTTONDBLCLK:
            e.action = MouseAction::DoubleClick, e.button = mouse::Right;
            break;
        case WM_MBUTTONDOWN:
            e.action = MouseAction::Down, e.button = mouse::Middle;
            break;
        case WM_MBUTTONUP:
            e.action = MouseAction::Up, e.button = mouse::Middle;
            break;
        case WM_MBUTTONDBLCLK:
            e.action = MouseAction::DoubleClick, e.button = mouse::Middle;
            break;
        default:
            return false;
    }
    e.buttons = heldButtons(w);
    e.shift = (w & MK_SHIFT) != 0;
    e.ctrl = (w & MK_CONTROL) != 0;
    // The key state as of this message, not as of now.
    e.alt = GetKeyState(VK_MENU) < 0;
    // Signed: left of or above the client area (while captured) is negative.
    e.pos = Point{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    return true;
}

}  // namespace

void reportEscapedError(const char* where) noexcept {
    const char* what = "unknown";
    try {
        throw;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    // No allocation: the error may be that memory ran out.
    char text[256];
    std::snprintf(text, sizeof text, "Tunebalk: an error escaped the %s: %s\n", where, what);
    OutputDebugStringA(text);
}

namespace {

struct CreateParams {
    Win32Window* window;
    bool bound = false;
};

}  // namespace

HWND Win32Window::create(const WindowSpec& windowSpec, WindowHandler* handler) {
    if (!ensureClass(windowSpec.className, &windowProc, windowSpec.dialog)) return nullptr;
    DWORD style = windowSpec.dialog  ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU
                  : windowSpec.popup ? WS_POPUP
                                     : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    style |= WS_CLIPCHILDREN;
    if (windowSpec.visible) style |= WS_VISIBLE;
    DWORD exStyle = windowSpec.exStyle;
    // Tab moves into and out of containers of controls too.
    if (windowSpec.dialog) exStyle |= WS_EX_CONTROLPARENT;
    RECT rc = toRECT(windowSpec.bounds);
    if (windowSpec.boundsAreClient) AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    CreateParams params{new Win32Window(handler, windowSpec.dialog)};
    HWND hwnd = CreateWindowExA(exStyle, windowSpec.className.c_str(), windowSpec.caption.c_str(),
                                style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                                nullptr, nullptr, GetModuleHandleA(nullptr), &params);
    // Once bound, WM_NCDESTROY frees the binding, also when creation fails half-way.
    if (!params.bound) delete params.window;
    return hwnd;
}

Win32Window* Win32Window::from(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return nullptr;
    if (GetClassLongPtrA(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&windowProc)) {
        return nullptr;
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self && !self->destroyed_ ? self : nullptr;
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        auto* params =
            static_cast<CreateParams*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
        self = params->window;
        params->bound = true;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcA(hwnd, msg, w, l);
    ++self->depth_;
    LRESULT result = 0;
    try {
        result = self->dispatch(hwnd, msg, w, l);
    } catch (...) {
        // The last resort: an exception must not unwind through the system's frames. The
        // program's own boundaries log by handler; here only the message's default is left.
        reportEscapedError("window procedure");
        result = DefWindowProcA(hwnd, msg, w, l);
    }
    if (--self->depth_ == 0 && self->destroyed_) delete self;
    return result;
}

Win32Window::~Win32Window() {
    if (smallIcon_) DestroyIcon(smallIcon_);
    dropBackBuffer();
}

void Win32Window::dropBackBuffer() {
    if (backDc_ && backOld_) SelectObject(backDc_, backOld_);
    if (backBitmap_) DeleteObject(backBitmap_);
    if (backDc_) DeleteDC(backDc_);
    backDc_ = nullptr;
    backBitmap_ = nullptr;
    backOld_ = nullptr;
    backSize_ = Size{};
}

LRESULT Win32Window::defaultProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) const {
    return dialog_ ? DefDlgProcA(hwnd, msg, w, l) : DefWindowProcA(hwnd, msg, w, l);
}

bool Win32Window::setTimer(HWND hwnd, UINT_PTR id, UINT intervalMs, std::function<void()> onTick) {
    if (!SetTimer(hwnd, id, intervalMs, nullptr)) return false;
    timers_[id] = std::make_shared<std::function<void()>>(std::move(onTick));
    return true;
}

bool Win32Window::killTimer(HWND hwnd, UINT_PTR id) {
    timers_.erase(id);
    return KillTimer(hwnd, id) != FALSE;
}

void Win32Window::setSmallIcon(HWND hwnd, HICON icon) {
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (smallIcon_) DestroyIcon(smallIcon_);
    smallIcon_ = icon;
}

LRESULT Win32Window::dispatch(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCDESTROY) {
        destroyed_ = true;
        timers_.clear();
        dropBackBuffer();
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        return defaultProc(hwnd, msg, w, l);
    }
    if (hook_) {
        try {
            if (auto answer = hook_->onHookedMessage(fromHwnd(hwnd), msg, w, l)) return *answer;
        } catch (...) {
            // A failing hook leaves the message to the window's own handling.
            reportEscapedError("message hook");
        }
        if (destroyed_) return 0;
    }
    // The controls' notifications go back to the controls.
    if (auto answer = reflectToChild(msg, w, l)) return *answer;
    if (dialog_) {
        if (auto answer = backgroundOnTab(hwnd, msg, w, l)) return *answer;
    }
    if (msg == WM_TIMER && l == 0) {
        if (auto it = timers_.find(w); it != timers_.end()) {
            auto callback = it->second;
            if (*callback) (*callback)();
            return 0;
        }
    }
    if (!handler_) return defaultProc(hwnd, msg, w, l);

    MouseEvent mouseEvent;
    if (toMouseEvent(msg, w, l, mouseEvent)) {
        handler_->onMouse(mouseEvent);
        return 0;
    }
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(hwnd);
            return 0;
        case WM_KEYDOWN:
            handler_->onKeyDown(static_cast<int>(w));
            return 0;
        case WM_CAPTURECHANGED:
            handler_->onCaptureLost();
            return 0;
        case WM_CLOSE:
            if (handler_->onCloseRequest()) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            handler_->onDestroy();
            return 0;
        case WM_SIZE:
            sizeChanged(hwnd);
            return 0;
        case WM_DPICHANGED:
            // The low word is the horizontal density; Windows keeps both the same.
            handler_->onDpiChanged(LOWORD(w), fromRECT(*reinterpret_cast<const RECT*>(l)));
            return 0;
        case WM_DISPLAYCHANGE:
            handler_->onDisplayChange();
            return 0;
        case WM_COPYDATA: {
            const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
            if (!cds) return 0;
            std::span<const std::uint8_t> data;
            if (cds->lpData && cds->cbData) {
                data = {static_cast<const std::uint8_t*>(cds->lpData), cds->cbData};
            }
            return handler_->onCopyData(fromHwnd(reinterpret_cast<HWND>(w)), cds->dwData, data);
        }
        default:
            break;
    }
    if (auto answer = handler_->onMessage(msg, w, l)) return *answer;
    return defaultProc(hwnd, msg, w, l);
}

void Win32Window::paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    const Size size{client.right, client.bottom};
    if (dc && size.cx > 0 && size.cy > 0) {
        // Everything is drawn into the back buffer first and shown with one blit: no flicker.
        if (!backDc_ || backSize_ != size) {
            dropBackBuffer();
            backDc_ = CreateCompatibleDC(dc);
            // A fresh bitmap is black, as the simulation's canvas starts.
            backBitmap_ = backDc_ ? CreateCompatibleBitmap(dc, size.cx, size.cy) : nullptr;
            if (backBitmap_) backOld_ = SelectObject(backDc_, backBitmap_);
            backSize_ = size;
            staleAll_ = true;  // nothing in it is valid yet
        }
        const Rect whole{0, 0, size.cx, size.cy};
        const Rect render = staleAll_ ? whole : stale_.intersect(whole);
        staleAll_ = false;
        stale_ = Rect{};
        if (backBitmap_) {
            try {
                if (handler_ && !render.empty()) {
                    GdiCanvas canvas(backDc_, size, render);
                    handler_->onPaint(canvas);
                }
            } catch (...) {
                // EndPaint must still run, or the window is asked to paint again at once.
                reportEscapedError("paint");
            }
            const RECT& u = ps.rcPaint;
            BitBlt(dc, u.left, u.top, u.right - u.left, u.bottom - u.top, backDc_, u.left, u.top,
                   SRCCOPY);
        } else {
            dropBackBuffer();
        }
    }
    EndPaint(hwnd, &ps);
}

void Win32Window::sizeChanged(HWND hwnd) {
    // A minimised window reports the icon's size; the form's size has not changed.
    if (IsIconic(hwnd)) return;
    RECT rc{};
    if (!GetWindowRect(hwnd, &rc)) return;
    Size outer{rc.right - rc.left, rc.bottom - rc.top};
    if (lastOuter_ == outer) return;
    lastOuter_ = outer;
    handler_->onSize(outer);
}

}  // namespace tb::win32
