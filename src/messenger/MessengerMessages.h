// The Messenger client's status interface as this program uses it, in one place.
//
// clsPSM (in Tunebalk) sends one message to every top-level window of kWindowClass, the hidden
// window of each running Messenger client (or the stand-in tools/msnsink); the client shows the
// text as the user's now-playing personal message. Nothing comes back: the reply is ignored.
#pragma once

#include <cstdint>
#include <string_view>

namespace tb::messenger {

// The class of the Messenger's hidden window; the title is free.
constexpr const char* kWindowClass = "MsnMsgrUIManager";

// WM_COPYDATA (0x4A), wParam 0 (no sending window), lParam the address of a COPYDATASTRUCT:
//   dwData  kStatusDataId
//   cbData  the status text's length in bytes, its final code-0 character included
//   lpData  the first character of the status text
constexpr std::uint32_t kStatusMessage = 0x004A;
constexpr std::uintptr_t kStatusDataId = 1351;  // 0x547: a personal status message

// The status text: UTF-16 little-endian, each piece preceded by kSeparator, then one more
// kSeparator and a character with code 0:
//   \0 category \0 enabled \0 format \0 field1 \0 field2 \0 field3 \0 field4 \0 <code 0>
// The separator is the two characters backslash and digit zero, not a NUL. The format names
// the fields that the client shows: "{0}" is field 1, "{1}" field 2.
constexpr std::u16string_view kSeparator = u"\\0";
constexpr std::u16string_view kEnabled = u"1";   // show the text
constexpr std::u16string_view kDisabled = u"0";  // withdraw it
// The category the program publishes under, and the formats of a show and of a withdrawal.
constexpr const char* kMusicCategory = "Music";
constexpr const char* kShowFormat = "{0}";
constexpr const char* kHideFormat = "{0} - {1}";

}  // namespace tb::messenger
