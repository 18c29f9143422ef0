// The once-a-second synchronisation with Winamp, and the way back from the sliders: the time
// label, the progress and volume sliders, the song title and the playlist's active entry follow
// Winamp; moving the progress slider seeks and moving the volume slider sets Winamp's volume.
// A track change is told by the title text alone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/AppContext.h"
#include "app/TitleTicker.h"
#include "controls/Label.h"
#include "controls/Playlist.h"
#include "controls/ucSlider.h"

namespace tb {

class PlaybackSync {
public:
    // What the synchronisation shows its results on.
    struct Bar {
        Label& lblTijd;
        ucSlider& sliderProgress;
        ucSlider& sliderVolume;
        Label& lblTitel;
        TitleTicker& ticker;
        Playlist& Playlist1;
    };
    enum class Result { WinampGone, SameTitle, NewTitle };

    PlaybackSync(AppContext& app, Bar bar) : app_(app), bar_(bar) {}

    // The playing entry's caption in the mirror is not the new title: refresh the mirror now.
    std::function<void()> onRefreshPlaylist;

    // One tick, in the order the bar shows things: time, progress maximum before its value,
    // volume, then the title and the playlist's active entry when the title changed.
    Result Tick();

    // The progress slider: a click seeks; while the user holds it (between MouseDown and
    // MouseUp) every change seeks, and the synchronisation leaves its value alone.
    void ProgressClick();
    void ProgressChange();
    void ProgressMouseDown() { slepen_ = true; }
    void ProgressMouseUp() { slepen_ = false; }
    void VolumeChange();

    // Puts the title label where the ticker has it, at least as wide as the title area (again
    // after a new font or density).
    void FitTitle();

    const std::string& LaatsteTitel() const { return laatsteTitel_; }
    bool Slepen() const { return slepen_; }

private:
    void ShowTitle(const std::string& title);
    std::int32_t pixelsX(float twips);

    AppContext& app_;
    Bar bar_;
    std::string laatsteTitel_;
    bool slepen_ = false;
};

}  // namespace tb
