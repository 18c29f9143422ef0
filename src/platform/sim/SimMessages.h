// How the simulation packs mouse input into window messages, as Windows does.
#pragma once

#include <cstdint>

#include "platform/Desktop.h"

namespace tb::sim {

// MK_* flags of a mouse message's wParam.
namespace mk {
constexpr std::uint32_t MkLButton = 0x0001;
constexpr std::uint32_t MkRButton = 0x0002;
constexpr std::uint32_t MkShift = 0x0004;
constexpr std::uint32_t MkControl = 0x0008;
constexpr std::uint32_t MkMButton = 0x0010;
}  // namespace mk

// MAKELPARAM(x, y): two 16-bit halves.
inline LParam packPoint(std::int32_t x, std::int32_t y) {
    return static_cast<LParam>(static_cast<std::uint32_t>(x & 0xFFFF) |
                               (static_cast<std::uint32_t>(y & 0xFFFF) << 16));
}

inline Point unpackPoint(LParam l) {
    return {static_cast<std::int16_t>(l & 0xFFFF), static_cast<std::int16_t>((l >> 16) & 0xFFFF)};
}

// WM_MOUSEMOVE up to WM_MBUTTONDBLCLK (not the wheel).
inline bool isMouseMessage(std::uint32_t msg) {
    return msg >= wm::WmMouseMove && msg <= wm::WmMButtonDblClk;
}

inline MouseEvent decodeMouse(std::uint32_t msg, WParam w, LParam l) {
    struct Kind {
        std::uint32_t msg;
        MouseAction action;
        int button;
    };
    static constexpr Kind kKinds[] = {
        {wm::WmLButtonDown, MouseAction::Down, mouse::Left},
        {wm::WmLButtonUp, MouseAction::Up, mouse::Left},
        {wm::WmLButtonDblClk, MouseAction::DoubleClick, mouse::Left},
        {wm::WmRButtonDown, MouseAction::Down, mouse::Right},
        {wm::WmRButtonUp, MouseAction::Up, mouse::Right},
        {wm::WmRButtonDblClk, MouseAction::DoubleClick, mouse::Right},
        {wm::WmMButtonDown, MouseAction::Down, mouse::Middle},
        {wm::WmMButtonUp, MouseAction::Up, mouse::Middle},
        {wm::WmMButtonDblClk, MouseAction::DoubleClick, mouse::Middle},
    };
    MouseEvent e;
    for (const Kind& k : kKinds) {
        if (k.msg == msg) {
            e.action = k.action;
            e.button = k.button;
        }
    }
    e.buttons = ((w & mk::MkLButton) ? mouse::Left : 0) | ((w & mk::MkRButton) ? mouse::Right : 0) |
                ((w & mk::MkMButton) ? mouse::Middle : 0);
    e.shift = (w & mk::MkShift) != 0;
    e.ctrl = (w & mk::MkControl) != 0;
    e.pos = unpackPoint(l);
    return e;
}

}  // namespace tb::sim
