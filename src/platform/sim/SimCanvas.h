// The simulation's drawing surface: rectangles, images and edges are rasterised into an Image;
// text is recorded (string, position, clip, font, colour) and draws no pixels, so frames stay
// independent of any font. Text metrics are fixed: see measureText.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace tb::sim {

// System colours DrawEdge paints with (Windows' default scheme).
namespace syscolor {
constexpr Color k3DFace = rgb(240, 240, 240);
constexpr Color k3DLight = rgb(227, 227, 227);
constexpr Color k3DHighlight = rgb(255, 255, 255);
constexpr Color k3DShadow = rgb(160, 160, 160);
constexpr Color k3DDkShadow = rgb(105, 105, 105);
constexpr Color kWindowFrame = rgb(100, 100, 100);
constexpr Color kWindow = rgb(255, 255, 255);
}  // namespace syscolor

struct TextRecord {
    std::string text;
    Point pos;
    Rect clip;  // the caller's clip, cut to the surface
    FontSpec font;
    Color color = 0;
};

class SimCanvas : public Canvas {
public:
    // A surface of `size`, black like a fresh memory bitmap.
    explicit SimCanvas(Size size);
    // A repaint of `clip` over an earlier frame: the texts drawn wholly inside it are dropped.
    SimCanvas(Image frame, std::vector<TextRecord> texts, const Rect& clip);

    Size size() const override { return {image_.width, image_.height}; }
    Rect clipBox() const override { return clip_; }
    void fillRect(const Rect& r, Color c) override;
    using Canvas::drawImage;
    void drawImage(const Image& img, std::int32_t x, std::int32_t y, const Rect& src) override;
    void drawText(std::string_view ansiText, std::int32_t x, std::int32_t y, const Rect& clip,
                  const FontSpec& font, Color color) override;
    Size measureText(std::string_view ansiText, const FontSpec& font) override;
    void drawEdge(const Rect& r, unsigned edgeType, unsigned flags) override;

    // Fixed metrics: a character is round(6 * height / 13) pixels wide (6 at the default 13 px),
    // one more when bold; a line is round(16 * height / 13) high (16 at 13 px).
    static int charWidth(const FontSpec& font);
    static int lineHeight(const FontSpec& font);
    static Size measure(std::string_view ansiText, const FontSpec& font);

    const Image& image() const { return image_; }
    Image takeImage() { return std::move(image_); }
    const std::vector<TextRecord>& texts() const { return texts_; }
    std::vector<TextRecord> takeTexts() { return std::move(texts_); }

private:
    void put(std::int32_t x, std::int32_t y, Color c);

    Image image_;
    std::vector<TextRecord> texts_;
    Rect clip_;
};

}  // namespace tb::sim
