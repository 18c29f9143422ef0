// The in-memory settings record shared by the whole program. Everything starts False, empty or
// 0; the settings loader fills it, every other part only reads it (the Messenger button also
// flips bMSNPlugin).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tb {

struct Sneltoets {
    bool CtrlOptional = false;
    bool ShiftOptional = false;
    // A virtual-key code; 0 = slot unused. 16 bits, as stored codes are checked on loading: one
    // that does not fit fails the load instead of wrapping into another key.
    std::int16_t KeyCode = 0;
};

struct Instellingen {
    bool bMSNPlugin = false;
    std::string sMSNIndeling;
    std::string sWinampPad;
    bool bStartWinamp = false;
    bool bSluitWinamp = false;
    bool bAutoSluit = false;
    std::int16_t iTransparantie = 0;
    bool bVerbergPlaylist = false;
    // Slots 0..4: previous, play, pause, stop, next.
    std::array<Sneltoets, 5> Sneltoetsen{};
};

}  // namespace tb
