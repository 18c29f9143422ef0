// The Canvas over a GDI device context; a window's paint hands it the memory DC of its back
// buffer.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/Canvas.h"

namespace tb::win32 {

// Fonts live as long as the process: a bar uses a handful, and every paint wants them again.
class GdiFontCache {
public:
    static GdiFontCache& shared();
    HFONT font(const FontSpec& fontSpec);

private:
    GdiFontCache() = default;
    std::map<std::tuple<std::string, int, bool>, HFONT> fonts_;
};

class GdiCanvas : public Canvas {
public:
    // Drawing reaches only `clip` (the whole surface when empty).
    GdiCanvas(HDC dc, Size size, const Rect& clip = {});
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    Size size() const override { return size_; }
    Rect clipBox() const override { return clip_; }
    void fillRect(const Rect& r, Color c) override;
    void drawImage(const Image& img, std::int32_t x, std::int32_t y, const Rect& src) override;
    using Canvas::drawImage;
    void drawText(std::string_view ansiText, std::int32_t x, std::int32_t y, const Rect& clip,
                  const FontSpec& font, Color color) override;
    Size measureText(std::string_view ansiText, const FontSpec& font) override;
    void drawEdge(const Rect& r, unsigned edgeType, unsigned flags) override;

    // GetTextExtentPoint32A of `ansiText` in `font` on any DC.
    static Size measureOn(HDC dc, std::string_view ansiText, const FontSpec& font);

private:
    HDC dc_;
    Size size_;
    Rect clip_;
    int savedState_;
};

}  // namespace tb::win32
