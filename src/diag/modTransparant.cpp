#include "diag/modTransparant.h"

namespace tb {

std::int32_t SetWindowAlpha(Desktop& desktop, Hwnd hWnd, std::int16_t opacity) {
    if (opacity < 0 || opacity > 255) return alpha::BuitenBereik;
    // Both steps are tried even when the first fails; either failing is reported.
    const bool layered = desktop.setExStyle(hWnd, desktop.exStyle(hWnd) | wsex::WsExLayered);
    const bool applied = desktop.setLayeredAlpha(hWnd, static_cast<std::uint8_t>(opacity));
    return layered && applied ? alpha::Toegepast : alpha::Mislukt;
}

}  // namespace tb
