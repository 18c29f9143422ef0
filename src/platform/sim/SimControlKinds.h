// What the simulated standard controls share: the kind of a child window and its geometry.
#pragma once

#include <algorithm>
#include <string_view>

#include "platform/sim/SimWindowList.h"

namespace tb::sim::controls {

inline bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        return lower(x) == lower(y);
    });
}

enum class Kind { Other, Button, Edit, Static, Tab, Trackbar };

inline Kind kindOf(const SimWindow& w) {
    if (!w.isChild()) return Kind::Other;
    if (sameName(w.className, ctlclass::kButton)) return Kind::Button;
    if (sameName(w.className, ctlclass::kEdit)) return Kind::Edit;
    if (sameName(w.className, ctlclass::kStatic)) return Kind::Static;
    if (sameName(w.className, ctlclass::kTabControl)) return Kind::Tab;
    if (sameName(w.className, ctlclass::kTrackbar)) return Kind::Trackbar;
    return Kind::Other;
}

inline std::uint32_t buttonType(const SimWindow& w) { return w.style & bs::BsTypeMask; }
inline bool isCheckBox(const SimWindow& w) {
    const std::uint32_t t = buttonType(w);
    return kindOf(w) == Kind::Button && (t == bs::BsCheckBox || t == bs::BsAutoCheckBox ||
                                         t == bs::Bs3State || t == bs::BsAuto3State);
}
inline bool isPushButton(const SimWindow& w) {
    const std::uint32_t t = buttonType(w);
    return kindOf(w) == Kind::Button && (t == bs::BsPushButton || t == bs::BsDefPushButton);
}
// Statics and disabled windows take no focus.
inline bool focusable(const SimWindow& w) { return kindOf(w) != Kind::Static; }

constexpr int kTabRowHeight = 20;
constexpr int kTabPadding = 12;
constexpr int kTrackbarPageDivisor = 5;
// The simulated trackbar's channel runs this far inside its ends; the thumb is this wide.
constexpr int kTrackbarInset = 8;
constexpr int kTrackbarThumbHalf = 5;

}  // namespace tb::sim::controls
