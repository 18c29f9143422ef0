// Winamp's window-message interface as this program uses it, in one place.
//
// Every message here is sent or posted by WinampAPI (in Tunebalk) to the player's main window
// and answered by the player (Winamp itself, or the stand-in player of src/standin that the
// simulation and the demo player host; its own extras are in standin/StandinMessages.h). Queries
// travel as WM_USER with the query id in lParam and its argument in wParam, answered synchronously;
// commands are posted as WM_COMMAND with the command id in wParam, as if the user picked the
// player's menu item.
#pragma once

#include <cstdint>

namespace tb::winamp {

// The class of the player's main window; the title is free.
constexpr const char* kWindowClass = "Winamp v1.x";

// Message numbers (Windows' own).
constexpr std::uint32_t kQueryMessage = 0x0400;    // WM_USER = 1024
constexpr std::uint32_t kCommandMessage = 0x0111;  // WM_COMMAND = 273

// Queries: WinampAPI -> player, WM_USER, lParam = id, wParam = data. The reply is 32 bits;
// the player is a 32-bit program, so only the low 32 bits of a reply count.
namespace ipc {
constexpr std::int32_t GetVersion = 0;          // data 0; reply: the version number
constexpr std::int32_t IsPlaying = 104;         // data 0; reply: 1 playing, 3 paused, 0 stopped
constexpr std::int32_t GetOutputTime = 105;     // data 0: position in ms; data 1: length in s;
                                                // reply -1 when nothing plays
constexpr std::int32_t JumpToTime = 106;        // data: target in ms; reply 0 done, -1 not
                                                // playing, 1 beyond the end
constexpr std::int32_t SetPlaylistPos = 121;    // data: 0-based entry; selects without playing
constexpr std::int32_t SetVolume = 122;         // data: 0..255, or VolumeQuery to read it back
constexpr std::int32_t GetListLength = 124;     // data 0; reply: number of entries
constexpr std::int32_t GetListPos = 125;        // data 0; reply: 0-based current entry
constexpr std::int32_t GetPlaylistFile = 211;   // data: entry; reply: address of its file name
                                                // in the player's memory (0 when none)
constexpr std::int32_t GetPlaylistTitle = 212;  // data: entry; reply: address of its title
}  // namespace ipc

// The SetVolume argument that asks for the current volume instead of setting one.
constexpr std::int32_t kVolumeQuery = -666;

// Commands: WinampAPI -> player, posted WM_COMMAND, wParam = command id, lParam 0.
namespace cmd {
constexpr std::int32_t Close = 40001;          // close the player
constexpr std::int32_t ToggleShuffle = 40023;  // toggle shuffle
constexpr std::int32_t Previous = 40044;       // previous track
constexpr std::int32_t Play = 40045;           // play
constexpr std::int32_t Pause = 40046;          // pause, or resume when paused
constexpr std::int32_t Stop = 40047;           // stop
constexpr std::int32_t Next = 40048;           // next track
constexpr std::int32_t VolumeUp = 40058;       // volume one step up
constexpr std::int32_t VolumeDown = 40059;     // volume one step down
constexpr std::int32_t Rewind5s = 40144;       // back 5 seconds
constexpr std::int32_t Forward5s = 40148;      // forward 5 seconds
}  // namespace cmd

}  // namespace tb::winamp
