#include "art/Artwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace tb::art {

namespace {

struct Set {
    std::array<std::array<Image, data::kFaceLooks>, data::kFaceStyles> faces;
    Image progressRail, progressThumb, volumeRail, volumeThumb, scrollRail, scrollThumb;
    Image topLeft, topRight, settingsIcon;
    std::array<Image, data::kActionIcons> actionIcons;
    Image logo;
};

using data::RawSet;
constexpr std::pair<Image Set::*, data::RawImage RawSet::*> kSingles[] = {
    {&Set::progressRail, &RawSet::progressRail}, {&Set::progressThumb, &RawSet::progressThumb},
    {&Set::volumeRail, &RawSet::volumeRail},     {&Set::volumeThumb, &RawSet::volumeThumb},
    {&Set::scrollRail, &RawSet::scrollRail},     {&Set::scrollThumb, &RawSet::scrollThumb},
    {&Set::topLeft, &RawSet::topLeft},           {&Set::topRight, &RawSet::topRight},
    {&Set::settingsIcon, &RawSet::settingsIcon}, {&Set::logo, &RawSet::logo},
};

std::vector<std::uint8_t> fromBase64(const char* text) {
    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char* p = text; *p && *p != '='; ++p) {
        const char c = *p;
        const int v = c >= 'A' && c <= 'Z'   ? c - 'A'
                      : c >= 'a' && c <= 'z' ? c - 'a' + 26
                      : c >= '0' && c <= '9' ? c - '0' + 52
                      : c == '+'             ? 62
                                             : 63;
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<std::uint8_t>(bits >> count));
        }
    }
    return out;
}

// The code art/generate.py writes (see encode there).
Image decode(const data::RawImage& raw) {
    Image img;
    img.width = raw.width;
    img.height = raw.height;
    img.hasTransparency = raw.keyed;
    img.transparentColor = data::kKeyColor;
    const std::size_t n =
        static_cast<std::size_t>(raw.width) * static_cast<std::size_t>(raw.height);
    img.pixels.reserve(n);
    const std::vector<std::uint8_t> code = fromBase64(raw.code);
    std::array<Color, 64> seen{};
    int r = 0, g = 0, b = 0;
    for (std::size_t i = 0; i < code.size() && img.pixels.size() < n;) {
        const int op = code[i++];
        if (op == 0xFE && i + 3 <= code.size()) {
            r = code[i], g = code[i + 1], b = code[i + 2];
            i += 3;
        } else if (op >= 0xC0) {
            img.pixels.insert(img.pixels.end(), static_cast<std::size_t>((op & 63) + 1),
                              rgb(r, g, b));
            continue;
        } else if (op < 0x40) {
            const Color c = seen[static_cast<std::size_t>(op)];
            r = colorR(c), g = colorG(c), b = colorB(c);
        } else if (op < 0x80) {
            r = (r + ((op >> 4) & 3) - 2) & 0xFF;
            g = (g + ((op >> 2) & 3) - 2) & 0xFF;
            b = (b + (op & 3) - 2) & 0xFF;
        } else if (i < code.size()) {
            const int dg = (op & 63) - 32, rb = code[i++];
            r = (r + dg + (rb >> 4) - 8) & 0xFF;
            g = (g + dg) & 0xFF;
            b = (b + dg + (rb & 15) - 8) & 0xFF;
        }
        seen[static_cast<std::size_t>((r * 3 + g * 5 + b * 7) % 64)] = rgb(r, g, b);
        img.pixels.push_back(rgb(r, g, b));
    }
    img.pixels.resize(n, data::kKeyColor);
    return img;
}

// A picture at another size: each pixel the average of the source pixels it covers, weighted by
// how much of each. In a keyed picture a pixel is transparent where transparent pixels cover at
// least half of it, and else the average of the rest.
Image resample(const Image& src, std::int32_t w, std::int32_t h) {
    Image out;
    out.width = w;
    out.height = h;
    out.hasTransparency = src.hasTransparency;
    out.transparentColor = src.transparentColor;
    if (src.empty() || w <= 0 || h <= 0) return out;
    out.pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const double fx = static_cast<double>(src.width) / w;
    const double fy = static_cast<double>(src.height) / h;
    for (std::int32_t y = 0; y < h; ++y) {
        const double y0 = y * fy, y1 = (y + 1) * fy;
        for (std::int32_t x = 0; x < w; ++x) {
            const double x0 = x * fx, x1 = (x + 1) * fx;
            double sum[3] = {0, 0, 0}, colour = 0, key = 0;
            for (auto sy = static_cast<std::int32_t>(y0); sy < y1 && sy < src.height; ++sy) {
                const double wy = std::min(y1, sy + 1.0) - std::max(y0, double(sy));
                for (auto sx = static_cast<std::int32_t>(x0); sx < x1 && sx < src.width; ++sx) {
                    const double weight = wy * (std::min(x1, sx + 1.0) - std::max(x0, double(sx)));
                    const Color c = src.at(sx, sy);
                    if (src.hasTransparency && c == src.transparentColor) {
                        key += weight;
                        continue;
                    }
                    sum[0] += colorR(c) * weight, sum[1] += colorG(c) * weight;
                    sum[2] += colorB(c) * weight, colour += weight;
                }
            }
            auto channel = [&](int i) { return static_cast<int>(std::lround(sum[i] / colour)); };
            out.pixels.push_back(colour <= key ? src.transparentColor
                                               : rgb(channel(0), channel(1), channel(2)));
        }
    }
    return out;
}

