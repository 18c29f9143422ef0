// The stand-in player inside the simulation: a process with a main window of class
// "Winamp v1.x" that answers the player's protocol through the shared player model, and keeps
// the strings it hands out in its own simulated memory.
//
//     sim::SimDesktop desk;
//     sim::SimWinamp winamp(desk);             // running, stopped at the first sample entry
//     winamp.model().setStatus(model::PlayStatus::Playing);
//     winamp.hangFor(4000);                    // answers nothing for 4 s of virtual time
//     winamp.kill();                           // gone at once; start() brings a new window
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/sim/SimDesktop.h"
#include "standin/PlayerModel.h"

namespace tb::sim {

class SimWinamp : private WindowHandler, private model::StringStore {
public:
    // Strings live in a ring of slots from here, followed by one page that cannot be read.
    static constexpr std::uint64_t kStringBase = 0x01000000;
    static constexpr std::uint64_t kSlotSize = 8192;
    static constexpr std::uint64_t kSlots = 16;
    static constexpr std::uint64_t kUnreadablePage = kStringBase + kSlotSize * kSlots;

    explicit SimWinamp(SimDesktop& desk, bool startNow = true);
    ~SimWinamp() override;
    SimWinamp(const SimWinamp&) = delete;
    SimWinamp& operator=(const SimWinamp&) = delete;

    // A new process with a new main window (a no-op while running); the model keeps its state.
    Hwnd start();
    // The process dies: its window vanishes without a message.
    void kill();
    bool running() const;
    Hwnd hwnd() const { return hwnd_; }
    ProcessId pid() const { return pid_; }

    // The protocol model, brought up to the current virtual time.
    model::PlayerModel& model();
    // Answers nothing for `ms` of virtual time from now.
    void hangFor(std::uint64_t ms);
    // Every string handed out from now on ends right before the unreadable page.
    void setStringsBeforeUnreadable(bool on) { beforeUnreadable_ = on; }
    // Writes raw bytes (no zero added) into the player's memory so that they end right before
    // the unreadable page; their address.
    std::uint64_t placeBeforeUnreadable(std::string_view bytes);

private:
    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam l) override;
    void onDestroy() override;
    std::uint64_t placeString(std::string_view text) override;

    SimDesktop& desk_;
    model::PlayerModel model_;
    ProcessId pid_ = 0;
    Hwnd hwnd_ = 0;
    std::uint64_t nextSlot_ = 0;
    bool beforeUnreadable_ = false;
};

}  // namespace tb::sim
