// The port's timers: SetTimer on a hidden message-only window, whose WM_TIMER calls the
// callback registered under the timer's id.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace tb::win32 {

class Win32TimerSink {
public:
    Win32TimerSink();
    ~Win32TimerSink();
    Win32TimerSink(const Win32TimerSink&) = delete;
    Win32TimerSink& operator=(const Win32TimerSink&) = delete;

    // 0 when the system refused the timer.
    std::uintptr_t start(std::uint32_t intervalMs, std::function<void()> onTick);
    void stop(std::uintptr_t id);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void tick(std::uintptr_t id);

    HWND hwnd_ = nullptr;
    std::uintptr_t nextId_ = 0;
    // Shared, so a callback that stops its own timer does not destroy itself while it runs.
    std::map<std::uintptr_t, std::shared_ptr<std::function<void()>>> timers_;
};

}  // namespace tb::win32
