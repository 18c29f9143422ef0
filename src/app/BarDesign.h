// The bar's controls and their design, as a form designer keeps them with a window: each
// control's kind, place in twips, pictures, style, caption, font and hint, in one table. The
// table's order is the painting order; the pointer finds the last control first. Places, fonts
// and pictures follow the form's density.
#pragma once

#include <cstdint>
#include <span>
#include <variant>

#include "app/Form.h"
#include "art/Artwork.h"
#include "controls/Click.h"
#include "controls/ImageBox.h"
#include "controls/Label.h"
#include "controls/Playlist.h"
#include "controls/ucSlider.h"

namespace tb {

struct BarControls {
    ImageBox imgTopLeft;
    ImageBox imgTopRight;
    Label lblTitel;
    Label lblTijd;
    Label lblOptie;
    Click btnPrev;
    Click btnPlay;
    Click btnPauze;
    Click btnStop;
    Click btnNext;
    Click btnVerberg;
    Click btnHerstel;
    Click btnMSN;
    Click btnInstellingen;
    Click btnAfsluiten;
    ucSlider sliderProgress;
    ucSlider sliderVolume;
    Playlist Playlist1;
};

// A picture at a density (dots per inch).
using PictureSource = const Image& (*)(int dpi);

struct ControlDesign {
    const char* name;
    std::variant<ImageBox BarControls::*, Label BarControls::*, Click BarControls::*,
                 ucSlider BarControls::*, Playlist BarControls::*>
        control;
    // Twips. Pictures, buttons and self-sizing labels take their own size.
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    // Buttons: the face set, and the hint line's text while the pointer moves over it.
    std::int32_t buttonStyle = 0;
    const char* hint = nullptr;
    // Labels: the design caption, the font size in twentieths of a point, self-sizing.
    const char* caption = nullptr;
    std::int32_t fontSize = 0;
    bool autoSize = false;
    // Pictures; for sliders the thumb, with the rail and the stored maximum and value.
    PictureSource picture = nullptr;
    PictureSource rail = nullptr;
    std::int32_t max = 0, value = 0;
};

namespace bar {
constexpr const char* kFontFace = "Tahoma";
// The title area (lblTitel's rest position and width; lblOptie spans the same).
constexpr std::int32_t kTitleLeft = 120;
constexpr std::int32_t kTitleWidth = 3855;
constexpr std::int32_t kTitleDesignLeft = 1080;
}  // namespace bar

std::span<const ControlDesign> BarDesign();

Control& ControlOf(BarControls& controls, const ControlDesign& design);

// Puts every control of the table on `form`, in the table's order, with its design, laid out
// for the form's density.
void SiteBarControls(Form& form, BarControls& controls);
// Lays every control out again for the form's density: its place, font and pictures. What the
// controls show and hold stays.
void LayoutBarControls(Form& form, BarControls& controls);

}  // namespace tb
