// The now-playing template over the labels the bar shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "messenger/NowPlaying.h"

namespace tb {
namespace {

TEST(NowPlayingText, FillsEachPlaceholderFromItsPieceInOrder) {
    // The pattern, the song and time texts, volume, position and list length: the text.
    const std::tuple<const char*, const char*, const char*, std::int32_t, std::int32_t,
                     std::int32_t, const char*>
        rows[] = {
            // The song text splits at " - ", the time text at " / ".
            {"\\a - \\t", "Artist - Title - Live", "0:12 / 4:05", 200, 0, 1, "Artist - Title"},
            {"\\l", "Artist - Title - Live", "0:12 / 4:05", 200, 0, 1, "4:05"},
            {"\\a - \\t", "Radio stream", "1:00", 200, 0, 1, "Radio stream - "},
            {"[\\a|\\t|\\l]", "", "", 200, 0, 1, "[||]"},
            {"[\\a|\\t]", "A-B - C -D", "", 200, 0, 1, "[A-B|C -D]"},
            {"\\l", "Artist - Title", "0:12", 200, 0, 1, ""},
            // Volume in per cent; a zero leaves the bare sign.
            {"\\v", "", "", 0, 0, 1, "%"},
            {"\\v", "", "", 1, 0, 1, "%"},
            {"\\v", "", "", 2, 0, 1, "1%"},
            {"\\v", "", "", 128, 0, 1, "50%"},
            {"\\v", "", "", 255, 0, 1, "100%"},
            // One-based position; the last entry of the longest list still counts on.
            {"\\p", "", "", 200, 0, 1, "1/1"},
            {"\\p", "", "", 200, 11, 52, "12/52"},
            {"\\p", "", "", 200, 2147483647, 2147483647, "2147483648/2147483647"},
            // Every occurrence; other backslash sequences stay; matching is exact.
            {"\\a\\a \\A \\x \\ end\\", "Art - T", "", 200, 0, 1, "ArtArt \\A \\x \\ end\\"},
            {"\\\\a", "Art - T", "", 200, 0, 1, "\\Art"},
            // A later placeholder inside an inserted piece is filled; an earlier one is not.
            {"\\t", "A - Vol \\v at \\p", "", 255, 4, 9, "Vol 100% at 5/9"},
            {"\\t", "A - see \\a", "", 255, 4, 9, "see \\a"},
        };
    for (const auto& [pattern, song, time, volume, position, length, expected] : rows) {
        EXPECT_EQ(NowPlayingText(pattern, song, time, volume, position, length), expected)
            << "pattern " << pattern << ", song " << song << ", time " << time;
    }
}

}  // namespace
}  // namespace tb
