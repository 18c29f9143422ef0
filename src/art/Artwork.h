// The bar's pictures: the faces of the image buttons, the sliders' rails and thumbs, the corner
// decorations and the background; and the settings window's. Drawn by art/generate.py at 100,
// 125, 150 and 200 %; see there to change them.
//
// Every picture is asked for at a display density (dots per inch, 96 at 100 %). A density with
// a set of its own gets that set; any other gets the nearest set (the larger of two as near)
// scaled to it, its sizes being the 96-dpi sizes times the density / 96, halves to even.
// Pictures live as long as the program: a control may keep a pointer to one.
#pragma once

#include <cstdint>

#include "art/ArtData.h"
#include "common/Numeric.h"
#include "platform/Types.h"

namespace tb::art {

enum class Look { Normal = 0, Hover = 1, Pressed = 2 };

constexpr Color kBarBackColor = data::kBarBackColor;
constexpr Color kTextColor = data::kTextColor;

// The face of an image button, 21 x 22 pixels at 96 dpi. Styles outside 0 to 9 get a blank key.
const Image& buttonFace(int style, Look look, int dpi = kDefaultDpi);

// Sizes at 96 dpi.
const Image& progressRail(int dpi = kDefaultDpi);   // 184 x 11
const Image& progressThumb(int dpi = kDefaultDpi);  // 14 x 8
const Image& volumeRail(int dpi = kDefaultDpi);     // 62 x 10
const Image& volumeThumb(int dpi = kDefaultDpi);    // 14 x 8
const Image& scrollRail(int dpi = kDefaultDpi);     // 14 x 81
const Image& scrollThumb(int dpi = kDefaultDpi);    // 8 x 14
const Image& topLeft(int dpi = kDefaultDpi);        // 14 x 14
const Image& topRight(int dpi = kDefaultDpi);       // 14 x 14
// The settings window's small icon, 16 x 16 (a gear).
const Image& settingsIcon(int dpi = kDefaultDpi);
// The settings window's pictures of the hotkey actions 0 to 4 (previous, play, pause, stop,
// next), 16 x 16, and its logo, 48 x 48; drawn for a dialog's light face. Slots outside 0 to 4
// get an empty picture.
const Image& actionIcon(int slot, int dpi = kDefaultDpi);
const Image& logo(int dpi = kDefaultDpi);

// The density whose drawn set serves `dpi` (equal to it when it has a set of its own).
int drawnDpiFor(int dpi);

// The bar's background for a client area of `client`: the back colour in a thin frame and, when
// the playlist pane lies inside the bar, a divider just before `paneLeft` (0: no pane). Its lines
// are a pixel wide at 96 dpi and grow with the density.
Image barBackground(Size client, std::int32_t paneLeft, int dpi = kDefaultDpi);

}  // namespace tb::art
