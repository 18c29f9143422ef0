// Window opacity through the layered-window mechanism.
#pragma once

#include <cstdint>

#include "platform/Desktop.h"

namespace tb {

namespace alpha {
constexpr std::int32_t Toegepast = 0;
constexpr std::int32_t BuitenBereik = 1;  // opacity outside 0..255: nothing was done
constexpr std::int32_t Mislukt = 2;       // a step of applying it failed
}  // namespace alpha

// Makes the window layered (the style stays for its life) and sets its opacity, 0 to 255.
std::int32_t SetWindowAlpha(Desktop& desktop, Hwnd hWnd, std::int16_t opacity);

}  // namespace tb
