// The simulated desktop's windows and the odds and ends. Messages and processes live in
// SimDesktopMessages.cpp; the event loop, input and painting in SimDesktopEvents.cpp.
#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include "common/Numeric.h"
#include "platform/sim/SimMessages.h"

namespace tb::sim {
namespace {

constexpr std::uint32_t kWsExWindowEdge = 0x00000100;

}  // namespace

SimStuck::SimStuck(std::string reason) : what(std::move(reason)) {
    std::fprintf(stderr, "SimStuck: %s\n", what.c_str());
}

SimDesktop::SimDesktop() : actingPid_(processes_.selfPid()) {
    files_.createFolder(exeFolder_);
    files_.createFolder("C:\\Temp");
    for (const char* lib : {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                            "shell32.dll", "comctl32.dll", "msimg32.dll"}) {
        addLibrary(lib);
    }
}

SimDesktop::~SimDesktop() = default;

// ---- Windows ----------------------------------------------------------------------------------

Hwnd SimDesktop::findWindow(std::string_view className) { return windows_.findNext(0, className); }

Hwnd SimDesktop::findWindowEx(Hwnd after, std::string_view className) {
    return windows_.findNext(after, className);
}

Hwnd SimDesktop::createWindow(const WindowSpec& windowSpec, WindowHandler* handler) {
    auto win = std::make_unique<SimWindow>();
    win->hwnd = nextHwnd_;
    nextHwnd_ += 4;
    win->pid = actingPid_;
    win->className = windowSpec.className;
    win->caption = windowSpec.caption;
    const bool popup = windowSpec.popup && !windowSpec.dialog;
    win->bounds = windowSpec.bounds;
    win->dpi = monitorDpi_;
    if (windowSpec.boundsAreClient && !popup) {
        const int frame = scaleToDpi(kFrameWidth, win->dpi);
        const int caption = scaleToDpi(kCaptionHeight, win->dpi);
        win->bounds = {win->bounds.left - frame, win->bounds.top - frame - caption,
                       win->bounds.right + frame, win->bounds.bottom + frame};
    }
    win->bounds.right = std::max(win->bounds.right, win->bounds.left);
    win->bounds.bottom = std::max(win->bounds.bottom, win->bounds.top);
    // Windows adds the edge style to every captioned frame.
    win->exStyle = windowSpec.exStyle | (popup ? 0 : kWsExWindowEdge);
    win->popup = popup;
    win->dialog = windowSpec.dialog;
    win->visible = windowSpec.visible;
    win->dirty = windowSpec.visible;
    win->handler = handler;
    const Hwnd hwnd = windows_.add(std::move(win)).hwnd;
    // CreateWindowEx reports the first size before it returns, before the caller knows the
    // handle.
    const Rect client = clientRect(hwnd);
    deliver(hwnd, wm::WmSize, 0, packPoint(client.width(), client.height()));
    return hwnd;
}

Hwnd SimDesktop::createWindowIn(ProcessId pid, const WindowSpec& windowSpec,
                                WindowHandler* handler) {
    auto as = actAs(pid);
    return createWindow(windowSpec, handler);
}

void SimDesktop::destroyWindow(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || win->destroying) return;
    win->destroying = true;
    if (capture_ == hwnd) {
        capture_ = 0;
        deliver(hwnd, wm::WmCaptureChanged, 0, 0);
    }
    // The focus leaves a window on its way out, before it hears of its destruction.
    if (focus_ != 0 && (focus_ == hwnd || rootOf(focus_) == hwnd ||
                        (windows_.find(focus_) && windows_.find(focus_)->parent == hwnd))) {
        changeFocus(0);
    }
    if (foreground_ == hwnd) foreground_ = 0;
    destroyTree(hwnd);
    // Whatever was posted to it is dropped when its turn comes.
}

void SimDesktop::destroyTree(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return;
    win->destroying = true;
    for (const auto& [id, clockId] : win->timers) clock_.stop(clockId);
    win->timers.clear();
    // WM_DESTROY reaches the window before its children.
    deliver(hwnd, wm::WmDestroy, 0, 0);
    win = windows_.find(hwnd);
    if (!win) return;
    const std::vector<Hwnd> children = win->children;
    for (Hwnd child : children) destroyTree(child);
    win = windows_.find(hwnd);
    if (!win) return;
    ChildHandler* childHandler = win->childHandler;
    windows_.remove(hwnd);
    if (childHandler) childHandler->onDestroy();
}

