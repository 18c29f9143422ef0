// The bar's copy of Winamp's playlist: the whole list is copied into the playlist view once a
// minute, at start-up and when the synchronisation finds the playing entry's caption wrong.
// Pending events run after each copied entry, so the bar stays responsive during a long list;
// the player's process stays open for the whole refresh.
//
// A refresh asked for while one runs (the synchronisation may ask from inside the events that
// the refresh lets run) does not nest: the running refresh starts over. A refresh ends early,
// with its error line, when Winamp goes away or stops answering, or when the bar unloads. The
// view holds at most kMaxEntries entries (its indexes are 16-bit); a longer list is mirrored up
// to that many and logged as an overflow.
#pragma once

#include <cstdint>

#include "app/AppContext.h"
#include "common/Timer.h"
#include "controls/Playlist.h"

namespace tb {

class PlaylistMirror {
public:
    static constexpr std::int32_t kMaxEntries = 32767;

    PlaylistMirror(AppContext& app, Playlist& view, Timer& tmrPlaylist)
        : app_(app), view_(view), tmrPlaylist_(tmrPlaylist) {}

    // The playlist timer's tick: nothing while the playlist is switched off; otherwise the
    // refresh, with the timer off meanwhile so that its next tick comes a full period after.
    void Tick();
    // Copies Winamp's list into the view. Never fails to its caller: an error ends it with the
    // line "ERR: Refresh playlist mislukt, foutcode N", and the entries copied so far stay.
    void RefreshPlaylist();
    // The bar unloads: a running refresh ends at its next entry.
    void Stop() { stopped_ = true; }
    bool Refreshing() const { return running_; }

private:
    // One pass over the list; false when a new request asks it to start over.
    bool copy(bool& cut);

    AppContext& app_;
    Playlist& view_;
    Timer& tmrPlaylist_;
    bool running_ = false;
    bool startOver_ = false;
    bool stopped_ = false;
};

}  // namespace tb
