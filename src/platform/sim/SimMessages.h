// How the simulation packs mouse input into window messages, as Windows does.
#pragma once

#include <cstdint>

#include "platform/Desktop.h"

namespace tb::sim {

// MK_* flags of a mouse message's wParam.
namespace mk {
constexpr std::uint32_t MK_LBUTTON = 0x0001;
constexpr std::uint32_t MK_RBUTTON = 0x0002;
constexpr std::uint32_t MK_SHIFT = 0x0004;
constexpr std::uint32_t MK_CONTROL = 0x0008;
constexpr std::uint32_t MK_MBUTTON = 0x0010;
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
    return msg >= wm::WM_MOUSEMOVE && msg <= wm::WM_MBUTTONDBLCLK;
}

inline MouseEvent decodeMouse(std::uint32_t msg, WParam w, LParam l) {
    struct Kind {
        std::uint32_t msg;
        MouseAction action;
        int button;
    };
    static constexpr Kind kKinds[] = {
        {wm::WM_LBUTTONDOWN, MouseAction::Down, mouse::Left},
        {wm::WM_LBUTTONUP, MouseAction::Up, mouse::Left},
        {wm::WM_LBUTTONDBLCLK, MouseAction::DoubleClick, mouse::Left},
        {wm::WM_RBUTTONDOWN, MouseAction::Down, mouse::Right},
        {wm::WM_RBUTTONUP, MouseAction::Up, mouse::Right},
        {wm::WM_RBUTTONDBLCLK, MouseAction::DoubleClick, mouse::Right},
        {wm::WM_MBUTTONDOWN, MouseAction::Down, mouse::Middle},
        {wm::WM_MBUTTONUP, MouseAction::Up, mouse::Middle},
        {wm::WM_MBUTTONDBLCLK, MouseAction::DoubleClick, mouse::Middle},
    };
    MouseEvent e;
    for (const Kind& k : kKinds) {
        if (k.msg == msg) {
            e.action = k.action;
            e.button = k.button;
        }
    }
    e.buttons = ((w & mk::MK_LBUTTON) ? mouse::Left : 0) |
                ((w & mk::MK_RBUTTON) ? mouse::Right : 0) |
                ((w & mk::MK_MBUTTON) ? mouse::Middle : 0);
    e.shift = (w & mk::MK_SHIFT) != 0;
    e.ctrl = (w & mk::MK_CONTROL) != 0;
    e.pos = unpackPoint(l);
    return e;
}

}  // namespace tb::sim
