#include "platform/win32/Win32TimerSink.h"

#include "platform/win32/Win32Window.h"

namespace tb::win32 {

namespace {
constexpr char kSinkClass[] = "TunebalkTimerSink";
}

Win32TimerSink::Win32TimerSink() {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(inst, kSinkClass, &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &windowProc;
        wc.hInstance = inst;
        wc.lpszClassName = kSinkClass;
        RegisterClassExA(&wc);
    }
    hwnd_ = CreateWindowExA(0, kSinkClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32TimerSink::~Win32TimerSink() {
    if (hwnd_) {
        // Destroying the window kills its timers and drops their pending ticks.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

std::uintptr_t Win32TimerSink::start(std::uint32_t intervalMs, std::function<void()> onTick) {
    if (!hwnd_) return 0;
    std::uintptr_t id = ++nextId_;
    if (!SetTimer(hwnd_, id, intervalMs, nullptr)) return 0;
    timers_[id] = std::make_shared<std::function<void()>>(std::move(onTick));
    return id;
}

void Win32TimerSink::stop(std::uintptr_t id) {
    if (timers_.erase(id) && hwnd_) KillTimer(hwnd_, id);
}

void Win32TimerSink::tick(std::uintptr_t id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) {
        KillTimer(hwnd_, id);
        return;
    }
    auto callback = it->second;  // keeps it alive if the callback stops its own timer
    try {
        if (*callback) (*callback)();
    } catch (...) {
        reportEscapedError("timer callback");
    }
}

LRESULT CALLBACK Win32TimerSink::windowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_TIMER) {
        auto* self = reinterpret_cast<Win32TimerSink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self) self->tick(w);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace tb::win32