bool SimDesktop::isWindow(Hwnd hwnd) { return windows_.find(hwnd) != nullptr; }

std::string SimDesktop::windowText(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->caption : std::string();
}

std::string SimDesktop::windowClass(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->className : std::string();
}

bool SimDesktop::showWindow(Hwnd hwnd, int cmd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    if (win->isChild()) {
        const bool was = win->visible;
        win->visible = cmd != sw::SwHide;
        // A hidden control gives the focus to its window.
        if (!win->visible && focus_ == hwnd) changeFocus(win->parent);
        if (SimWindow* root = windows_.find(rootOf(hwnd))) root->dirty = true;
        return was;
    }
    const bool wasVisible = win->visible;
    const bool wasMinimized = win->minimized;
    bool activates = false;
    switch (cmd) {
        case sw::SwHide:
            win->visible = false;
            if (foreground_ == hwnd) foreground_ = 0;
            if (focus_ != 0 && rootOf(focus_) == hwnd) changeFocus(0);
            break;
        case sw::SwShowMinimized:
            win->visible = win->minimized = true;
            activates = true;
            break;
        case sw::SwMinimize:
        case 7:  // SW_SHOWMINNOACTIVE
            win->visible = win->minimized = true;
            if (cmd == sw::SwMinimize && foreground_ == hwnd) foreground_ = 0;
            break;
        case sw::SwShowNoActivate:
            win->visible = true;
            win->minimized = false;
            break;
        case 8:  // SW_SHOWNA
            win->visible = true;
            break;
        case sw::SwShow:
            win->visible = true;
            activates = true;
            break;
        default:  // SW_SHOWNORMAL, SW_RESTORE, SW_MAXIMIZE, SW_SHOWDEFAULT
            win->visible = true;
            win->minimized = false;
            activates = true;
            break;
    }
    if (win->visible && (!wasVisible || (wasMinimized && !win->minimized))) win->dirty = true;
    // The foreground lock: only the process that owns the foreground window (or any, when there
    // is none) may take the foreground away.
    const SimWindow* fg = windows_.find(foreground_);
    if (activates && (!fg || fg->pid == actingPid_)) activate(hwnd);
    return wasVisible;
}

bool SimDesktop::isWindowVisible(Hwnd hwnd) {
    for (const SimWindow* win = windows_.find(hwnd); win; win = windows_.find(win->parent)) {
        if (!win->visible) return false;
        if (!win->isChild()) return true;
    }
    return false;
}

std::optional<Rect> SimDesktop::windowRect(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    if (!win) return std::nullopt;
    if (win->isChild()) {
        const auto parent = windows_.find(win->parent);
        const Rect origin = parent->isChild() ? *windowRect(win->parent) : clientRect(win->parent);
        return win->bounds.offset(origin.left, origin.top);
    }
    return win->bounds;
}

bool SimDesktop::moveWindow(Hwnd hwnd, const Rect& bounds) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    if (win->isChild()) {
        win->bounds = bounds;
        return true;
    }
    Rect r = bounds;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    const bool resized = r.width() != win->bounds.width() || r.height() != win->bounds.height();
    win->bounds = r;
    if (resized) {
        win->dirty = true;
        const Rect client = clientRect(hwnd);
        deliver(hwnd, wm::WmSize, 0, packPoint(client.width(), client.height()));
    }
    return true;
}

bool SimDesktop::setTopmost(Hwnd hwnd, bool topmost) {
    if (!windows_.find(hwnd)) return false;
    windows_.setTopmost(hwnd, topmost);
    return true;
}

std::uint32_t SimDesktop::exStyle(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->exStyle : 0;
}

bool SimDesktop::setExStyle(Hwnd hwnd, std::uint32_t exStyle) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    // SetWindowLong can't change the topmost state: only SetWindowPos moves a window between
    // the bands.
    win->exStyle = (exStyle & ~wsex::WsExTopmost) | (win->exStyle & wsex::WsExTopmost);
    if (!(win->exStyle & wsex::WsExLayered)) win->layeredAlpha.reset();
    return true;
}

bool SimDesktop::setLayeredAlpha(Hwnd hwnd, std::uint8_t alpha) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || !(win->exStyle & wsex::WsExLayered)) return false;
    win->layeredAlpha = alpha;
    return true;
}

void SimDesktop::invalidate(Hwnd hwnd) {
    if (SimWindow* win = windows_.find(hwnd)) win->dirty = true;
}

