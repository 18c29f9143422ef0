// A 32-bit top-down bitmap selected into a memory DC, whose pixels a test reads directly: what a
// canvas painted into it, or what an area of the screen showed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/Types.h"

namespace tb::test {

class Dib {
public:
    Dib(int w, int h) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr,
                                0);
        old_ = SelectObject(dc_, bmp_);
    }
    // What the screen shows in `area`.
    explicit Dib(const RECT& area) : Dib(area.right - area.left, area.bottom - area.top) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc_, 0, 0, w_, h_, screen, area.left, area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    ~Dib() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return w_; }
    // The pixel in the program's colours (0x00BBGGRR); white beyond the edges.
    Color at(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0xFFFFFFFF;
        GdiFlush();
        const std::uint32_t p = bits_[y * w_ + x];  // 0x00RRGGBB in a DIB
        return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int count(Color c, const Rect& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
        return n;
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace tb::test
