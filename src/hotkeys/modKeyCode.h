// Dutch names of Windows virtual-key codes, as the settings window shows a hotkey's key.
#pragma once

#include <cstdint>
#include <string>

namespace tb {

// Every code has a name: unnamed codes, negative ones included, read "Functie toets(n)";
// 0 (no key) is the empty text.
std::string KeyCodeToName(std::int16_t code);

}  // namespace tb
