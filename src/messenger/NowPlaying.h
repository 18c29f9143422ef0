// The now-playing template: turns what the bar shows of the playing track into the line that
// the Messenger shows, and decides between publishing and withdrawing it.
//
// Placeholders, replaced in this order, each step working on the result of the one before:
//   \a  the song text before its first " - " (all of it when there is none)
//   \t  the song text between its first and second " - " (empty when there is no first)
//   \l  the time text between its first and second " / ": the track's length
//   \v  the volume in per cent, rounded, followed by "%" (only "%" when it rounds to 0)
//   \p  the one-based playlist position, "/", the playlist's length
// Everything else, other backslash sequences included, stays as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tb {

class WinampAPI;
class clsPSM;
struct Instellingen;

// `volume` on the player's scale 0..255; `position` counted from 0.
std::string NowPlayingText(std::string_view pattern, std::string_view songText,
                           std::string_view timeText, std::int32_t volume, std::int32_t position,
                           std::int32_t length);

// The bar's UpdatePSM, given the title label, the time label and the volume slider's value.
// With the Messenger feature on (bMSNPlugin) and Winamp playing, publishes the filled pattern
// (sMSNIndeling) as "Music" in format "{0}"; with the feature on and Winamp not playing,
// withdraws it. With the feature off nothing is sent. The play state is asked a second time
// before withdrawing, so a player that started in between is not withdrawn.
void PublishNowPlaying(WinampAPI& winamp, const Instellingen& settings, std::string_view songText,
                       std::string_view timeText, std::int32_t volume, clsPSM& psm);

}  // namespace tb
