#include "app/PlaylistMirror.h"

#include <algorithm>
#include <string>

#include "common/ProgramError.h"

namespace tb {

void PlaylistMirror::Tick() {
    if (app_.settings.bVerbergPlaylist) return;
    tmrPlaylist_.setEnabled(false);
    RefreshPlaylist();
    // A request from inside a running refresh leaves the timer to that refresh.
    if (!running_ && !stopped_) tmrPlaylist_.setEnabled(true);
}

void PlaylistMirror::RefreshPlaylist() {
    if (running_) {
        startOver_ = true;
        return;
    }
    if (stopped_) return;
    DebugWriter& log = app_.debugWriter();
    running_ = true;
    log.writeLine("Refresh playlist");
    try {
        const WinampAPI::HeldProcess held(app_.winamp());
        bool cut = false;
        while (!copy(cut)) {
        }
        // A list longer than the view holds is shown up to the limit, and said so.
        if (cut) throw ProgramError(errnum::Overflow);
        log.writeLine("Refresh playlist OK");
    } catch (const std::exception& e) {
        log.writeLine("ERR: Refresh playlist mislukt, foutcode " + std::to_string(ErrorNumber(e)));
    }
    running_ = false;
    startOver_ = false;
}

bool PlaylistMirror::copy(bool& cut) {
    startOver_ = false;
    WinampAPI& winamp = app_.winamp();
    const std::int32_t count = winamp.TracksInPlaylist();
    const std::int32_t shown = std::clamp(count, 0, kMaxEntries);
    cut = count > shown;
    for (std::int32_t i = 0; i < shown; ++i) {
        const std::string title = winamp.GetPlaylistTitle(i);
        // Without a player the rest would be copied as empty entries.
        if (winamp.hWnd() == 0 || !winamp.IsAnswering()) throw ProgramError(errnum::InvalidCall);
        view_.setItemCaption(static_cast<std::int16_t>(i), title);
        app_.desktop().doEvents();
        if (stopped_) throw ProgramError(errnum::InvalidCall);
        if (startOver_) return false;
    }
    while (view_.ItemCount() > shown)
        view_.RemoveItem(static_cast<std::int16_t>(view_.ItemCount() - 1));
    const std::int32_t playing = winamp.TrackNumber();
    if (playing >= 0 && playing < shown) view_.setActiveItem(static_cast<std::int16_t>(playing));
    view_.RedrawItems();
    return true;
}

}  // namespace tb
