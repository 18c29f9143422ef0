// The bar's pictures: the faces of the image buttons, the sliders' rails and thumbs, the corner
// decorations and the background. Drawn by art/generate.py; see there to change them.
#pragma once

#include <cstdint>

#include "art/ArtData.h"
#include "platform/Types.h"

namespace tb::art {

enum class Look { Normal = 0, Hover = 1, Pressed = 2 };

constexpr Color kBarBackColor = data::kBarBackColor;
constexpr Color kTextColor = data::kTextColor;

// The face of an image button, 21 x 22 pixels. Styles outside 0 to 9 get a blank key.
const Image& buttonFace(int style, Look look);

const Image& progressRail();   // 184 x 11
const Image& progressThumb();  // 14 x 8
const Image& volumeRail();     // 62 x 10
const Image& volumeThumb();    // 14 x 8
const Image& scrollRail();     // 14 x 81
const Image& scrollThumb();    // 8 x 14
const Image& topLeft();
const Image& topRight();
// The settings window's small icon, 16 x 16 (a gear).
const Image& settingsIcon();
// The settings window's pictures of the hotkey actions 0 to 4 (previous, play, pause, stop,
// next), 16 x 16, and its logo, 48 x 48; drawn for a dialog's light face. Slots outside 0 to 4
// get an empty picture.
const Image& actionIcon(int slot);
const Image& logo();

// The bar's background for a client area of `client`: the back colour in a thin frame and, when
// the playlist pane lies inside the bar, a divider just before `paneLeft` (0: no pane).
Image barBackground(Size client, std::int32_t paneLeft);

}  // namespace tb::art
