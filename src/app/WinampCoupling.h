// The bar's life tied to Winamp's: start Winamp with the bar ("startwinamp"), close it with the
// bar ("sluitwinamp"), and end the bar some time after Winamp has gone ("AutoSluit").
//
// The automatic close runs on the bar's timer tmrSluitTunebalk, whose interval is its state:
// 2000 ms watches for Winamp to go (while the bar is away and nothing else looks), 30000 ms
// means Winamp was seen gone and the next tick decides. A tick that finds Winamp still gone at
// 30000 ms ends the process at once, without the close steps.
#pragma once

#include <cstdint>
#include <functional>

#include "app/AppContext.h"
#include "common/Timer.h"

namespace tb {

class WinampCoupling {
public:
    static constexpr std::uint32_t kDecideMs = 30000;
    static constexpr std::uint32_t kWatchMs = 2000;

    WinampCoupling(AppContext& app, Timer& tmrSluitTunebalk)
        : app_(app), tmrSluitTunebalk_(tmrSluitTunebalk) {}

    // Right before the immediate end: the last chance to withdraw what others show of the bar.
    std::function<void()> onBeforeEndNow;

    // Start-up: Winamp does not run and "startwinamp" is on: start it if its program exists.
    void Autostart();
    // The bar closes: Winamp runs and "sluitwinamp" is on: ask it to close (no waiting).
    void CloseWithBar();
    // The synchronisation found Winamp gone: the automatic close is armed exactly when
    // "AutoSluit" is on, with whatever interval it has.
    void WinampGone();
    // The bar has slid away; `syncRunning` tells whether the synchronisation still looks.
    void BarHidden(bool syncRunning);
    // The bar starts to come back.
    void BarShowing(bool syncRunning);
    // The tick of tmrSluitTunebalk.
    void Tick();

private:
    AppContext& app_;
    Timer& tmrSluitTunebalk_;
};

}  // namespace tb
