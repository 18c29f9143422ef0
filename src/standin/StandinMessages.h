// Message ids that only the stand-in player understands: extras for the demo player's window and
// the tests. They travel like Winamp's own (see winamp/WinampMessages.h); Tunebalk sends none of
// them, and Winamp does not know them.
#pragma once

#include <cstdint>

namespace tb::standin {

// Queries: WM_USER, lParam = id, wParam = data.
namespace ipc {
constexpr std::int32_t GetShuffle = 250;  // reply 1 when shuffle is on
constexpr std::int32_t GetRepeat = 251;   // reply 1 when repeat is on
constexpr std::int32_t SetShuffle = 252;  // data 0 or 1
constexpr std::int32_t SetRepeat = 253;   // data 0 or 1
// Makes the player stop answering for `data` milliseconds, starting right after it has replied
// 1: a hung Winamp on demand.
constexpr std::int32_t HangForMs = 0x7B00;
}  // namespace ipc

// Commands: posted WM_COMMAND, wParam = id.
namespace cmd {
constexpr std::int32_t ToggleRepeat = 40022;
}  // namespace cmd

}  // namespace tb::standin
