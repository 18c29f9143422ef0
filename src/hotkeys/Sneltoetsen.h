// The hotkey scanner: polled by the bar's tmrSneltoetsen, it reads the physical key state and
// names the hotkey slot whose combination is held. The bar then runs that slot's transport
// button click handler (0 previous, 1 play, 2 pause, 3 stop, 4 next).
//
// No edge detection: a combination held down fires on every poll. A modifier that a slot does
// not need may be held too (F5 alone also fires on Ctrl+F5), and a slot with key code 0 never
// fires.
#pragma once

#include <array>
#include <optional>

#include "platform/Desktop.h"
#include "settings/Instellingen.h"

namespace tb {

// The lowest slot whose key is pressed with the modifiers it needs, or nullopt. A key counts as
// pressed when its state is non-zero: down now, or pressed since the previous query.
std::optional<int> ScanSneltoetsen(Desktop& desktop, const std::array<Sneltoets, 5>& Sneltoetsen);

}  // namespace tb