void SimDesktop::invalidateRect(Hwnd hwnd, const Rect& client) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return;
    const Rect c = clientRect(hwnd);
    win->dirtyPart = win->dirtyPart.unite(client.intersect(Rect{0, 0, c.width(), c.height()}));
}

void SimDesktop::setCapture(Hwnd hwnd) {
    if (!windows_.find(hwnd) || capture_ == hwnd) return;
    const Hwnd old = capture_;
    capture_ = hwnd;
    if (old != 0) deliver(old, wm::WmCaptureChanged, 0, static_cast<LParam>(hwnd));
}

void SimDesktop::releaseCapture() {
    const Hwnd old = capture_;
    if (old == 0) return;
    capture_ = 0;
    deliver(old, wm::WmCaptureChanged, 0, 0);
}

Hwnd SimDesktop::foregroundWindow() { return windows_.find(foreground_) ? foreground_ : 0; }

bool SimDesktop::setForegroundWindow(Hwnd hwnd) {
    if (!windows_.find(hwnd)) return false;
    activate(hwnd);
    return true;
}

void SimDesktop::activate(Hwnd hwnd) {
    hwnd = rootOf(hwnd);
    const bool changes = foreground_ != hwnd;
    foreground_ = hwnd;
    windows_.bringToTop(hwnd);
    if (!changes && focus_ != 0 && rootOf(focus_) == hwnd) return;
    const SimWindow* win = windows_.find(hwnd);
    if (win && win->dialog) {
        restoreDialogFocus(hwnd);
    } else {
        changeFocus(hwnd);
    }
}

Hwnd SimDesktop::windowFromPoint(Point screen) {
    const Hwnd top = windows_.fromPoint(screen);
    const Hwnd child = top ? childAt(top, screen) : 0;
    return child ? child : top;
}

bool SimDesktop::setMessageHook(Hwnd hwnd, MessageHook* hook) {
    SimWindow* win = windows_.find(hwnd);
    // A window procedure can only be replaced from the window's own process.
    if (!win || !hook || win->hook || win->pid != actingPid_) return false;
    win->hook = hook;
    return true;
}

bool SimDesktop::removeMessageHook(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || !win->hook) return false;
    win->hook = nullptr;
    return true;
}

Rect SimDesktop::clientRect(Hwnd hwnd) const {
    const SimWindow* win = windows_.find(hwnd);
    if (!win) return {};
    if (win->popup) return win->bounds;
    const int frame = scaleToDpi(kFrameWidth, win->dpi);
    const int caption = scaleToDpi(kCaptionHeight, win->dpi);
    Rect r{win->bounds.left + frame, win->bounds.top + frame + caption, win->bounds.right - frame,
           win->bounds.bottom - frame};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

int SimDesktop::windowDpi(Hwnd hwnd) {
    const SimWindow* root = windows_.find(rootOf(hwnd));
    return root ? root->dpi : systemDpi_;
}

void SimDesktop::setScreenSize(Size s) {
    screen_ = s;
    const std::vector<Hwnd> tops = windows_.zOrder();
    const auto bits = static_cast<LParam>((static_cast<std::uint32_t>(s.cy) << 16) |
                                          (static_cast<std::uint32_t>(s.cx) & 0xFFFF));
    for (Hwnd h : tops) deliver(h, wm::WmDisplayChange, 32, bits);
}

void SimDesktop::moveToDensity(Hwnd hwnd, int dpi, std::optional<Rect> suggested) {
    SimWindow* win = windows_.find(rootOf(hwnd));
    if (!win || dpi <= 0) return;
    const Rect b = win->bounds;
    const int old = win->dpi;
    win->dpi = dpi;
    auto scale = [&](std::int32_t v) {
        return clampToInt32(divRoundHalfEven(std::int64_t{v} * dpi, old));
    };
    const Rect rect =
        suggested.value_or(Rect::fromXYWH(b.left, b.top, scale(b.width()), scale(b.height())));
    const auto dpis = static_cast<WParam>(dpi) | (static_cast<WParam>(dpi) << 16);
    deliver(win->hwnd, wm::WmDpiChanged, dpis, reinterpret_cast<LParam>(&rect));
}

FontSpec SimDesktop::dialogFont(int dpi) {
    // MulDiv rounds halves away from zero.
    return FontSpec{"Tahoma", static_cast<int>((11LL * dpi * 2 + 96) / (2 * 96)), false};
}

}  // namespace tb::sim
