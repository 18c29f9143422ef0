#include "platform/sim/SimCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace tb::sim {

SimCanvas::SimCanvas(Size size) {
    image_.width = std::max(0, size.cx);
    image_.height = std::max(0, size.cy);
    image_.pixels.assign(
        static_cast<std::size_t>(image_.width) * static_cast<std::size_t>(image_.height), 0);
    clip_ = Rect{0, 0, image_.width, image_.height};
}

SimCanvas::SimCanvas(Image frame, std::vector<TextRecord> texts, const Rect& clip)
    : image_(std::move(frame)), texts_(std::move(texts)) {
    clip_ = clip.intersect(Rect{0, 0, image_.width, image_.height});
    // A text partly outside stays: its pixels there are still on the screen.
    std::erase_if(texts_,
                  [this](const TextRecord& t) { return t.clip.intersect(clip_) == t.clip; });
}

void SimCanvas::put(std::int32_t x, std::int32_t y, Color c) {
    if (!clip_.contains(Point{x, y})) return;
    image_.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width) +
                  static_cast<std::size_t>(x)] = c;
}

void SimCanvas::fillRect(const Rect& r, Color c) {
    const Rect box = r.intersect(clip_);
    for (std::int32_t y = box.top; y < box.bottom; ++y) {
        for (std::int32_t x = box.left; x < box.right; ++x) put(x, y, c);
    }
}

void SimCanvas::drawImage(const Image& img, std::int32_t x, std::int32_t y, const Rect& src) {
    if (img.empty() || img.pixels.size() < static_cast<std::size_t>(img.width) *
                                               static_cast<std::size_t>(img.height)) {
        return;
    }
    const Rect from = src.intersect(Rect{0, 0, img.width, img.height});
    // Where the source part was clipped on the left or top, the picture moves with it.
    const std::int32_t dx = x + (from.left - src.left);
    const std::int32_t dy = y + (from.top - src.top);
    for (std::int32_t sy = from.top; sy < from.bottom; ++sy) {
        for (std::int32_t sx = from.left; sx < from.right; ++sx) {
            const Color c = img.at(sx, sy);
            if (img.hasTransparency && c == img.transparentColor) continue;
            put(dx + (sx - from.left), dy + (sy - from.top), c);
        }
    }
}

void SimCanvas::drawText(std::string_view ansiText, std::int32_t x, std::int32_t y,
                         const Rect& clip, const FontSpec& font, Color color) {
    if (clip.intersect(clip_).empty()) return;
    TextRecord t{std::string(ansiText), Point{x, y},
                 clip.intersect(Rect{0, 0, image_.width, image_.height}), font, color};
    // The same text drawn again where it was leaves one text on the screen.
    std::erase_if(texts_, [&t](const TextRecord& o) {
        return o.text == t.text && o.pos == t.pos && o.clip == t.clip && o.color == t.color &&
               o.font.face == t.font.face && o.font.heightPx == t.font.heightPx &&
               o.font.bold == t.font.bold;
    });
    texts_.push_back(std::move(t));
}

int SimCanvas::charWidth(const FontSpec& font) {
    const int h = std::abs(font.heightPx);
    return std::max(1, (6 * h + 6) / 13) + (font.bold ? 1 : 0);
}

int SimCanvas::lineHeight(const FontSpec& font) {
    const int h = std::abs(font.heightPx);
    return std::max(1, (16 * h + 6) / 13);
}

Size SimCanvas::measure(std::string_view ansiText, const FontSpec& font) {
    return {static_cast<std::int32_t>(ansiText.size()) * charWidth(font), lineHeight(font)};
}

Size SimCanvas::measureText(std::string_view ansiText, const FontSpec& font) {
    return measure(ansiText, font);
}

void SimCanvas::drawEdge(const Rect& r, unsigned edgeType, unsigned flags) {
    using namespace edge;
    Color ltOuter = 0, rbOuter = 0, ltInner = 0, rbInner = 0;
    const bool outer = (edgeType & (BdrRaisedOuter | BdrSunkenOuter)) != 0;
    const bool inner = (edgeType & (BdrRaisedInner | BdrSunkenInner)) != 0;
    if (flags & BfMono) {
        ltOuter = rbOuter = syscolor::kWindowFrame;
        ltInner = rbInner = syscolor::kWindow;
    } else if (flags & BfFlat) {
        ltOuter = rbOuter = syscolor::k3DShadow;
        ltInner = rbInner = syscolor::k3DFace;
    } else {
        const bool raisedOuter = (edgeType & BdrRaisedOuter) != 0;
        ltOuter = raisedOuter ? syscolor::k3DLight : syscolor::k3DShadow;
        rbOuter = raisedOuter ? syscolor::k3DDkShadow : syscolor::k3DHighlight;
        const bool raisedInner = (edgeType & BdrRaisedInner) != 0;
        ltInner = raisedInner ? syscolor::k3DHighlight : syscolor::k3DDkShadow;
        rbInner = raisedInner ? syscolor::k3DShadow : syscolor::k3DLight;
    }
    Rect box = r;
    // Left and top first; the bottom and right lines then own the two far corners.
    auto ring = [&](Color lt, Color rb) {
        if (box.empty()) return;
        if (flags & BfTop) fillRect({box.left, box.top, box.right, box.top + 1}, lt);
        if (flags & BfLeft) fillRect({box.left, box.top, box.left + 1, box.bottom}, lt);
        if (flags & BfBottom) fillRect({box.left, box.bottom - 1, box.right, box.bottom}, rb);
        if (flags & BfRight) fillRect({box.right - 1, box.top, box.right, box.bottom}, rb);
        if (flags & BfLeft) ++box.left;
        if (flags & BfTop) ++box.top;
        if (flags & BfRight) --box.right;
        if (flags & BfBottom) --box.bottom;
    };
    if (outer) ring(ltOuter, rbOuter);
    if (inner) ring(ltInner, rbInner);
    if ((flags & BfMiddle) && !box.empty()) {
        fillRect(box, (flags & BfMono) ? syscolor::kWindow : syscolor::k3DFace);
    }
}

}  // namespace tb::sim
