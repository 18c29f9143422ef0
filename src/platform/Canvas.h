// Drawing surface handed to a window's paint handler. The Win32 host backs it with a memory DC
// (so every paint is double-buffered); the simulation backs it with a pixel buffer.
#pragma once

#include <string_view>

#include "platform/Types.h"

namespace tb {

// DrawEdge's edge and border flags, with Windows' values.
namespace edge {
constexpr unsigned BdrRaisedOuter = 0x0001;
constexpr unsigned BdrSunkenOuter = 0x0002;
constexpr unsigned BdrRaisedInner = 0x0004;
constexpr unsigned BdrSunkenInner = 0x0008;
constexpr unsigned EdgeRaised = BdrRaisedOuter | BdrRaisedInner;
constexpr unsigned EdgeSunken = BdrSunkenOuter | BdrSunkenInner;
constexpr unsigned EdgeEtched = BdrSunkenOuter | BdrRaisedInner;
constexpr unsigned EdgeBump = BdrRaisedOuter | BdrSunkenInner;
constexpr unsigned BfLeft = 0x0001;
constexpr unsigned BfTop = 0x0002;
constexpr unsigned BfRight = 0x0004;
constexpr unsigned BfBottom = 0x0008;
constexpr unsigned BfRect = BfLeft | BfTop | BfRight | BfBottom;
constexpr unsigned BfMiddle = 0x0800;
constexpr unsigned BfFlat = 0x4000;
constexpr unsigned BfMono = 0x8000;
}  // namespace edge

class Canvas {
public:
    virtual ~Canvas() = default;

    // Size of the surface in pixels.
    virtual Size size() const = 0;
    // The part being repainted: drawing outside it changes nothing, and what lies outside
    // keeps the previous paint's pixels.
    virtual Rect clipBox() const { return Rect{0, 0, size().cx, size().cy}; }
    virtual void fillRect(const Rect& r, Color c) = 0;
    // Draws `src` (a part of `img`) with its top-left corner at (x, y).
    virtual void drawImage(const Image& img, std::int32_t x, std::int32_t y, const Rect& src) = 0;
    void drawImage(const Image& img, std::int32_t x, std::int32_t y) {
        drawImage(img, x, y, Rect{0, 0, img.width, img.height});
    }
    // Draws text with a transparent background; (x, y) is the top-left of the text cell.
    // Nothing is drawn outside `clip`.
    virtual void drawText(std::string_view ansiText, std::int32_t x, std::int32_t y,
                          const Rect& clip, const FontSpec& font, Color color) = 0;
    virtual Size measureText(std::string_view ansiText, const FontSpec& font) = 0;
    virtual void drawEdge(const Rect& r, unsigned edgeType, unsigned flags) = 0;
};

}  // namespace tb