std::size_t setIndex(int drawnDpi) {
    std::size_t i = 0;
    while (i + 1 < std::size(data::kSetDpi) && data::kSetDpi[i] != drawnDpi) ++i;
    return i;
}

Set makeSet(int dpi) {
    const int drawn = drawnDpiFor(dpi);
    const RawSet& raw = data::kSets[setIndex(drawn)];
    const RawSet& base = data::kSets[0];
    auto make = [&](const data::RawImage& picture, const data::RawImage& at96) {
        Image img = decode(picture);
        if (drawn == dpi) return img;
        return resample(img, scaleToDpi(at96.width, dpi), scaleToDpi(at96.height, dpi));
    };
    Set set;
    for (std::size_t s = 0; s < set.faces.size(); ++s)
        for (std::size_t l = 0; l < set.faces[s].size(); ++l)
            set.faces[s][l] = make(raw.buttonFaces[s][l], base.buttonFaces[s][l]);
    for (const auto& [image, rawImage] : kSingles) set.*image = make(raw.*rawImage, base.*rawImage);
    for (std::size_t i = 0; i < set.actionIcons.size(); ++i)
        set.actionIcons[i] = make(raw.actionIcons[i], base.actionIcons[i]);
    return set;
}

// Each density's pictures are made once, on first use, and kept.
const Set& setFor(int dpi) {
    static std::map<int, std::unique_ptr<const Set>> sets;
    if (dpi <= 0) dpi = kDefaultDpi;
    auto& set = sets[dpi];
    if (!set) set = std::make_unique<const Set>(makeSet(dpi));
    return *set;
}

}  // namespace

int drawnDpiFor(int dpi) {
    int best = data::kSetDpi[0];
    for (int drawn : data::kSetDpi)
        if (std::abs(drawn - dpi) <= std::abs(best - dpi)) best = drawn;
    return best;
}

const Image& buttonFace(int style, Look look, int dpi) {
    const int s = (style >= 0 && style < data::kFaceStyles - 1) ? style : data::kFaceStyles - 1;
    return setFor(dpi).faces[static_cast<std::size_t>(s)][static_cast<std::size_t>(look)];
}

const Image& progressRail(int dpi) { return setFor(dpi).progressRail; }
const Image& progressThumb(int dpi) { return setFor(dpi).progressThumb; }
const Image& volumeRail(int dpi) { return setFor(dpi).volumeRail; }
const Image& volumeThumb(int dpi) { return setFor(dpi).volumeThumb; }
const Image& scrollRail(int dpi) { return setFor(dpi).scrollRail; }
const Image& scrollThumb(int dpi) { return setFor(dpi).scrollThumb; }
const Image& topLeft(int dpi) { return setFor(dpi).topLeft; }
const Image& topRight(int dpi) { return setFor(dpi).topRight; }
const Image& settingsIcon(int dpi) { return setFor(dpi).settingsIcon; }
const Image& logo(int dpi) { return setFor(dpi).logo; }

const Image& actionIcon(int slot, int dpi) {
    static const Image none;
    return slot >= 0 && slot < data::kActionIcons
               ? setFor(dpi).actionIcons[static_cast<std::size_t>(slot)]
               : none;
}

Image barBackground(Size client, std::int32_t paneLeft, int dpi) {
    Image img;
    if (client.cx <= 0 || client.cy <= 0) return img;
    const std::int32_t w = client.cx;
    const std::int32_t h = client.cy;
    const std::int32_t t = std::max(1, scaleToDpi(1, dpi));  // a line's width
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
    fill(Rect{0, 0, w, t}, data::kBarBorderDark);
    fill(Rect{0, h - t, w, h}, data::kBarBorderDark);
    fill(Rect{0, 0, t, h}, data::kBarBorderDark);
    fill(Rect{w - t, 0, w, h}, data::kBarBorderDark);
    fill(Rect{t, h - 2 * t, w - t, h - t}, data::kBarBorderLight);
    fill(Rect{t, t, 2 * t, h - t}, data::kBarBorderLight);
    fill(Rect{w - 2 * t, t, w - t, h - t}, data::kBarBorderLight);
    if (paneLeft > 2 * t && paneLeft < w - 2 * t) {
        fill(Rect{paneLeft - t, t, paneLeft, h - 2 * t}, data::kBarBorderDark);
        fill(Rect{paneLeft, t, paneLeft + t, h - 2 * t}, data::kBarBorderLight);
    }
    return img;
}

}  // namespace tb::art
