#include "hotkeys/Sneltoetsen.h"

namespace tb {

namespace {

// Either Ctrl and either Shift key.
constexpr int kVkControl = 17;
constexpr int kVkShift = 16;

}  // namespace

std::optional<int> ScanSneltoetsen(Desktop& desktop, const std::array<Sneltoets, 5>& Sneltoetsen) {
    for (int slot = 0; slot < static_cast<int>(Sneltoetsen.size()); ++slot) {
        const Sneltoets& toets = Sneltoetsen[static_cast<std::size_t>(slot)];
        // Three fresh queries per slot, all of them, in this order: each query also takes the
        // key's "pressed since" bit.
        const bool key = desktop.asyncKeyState(toets.KeyCode) != 0;
        const bool ctrl = desktop.asyncKeyState(kVkControl) != 0;
        const bool shift = desktop.asyncKeyState(kVkShift) != 0;
        if (key && (ctrl || toets.CtrlOptional) && (shift || toets.ShiftOptional)) return slot;
    }
    return std::nullopt;
}

}  // namespace tb
