// Drawing surface handed to a window's paint handler. The Win32 host backs it with a memory DC
// (so every paint is double-buffered); the simulation backs it with a pixel buffer.
#pragma once

#include <string_view>

#include "platform/Types.h"

namespace tb {

#include "platform/WindowsNamesBegin.h"

// DrawEdge's edge and border flags, with Windows' values.
namespace edge {
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x0800;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;
}  // namespace edge

#include "platform/WindowsNamesEnd.h"

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
