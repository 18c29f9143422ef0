#include "app/PlaybackSync.h"

#include <limits>

#include "common/Numeric.h"

namespace tb {

PlaybackSync::Result PlaybackSync::Tick() {
    WinampAPI& winamp = app_.winamp();
    if (!winamp.IsRunning()) return Result::WinampGone;
    bar_.lblTijd.setCaption(winamp.TrackTime());
    // A stream's length (-1) is refused by the slider, which keeps its maximum.
    bar_.sliderProgress.setMax(winamp.TrackTimeTotal());
    // While held the value is the user's: Winamp's position would seek back to where it was
    // every second, and the release would seek to that instead of where the user let go.
    if (!slepen_) bar_.sliderProgress.setValue(winamp.TrackTimePosition());
    bar_.sliderVolume.setValue(winamp.Volume());

    const std::string title = winamp.SongTitle();
    if (title == laatsteTitel_) return Result::SameTitle;
    laatsteTitel_ = title;
    ShowTitle(title);
    if (!app_.settings.bVerbergPlaylist) {
        Playlist& list = bar_.Playlist1;
        const std::int32_t playing = winamp.TrackNumber();
        if (playing >= 0 && playing <= std::numeric_limits<std::int16_t>::max())
            list.setActiveItem(static_cast<std::int16_t>(playing));
        if (list.ItemCaption(list.ActiveItem()) != laatsteTitel_ && onRefreshPlaylist)
            onRefreshPlaylist();
    }
    return Result::NewTitle;
}

void PlaybackSync::ShowTitle(const std::string& title) {
    bar_.ticker.Restart();
    bar_.lblTitel.setCaption(title);
    FitTitle();
}

void PlaybackSync::FitTitle() {
    Label& label = bar_.lblTitel;
    label.setLeft(pixelsX(bar_.ticker.Left()));
    // Never narrower than the title area: a short title stands still at the rest position. The
    // area's whole pixels only: one more would make it wider than the area, and tick.
    const auto area = static_cast<std::int32_t>(TitleTicker::kAreaWidth * label.dpi() / 1440);
    const Rect b = label.bounds();
    if (b.width() < area) label.setBounds(Rect{b.left, b.top, b.left + area, b.bottom});
}

std::int32_t PlaybackSync::pixelsX(float twips) {
    return twipsToPixelsAtDpi(twips, bar_.lblTitel.dpi());
}

void PlaybackSync::ProgressClick() {
    app_.winamp().setTrackTimePosition(bar_.sliderProgress.Value());
}

void PlaybackSync::ProgressChange() {
    if (slepen_) app_.winamp().setTrackTimePosition(bar_.sliderProgress.Value());
}

void PlaybackSync::VolumeChange() { app_.winamp().setVolume(bar_.sliderVolume.Value()); }

}  // namespace tb
