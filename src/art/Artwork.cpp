#include "art/Artwork.h"

#include <array>

namespace tb::art {

namespace {

Image toImage(const data::RawImage& raw) {
    Image img;
    img.width = raw.width;
    img.height = raw.height;
    img.pixels.assign(raw.pixels, raw.pixels + static_cast<std::size_t>(raw.width) *
                                                   static_cast<std::size_t>(raw.height));
    img.hasTransparency = raw.keyed;
    img.transparentColor = data::kKeyColor;
    return img;
}

}  // namespace

const Image& buttonFace(int style, Look look) {
    using Faces = std::array<std::array<Image, data::kFaceLooks>, data::kFaceStyles>;
    static const Faces faces = [] {
        Faces f;
        for (int s = 0; s < data::kFaceStyles; ++s)
            for (int l = 0; l < data::kFaceLooks; ++l) f[s][l] = toImage(data::kButtonFaces[s][l]);
        return f;
    }();
    int s = (style >= 0 && style < data::kFaceStyles - 1) ? style : data::kFaceStyles - 1;
    return faces[s][static_cast<int>(look)];
}

// Each picture is converted once, on first use; the tables stay the single source.
#define TB_ART_PICTURE(name, raw)              \
    const Image& name() {                      \
        static const Image img = toImage(raw); \
        return img;                            \
    }
TB_ART_PICTURE(progressRail, data::kProgressRail)
TB_ART_PICTURE(progressThumb, data::kProgressThumb)
TB_ART_PICTURE(volumeRail, data::kVolumeRail)
TB_ART_PICTURE(volumeThumb, data::kVolumeThumb)
TB_ART_PICTURE(scrollRail, data::kScrollRail)
TB_ART_PICTURE(scrollThumb, data::kScrollThumb)
TB_ART_PICTURE(topLeft, data::kTopLeft)
TB_ART_PICTURE(topRight, data::kTopRight)
TB_ART_PICTURE(settingsIcon, data::kSettingsIcon)
TB_ART_PICTURE(logo, data::kLogo)
#undef TB_ART_PICTURE

const Image& actionIcon(int slot) {
    static const std::array<Image, 5> icons{
        toImage(data::kActionIcon0), toImage(data::kActionIcon1), toImage(data::kActionIcon2),
        toImage(data::kActionIcon3), toImage(data::kActionIcon4)};
    static const Image none;
    return slot >= 0 && slot < 5 ? icons[static_cast<std::size_t>(slot)] : none;
}

Image barBackground(Size client, std::int32_t paneLeft) {
    Image img;
    if (client.cx <= 0 || client.cy <= 0) return img;
    const std::int32_t w = client.cx;
    const std::int32_t h = client.cy;
    img.width = w;
    img.height = h;
    img.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), kBarBackColor);
    auto fill = [&](Rect r, Color c) {
        r = r.intersect(Rect{0, 0, w, h});
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            for (std::int32_t x = r.left; x < r.right; ++x)
                img.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                           static_cast<std::size_t>(x)] = c;
    };
    // The bar hangs from the screen's top edge: a dark outline, lit from below.
    fill(Rect{0, 0, w, 1}, data::kBarBorderDark);
    fill(Rect{0, h - 1, w, h}, data::kBarBorderDark);
    fill(Rect{0, 0, 1, h}, data::kBarBorderDark);
    fill(Rect{w - 1, 0, w, h}, data::kBarBorderDark);
    fill(Rect{1, h - 2, w - 1, h - 1}, data::kBarBorderLight);
    fill(Rect{1, 1, 2, h - 1}, data::kBarBorderLight);
    fill(Rect{w - 2, 1, w - 1, h - 1}, data::kBarBorderLight);
    if (paneLeft > 2 && paneLeft < w - 2) {
        fill(Rect{paneLeft - 1, 1, paneLeft, h - 2}, data::kBarBorderDark);
        fill(Rect{paneLeft, 1, paneLeft + 1, h - 2}, data::kBarBorderLight);
    }
    return img;
}

}  // namespace tb::art
