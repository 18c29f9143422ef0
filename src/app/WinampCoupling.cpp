#include "app/WinampCoupling.h"

#include <exception>

namespace tb {

void WinampCoupling::Autostart() {
    if (app_.winamp().IsRunning() || !app_.settings.bStartWinamp) return;
    app_.debugWriter().writeLine("Autostart Winamp");
    const std::string& path = app_.settings.sWinampPad;
    if (app_.desktop().fileExists(path)) app_.desktop().startProgramMinimized(path);
}

void WinampCoupling::CloseWithBar() {
    if (app_.winamp().IsRunning() && app_.settings.bSluitWinamp) app_.winamp().EndWinamp();
}

void WinampCoupling::WinampGone() { tmrSluitTunebalk_.setEnabled(app_.settings.bAutoSluit); }

void WinampCoupling::BarHidden(bool syncRunning) {
    if (syncRunning || !app_.settings.bAutoSluit) return;
    tmrSluitTunebalk_.setInterval(kWatchMs);
    tmrSluitTunebalk_.setEnabled(true);
}

void WinampCoupling::BarShowing(bool syncRunning) {
    if (!tmrSluitTunebalk_.Enabled() || syncRunning) return;
    tmrSluitTunebalk_.setEnabled(false);
    tmrSluitTunebalk_.setInterval(kDecideMs);
}

void WinampCoupling::Tick() {
    WinampAPI& winamp = app_.winamp();
    const bool running = winamp.IsRunning();
    if (tmrSluitTunebalk_.Interval() == kDecideMs && !running) {
        try {
            if (onBeforeEndNow) onBeforeEndNow();
        } catch (const std::exception&) {
            // The end comes all the same.
        }
        app_.desktop().exitProcessNow(0);
    }
    if (!winamp.IsRunning()) tmrSluitTunebalk_.setInterval(kDecideMs);
}

}  // namespace tb
