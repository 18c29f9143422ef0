#include "platform/sim/SimWinamp.h"

#include <algorithm>
#include <string>

namespace tb::sim {

SimWinamp::SimWinamp(SimDesktop& desk, bool startNow) : desk_(desk), model_(this) {
    model_.onCloseRequested = [this] { desk_.postMessage(hwnd_, wm::WmClose, 0, 0); };
    model_.onHangRequested = [this](std::uint32_t ms) { hangFor(ms); };
    if (startNow) start();
}

SimWinamp::~SimWinamp() {
    if (running()) desk_.killProcess(pid_);
}

Hwnd SimWinamp::start() {
    if (running()) return hwnd_;
    pid_ = desk_.createProcess("winamp.exe");
    nextSlot_ = 0;
    // The page after the ring stays unreadable whatever is written before it.
    desk_.processes().writeMemory(pid_, kUnreadablePage, std::string_view("\0", 1));
    desk_.processes().protectMemory(pid_, kUnreadablePage, SimProcesses::kPageSize);
    hwnd_ = desk_.createWindowIn(
        pid_, {"Winamp v1.x", "Winamp", Rect::fromXYWH(0, 0, 275, 116), 0, true, false}, this);
    model_.advanceTo(desk_.tickCountMs());
    return hwnd_;
}

void SimWinamp::kill() {
    if (running()) desk_.killProcess(pid_);
}

bool SimWinamp::running() const {
    return hwnd_ != 0 && desk_.window(hwnd_) != nullptr && desk_.processExists(pid_);
}

model::PlayerModel& SimWinamp::model() {
    model_.advanceTo(desk_.tickCountMs());
    return model_;
}

void SimWinamp::hangFor(std::uint64_t ms) { desk_.setHung(hwnd_, desk_.tickCountMs() + ms); }

std::uint64_t SimWinamp::placeBeforeUnreadable(std::string_view bytes) {
    bytes = bytes.substr(0, std::min<std::size_t>(bytes.size(), kSlotSize * kSlots));
    const std::uint64_t at = kUnreadablePage - bytes.size();
    desk_.processes().writeMemory(pid_, at, bytes);
    return at;
}

std::optional<LResult> SimWinamp::onMessage(std::uint32_t msg, WParam w, LParam l) {
    // Playback time is brought up to date whenever someone looks.
    model_.advanceTo(desk_.tickCountMs());
    return model_.handleMessage(msg, w, l);
}

void SimWinamp::onDestroy() {
    // Closing the main window ends the player.
    desk_.processes().kill(pid_);
}

std::uint64_t SimWinamp::placeString(std::string_view text) {
    if (beforeUnreadable_) return placeBeforeUnreadable(std::string(text) + '\0');
    text = text.substr(0, std::min<std::size_t>(text.size(), kSlotSize - 1));
    const std::uint64_t at = kStringBase + (nextSlot_++ % kSlots) * kSlotSize;
    desk_.processes().writeMemory(pid_, at, std::string(text) + '\0');
    return at;
}

}  // namespace tb::sim
