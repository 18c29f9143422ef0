#include "platform/win32/GdiCanvas.h"

#include <climits>
#include <cstring>
#include <vector>

#include "platform/win32/Win32Handles.h"

namespace tb::win32 {

namespace {

int textLength(std::string_view s) {
    return s.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(s.size());
}

// A 32-bit DIB pixel is 0x00RRGGBB; the program's colours are 0x00BBGGRR.
std::uint32_t toDibPixel(Color c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

BITMAPINFO topDownDib(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

}  // namespace

GdiFontCache& GdiFontCache::shared() {
    static GdiFontCache cache;
    return cache;
}

HFONT GdiFontCache::font(const FontSpec& fontSpec) {
    auto key = std::make_tuple(fontSpec.face, fontSpec.heightPx, fontSpec.bold);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    // A negative height asks for the character height, as the font's point size gives it.
    HFONT f = CreateFontA(-fontSpec.heightPx, 0, 0, 0, fontSpec.bold ? FW_BOLD : FW_NORMAL, FALSE,
                          FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, fontSpec.face.c_str());
    if (!f) f = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(std::move(key), f);
    return f;
}

GdiCanvas::GdiCanvas(HDC dc, Size size, const Rect& clip)
    : dc_(dc),
      size_(size),
      clip_(clip.empty() ? Rect{0, 0, size.cx, size.cy}
                         : clip.intersect(Rect{0, 0, size.cx, size.cy})),
      savedState_(SaveDC(dc)) {
    IntersectClipRect(dc_, clip_.left, clip_.top, clip_.right, clip_.bottom);
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiCanvas::~GdiCanvas() {
    if (savedState_) RestoreDC(dc_, savedState_);
}

void GdiCanvas::fillRect(const Rect& r, Color c) {
    if (r.empty()) return;
    RECT rc = toRECT(r);
    SetDCBrushColor(dc_, c & 0xFFFFFF);
    FillRect(dc_, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::drawImage(const Image& img, std::int32_t x, std::int32_t y, const Rect& src) {
    if (img.empty()) return;
    const auto w = static_cast<std::size_t>(img.width);
    if (img.pixels.size() < w * static_cast<std::size_t>(img.height)) return;
    Rect part = src.intersect(Rect{0, 0, img.width, img.height});
    if (part.empty()) return;
    const int dx = x + (part.left - src.left);
    const int dy = y + (part.top - src.top);
    const int pw = part.width();
    const int ph = part.height();

    BITMAPINFO bi = topDownDib(pw, ph);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int row = 0; row < ph; ++row) {
        for (int col = 0; col < pw; ++col) {
            *out++ = toDibPixel(img.at(part.left + col, part.top + row));
        }
    }
    HDC mem = CreateCompatibleDC(dc_);
    HGDIOBJ old = SelectObject(mem, bmp);
    if (img.hasTransparency) {
        TransparentBlt(dc_, dx, dy, pw, ph, mem, 0, 0, pw, ph, img.transparentColor & 0xFFFFFF);
    } else {
        BitBlt(dc_, dx, dy, pw, ph, mem, 0, 0, SRCCOPY);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

void GdiCanvas::drawText(std::string_view ansiText, std::int32_t x, std::int32_t y,
                         const Rect& clip, const FontSpec& font, Color color) {
    if (ansiText.empty() || clip.empty()) return;
    int state = SaveDC(dc_);
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    SelectObject(dc_, GdiFontCache::shared().font(font));
    SetTextColor(dc_, color & 0xFFFFFF);
    TextOutA(dc_, x, y, ansiText.data(), textLength(ansiText));
    RestoreDC(dc_, state);
}

Size GdiCanvas::measureText(std::string_view ansiText, const FontSpec& font) {
    return measureOn(dc_, ansiText, font);
}

Size GdiCanvas::measureOn(HDC dc, std::string_view ansiText, const FontSpec& font) {
    HGDIOBJ old = SelectObject(dc, GdiFontCache::shared().font(font));
    SIZE sz{0, 0};
    if (ansiText.empty()) {
        // The height of an empty text is still a line's, as a label needs it.
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        sz.cy = tm.tmHeight;
    } else {
        GetTextExtentPoint32A(dc, ansiText.data(), textLength(ansiText), &sz);
    }
    SelectObject(dc, old);
    return Size{sz.cx, sz.cy};
}

void GdiCanvas::drawEdge(const Rect& r, unsigned edgeType, unsigned flags) {
    RECT rc = toRECT(r);
    DrawEdge(dc_, &rc, edgeType, flags);
}

}  // namespace tb::win32
