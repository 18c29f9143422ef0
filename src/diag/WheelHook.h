// The mouse wheel over the bar scrolls its playlist view: the bar window's messages pass this
// hook first (the replaced window procedure), and every wheel message becomes one private key
// code sent to the view (Playlist::kKeyScrollUp for a turn away from the user, kKeyScrollDown
// otherwise), one entry whatever the size of the turn. Every message then goes on unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/Desktop.h"

namespace tb {

class WheelHook : public MessageHook {
public:
    WheelHook(Desktop& desktop, std::function<void(std::string_view)> writeLine)
        : desktop_(desktop), writeLine_(std::move(writeLine)) {}
    WheelHook(const WheelHook&) = delete;
    WheelHook& operator=(const WheelHook&) = delete;

    // Installs the hook on `hWnd`; a second call does nothing beyond its first log line.
    void Hook(Hwnd hWnd);
    // Removes it; without a hook only the first log line.
    void Unhook(Hwnd hWnd);
    bool Hooked() const { return hooked_; }

    // The playlist view's window; wheel messages before it is known are only passed on.
    Hwnd hWndPlaylist = 0;

    // WindowProc.
    std::optional<LResult> onHookedMessage(Hwnd hwnd, std::uint32_t msg, WParam w,
                                           LParam l) override;

private:
    Desktop& desktop_;
    std::function<void(std::string_view)> writeLine_;
    // The hook is in place (the saved previous window procedure).
    bool hooked_ = false;
};

}  // namespace tb
