#include "messenger/NowPlaying.h"

#include <vector>

#include "common/Numeric.h"
#include "messenger/MessengerMessages.h"
#include "messenger/clsPSM.h"
#include "settings/Instellingen.h"
#include "winamp/WinampAPI.h"

namespace tb {

namespace {

constexpr std::int32_t kPlaying = 1;

// The pieces between the occurrences of `separator`, found left to right without overlap.
std::vector<std::string_view> splitAt(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> pieces;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator)) {
        pieces.push_back(text.substr(0, at));
        text.remove_prefix(at + separator.size());
    }
    pieces.push_back(text);
    return pieces;
}

// Every occurrence, left to right; an inserted text is not searched again in this step.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what)) {
        out.append(text.substr(0, at));
        out.append(with);
        text.remove_prefix(at + what.size());
    }
    out.append(text);
    return out;
}

std::string volumePercent(std::int32_t volume) {
    const std::int32_t percent = roundHalfEven32(volume / 255.0 * 100.0);
    return (percent == 0 ? std::string() : std::to_string(percent)) + "%";
}

}  // namespace

std::string NowPlayingText(std::string_view pattern, std::string_view songText,
                           std::string_view timeText, std::int32_t volume, std::int32_t position,
                           std::int32_t length) {
    const std::vector<std::string_view> song = splitAt(songText, " - ");
    const std::vector<std::string_view> time = splitAt(timeText, " / ");
    const std::string_view lengthText = time.size() >= 2 ? time[1] : std::string_view();

    std::string text = replaceAll(pattern, "\\a", song[0]);
    text = replaceAll(text, "\\t", song.size() >= 2 ? song[1] : std::string_view());
    text = replaceAll(text, "\\l", lengthText);
    text = replaceAll(text, "\\v", volumePercent(volume));
    // Counted wide: the last entry of the longest list still gets its number.
    const std::string place =
        std::to_string(static_cast<std::int64_t>(position) + 1) + "/" + std::to_string(length);
    return replaceAll(text, "\\p", place);
}

void PublishNowPlaying(WinampAPI& winamp, const Instellingen& settings, std::string_view songText,
                       std::string_view timeText, std::int32_t volume, clsPSM& psm) {
    if (winamp.Status() == kPlaying && settings.bMSNPlugin) {
        const std::string text = NowPlayingText(settings.sMSNIndeling, songText, timeText, volume,
                                                winamp.TrackNumber(), winamp.TracksInPlaylist());
        psm.setPSM(text, messenger::kMusicCategory, messenger::kShowFormat);
    } else if (winamp.Status() != kPlaying && settings.bMSNPlugin) {
        psm.HidePSM();
    }
}

}  // namespace tb
