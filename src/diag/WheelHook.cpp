#include "diag/WheelHook.h"

#include <exception>
#include <string>

#include "common/ProgramError.h"
#include "controls/Playlist.h"

namespace tb {

void WheelHook::Hook(Hwnd hWnd) {
    writeLine_("WheelHook");
    if (hooked_ || !desktop_.setMessageHook(hWnd, this)) return;
    hooked_ = true;
    writeLine_("WheelHook OK");
}

void WheelHook::Unhook(Hwnd hWnd) {
    writeLine_("WheelUnhook");
    if (!hooked_) return;
    desktop_.removeMessageHook(hWnd);
    hooked_ = false;
    writeLine_("WheelUnhook OK");
}

std::optional<LResult> WheelHook::onHookedMessage(Hwnd, std::uint32_t msg, WParam w, LParam) {
    if (msg != wm::WmMouseWheel || hWndPlaylist == 0) return std::nullopt;
    try {
        // wParam read as a signed 32-bit number: the delta is its high word.
        const double turn = static_cast<std::int32_t>(static_cast<std::uint32_t>(w)) / 65536.0;
        // The key-down's lParam carries nothing.
        desktop_.sendMessage(hWndPlaylist, wm::WmKeyDown,
                             turn > 0 ? Playlist::kKeyScrollUp : Playlist::kKeyScrollDown, 0);
    } catch (const std::exception& e) {
        // Where the wheel enters the program; the message still goes on.
        writeLine_("ERR: WindowProc mislukt, foutcode " + std::to_string(ErrorNumber(e)));
    }
    return std::nullopt;
}

}  // namespace tb
