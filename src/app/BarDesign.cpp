#include "app/BarDesign.h"

#include "art/Artwork.h"
#include "common/Numeric.h"
#include "controls/PropertyBag.h"

namespace tb {

namespace {

using C = BarControls;
using art::progressRail, art::progressThumb, art::topLeft, art::topRight, art::volumeRail,
    art::volumeThumb;

// clang-format off
const ControlDesign kDesign[] = {
    {.name = "imgTopLeft", .control = &C::imgTopLeft, .picture = topLeft},
    // Follows the bar's right edge (frmMain places it whenever the width changes).
    {.name = "imgTopRight", .control = &C::imgTopRight, .picture = topRight},
    {.name = "lblTitel", .control = &C::lblTitel, .left = bar::kTitleDesignLeft, .top = 120,
     .height = 240, .caption = "Oxalmo Tunebalk 4", .fontSize = 195, .autoSize = true},
    {.name = "lblTijd", .control = &C::lblTijd, .left = 1440, .top = 360, .width = 1335,
     .height = 255, .caption = "0:00 / 0:00", .fontSize = 160},
    {.name = "lblOptie", .control = &C::lblOptie, .left = bar::kTitleLeft, .top = 800,
     .width = bar::kTitleWidth, .height = 240, .caption = "MSN plugin is uitgeschakeld",
     .fontSize = 160},
    {.name = "btnPrev", .control = &C::btnPrev, .left = 120, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 0, .hint = "Vorig nummer"},
    {.name = "btnPlay", .control = &C::btnPlay, .left = 435, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 1, .hint = "Start"},
    {.name = "btnPauze", .control = &C::btnPauze, .left = 750, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 2, .hint = "Pauze"},
    {.name = "btnStop", .control = &C::btnStop, .left = 1065, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 3, .hint = "Stop"},
    {.name = "btnNext", .control = &C::btnNext, .left = 1380, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 4, .hint = "Volgend nummer"},
    {.name = "btnVerberg", .control = &C::btnVerberg, .left = 1920, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 6, .hint = "Winamp verbergen"},
    {.name = "btnHerstel", .control = &C::btnHerstel, .left = 2235, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 5, .hint = "Winamp herstellen"},
    {.name = "btnMSN", .control = &C::btnMSN, .left = 2760, .top = 1080, .width = 315,
     .height = 330, .buttonStyle = 7, .hint = "MSN plugin in-/uitschakelen"},
    {.name = "btnInstellingen", .control = &C::btnInstellingen, .left = 3280, .top = 1080,
     .width = 315, .height = 330, .buttonStyle = 8, .hint = "Instellingen openen"},
    {.name = "btnAfsluiten", .control = &C::btnAfsluiten, .left = 3600, .top = 1080,
     .width = 315, .height = 330, .buttonStyle = 9, .hint = "Tunebalk afsluiten"},
    {.name = "sliderProgress", .control = &C::sliderProgress, .left = 90, .top = 650,
     .width = 2760, .height = 165, .picture = progressThumb, .rail = progressRail, .max = 100,
     .value = 0},
    {.name = "sliderVolume", .control = &C::sliderVolume, .left = 2985, .top = 650,
     .width = 930, .height = 150, .picture = volumeThumb, .rail = volumeRail, .max = 255,
     .value = 255},
    {.name = "Playlist1", .control = &C::Playlist1, .left = 4060, .top = 0, .width = 4095,
     .height = Playlist::kHeightTwips},
};
// clang-format on

// The stored design of a horizontal picture slider.
PropertyBag sliderDesign(const ControlDesign& d, int dpi) {
    PropertyBag bag;
    bag.WriteProperty("SliderImage", &d.picture(dpi), Picture{});
    bag.WriteProperty("Orientation", 0, 1);
    bag.WriteProperty("RailImage", &d.rail(dpi), Picture{});
    bag.WriteProperty("RailStyle", ucSlider::kPictureMode, 0);
    bag.WriteProperty("Max", d.max, 10);
    bag.WriteProperty("Value", d.value, 0);
    return bag;
}

PropertyBag buttonDesign(const ControlDesign& d) {
    PropertyBag bag;
    bag.WriteProperty("ButtonStyle", d.buttonStyle, 0);
    return bag;
}

// What a control is given once: its style, caption and stored properties.
struct Designer {
    const Form& form;
    const ControlDesign& d;

    void operator()(ImageBox&) const {}
    void operator()(Label& c) const {
        c.setForeColor(art::kTextColor);
        c.setAutoSize(d.autoSize);
        c.setCaption(d.caption);
    }
    void operator()(Click& c) const { c.ReadProperties(buttonDesign(d)); }
    void operator()(ucSlider& c) const { c.ReadProperties(sliderDesign(d, form.dpi())); }
    void operator()(Playlist&) const {}
};

// What follows the density, besides the place: fonts and pictures.
struct Layout {
    const Form& form;
    const ControlDesign& d;

    void operator()(ImageBox& c) const { c.setPicture(&d.picture(form.dpi())); }
    void operator()(Label& c) const {
        FontSpec font;
        font.face = bar::kFontFace;
        // Points to pixels: a twentieth of a point is a twip.
        font.heightPx = form.twipsToPixelsY(d.fontSize);
        c.setFont(font);
    }
    void operator()(Click&) const {}  // its face follows its form's density by itself
    void operator()(ucSlider& c) const {
        if (const Image& thumb = d.picture(form.dpi()); c.SliderImage() != &thumb)
            c.setSliderImage(&thumb);
        if (const Image& rail = d.rail(form.dpi()); c.RailImage() != &rail) c.setRailImage(&rail);
    }
    void operator()(Playlist&) const {}  // as its scroll bar and font
};

}  // namespace

std::span<const ControlDesign> BarDesign() { return kDesign; }

Control& ControlOf(BarControls& controls, const ControlDesign& design) {
    return std::visit([&](auto member) -> Control& { return controls.*member; }, design.control);
}

void SiteBarControls(Form& form, BarControls& controls) {
    for (const ControlDesign& d : kDesign) {
        std::visit([&](auto member) { Designer{form, d}(controls.*member); }, d.control);
        form.addControl(ControlOf(controls, d));
    }
    LayoutBarControls(form, controls);
}

void LayoutBarControls(Form& form, BarControls& controls) {
    for (const ControlDesign& d : kDesign) {
        std::visit([&](auto member) { Layout{form, d}(controls.*member); }, d.control);
        form.placeTwips(ControlOf(controls, d), d.left, d.top, d.width, d.height);
    }
}

}  // namespace tb
