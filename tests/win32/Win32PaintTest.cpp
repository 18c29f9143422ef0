#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

// A GdiCanvas over a 32-bit DIB whose pixels the test reads directly.
class DibSurface {
public:
    DibSurface(int w, int h) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr,
                                0);
        old_ = SelectObject(dc_, bmp_);
    }
    ~DibSurface() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    // The pixel as the program's colour, 0x00BBGGRR.
    Color at(int x, int y) const {
        GdiFlush();
        std::uint32_t p = bits_[y * w_ + x];
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

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kKey = rgb(255, 0, 255);

TEST(Win32Paint, FillsKeepTheirColourChannels) {
    DibSurface s(20, 10);
    win32::GdiCanvas canvas(s.dc(), {20, 10});
    canvas.fillRect({0, 0, 20, 10}, kBlue);
    canvas.fillRect({2, 3, 5, 4}, kRed);
    EXPECT_EQ(s.at(2, 3), kRed);
    EXPECT_EQ(s.at(4, 3), kRed);
    EXPECT_EQ(s.at(5, 3), kBlue) << "right edge is outside";
    EXPECT_EQ(s.at(2, 4), kBlue) << "bottom edge is outside";
    EXPECT_EQ(s.count(kRed, {0, 0, 20, 10}), 3);
}

TEST(Win32Paint, ImagesDrawTheirPartAndSkipTheTransparentColour) {
    // 3x2 image: top row red, key, blue; bottom row blue, red, key.
    Image img;
    img.width = 3;
    img.height = 2;
    img.pixels = {kRed, kKey, kBlue, kBlue, kRed, kKey};
    const Color ground = rgb(0, 128, 0);
    DibSurface s(10, 10);
    win32::GdiCanvas canvas(s.dc(), {10, 10});
    canvas.fillRect({0, 0, 10, 10}, ground);

    canvas.drawImage(img, 1, 1);
    EXPECT_EQ(s.at(1, 1), kRed);
    EXPECT_EQ(s.at(2, 1), kKey) << "without transparency the key colour is drawn";
    EXPECT_EQ(s.at(3, 2), kKey);

    img.hasTransparency = true;
    img.transparentColor = kKey;
    canvas.drawImage(img, 5, 5);
    EXPECT_EQ(s.at(5, 5), kRed);
    EXPECT_EQ(s.at(6, 5), ground);
    EXPECT_EQ(s.at(7, 5), kBlue);
    EXPECT_EQ(s.at(6, 6), kRed);
    EXPECT_EQ(s.at(7, 6), ground);

    // A part of the image, partly off the image: only the existing pixels land, in place.
    canvas.fillRect({0, 0, 10, 10}, ground);
    canvas.drawImage(img, 0, 0, Rect{1, 1, 5, 5});
    EXPECT_EQ(s.at(0, 0), kRed);
    EXPECT_EQ(s.at(1, 0), ground);
    EXPECT_EQ(s.count(ground, {0, 0, 10, 10}), 99);
}

TEST(Win32Paint, TextStaysInsideItsClipAndMeasuresLikeItDraws) {
    DibSurface s(200, 40);
    win32::GdiCanvas canvas(s.dc(), {200, 40});
    const Color white = rgb(255, 255, 255);
    canvas.fillRect({0, 0, 200, 40}, 0);
    FontSpec font;  // Tahoma, 13 px
    const Size size = canvas.measureText("Oxalmo Tunebalk 4", font);
    EXPECT_GT(size.cx, 60);
    EXPECT_GE(size.cy, 13);
    EXPECT_LT(size.cy, 24);
    FontSpec bold = font;
    bold.bold = true;
    EXPECT_GT(canvas.measureText("Oxalmo Tunebalk 4", bold).cx, size.cx - 1);
    EXPECT_EQ(canvas.measureText("", font).cx, 0);

    const Rect clip{0, 0, 40, 40};
    canvas.drawText("Oxalmo Tunebalk 4", 2, 2, clip, font, white);
    EXPECT_GT(s.count(white, clip), 10);
    EXPECT_EQ(s.count(white, {40, 0, 200, 40}), 0) << "text outside its clip";

    win32::Win32Desktop desktop;
    EXPECT_EQ(desktop.measureText("Oxalmo Tunebalk 4", font), size);
}

struct Painter : WindowHandler {
    int paints = 0;
    void onPaint(Canvas& c) override {
        ++paints;
        c.fillRect({0, 0, c.size().cx, c.size().cy}, kBlue);
        c.fillRect({10, 10, 20, 20}, kRed);
    }
};

TEST(Win32Paint, AWindowPaintsThroughItsHandlerWithoutErasing) {
    win32::Win32Desktop desktop;
    Painter painter;
    WindowSpec windowSpec;
    windowSpec.className = "TbTestPaint";
    windowSpec.bounds = Rect::fromXYWH(100, 100, 60, 40);
    windowSpec.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    Hwnd h = desktop.createWindow(windowSpec, &painter);
    ASSERT_NE(h, 0u);
    HWND hwnd = reinterpret_cast<HWND>(h);
    desktop.showWindow(h, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(pumpUntil(desktop, [&] { return painter.paints > 0; }));
    // Erasing would paint the class brush first and flicker; the window answers it itself.
    HDC wdc = GetDC(hwnd);
    EXPECT_NE(SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(wdc), 0), 0);
    EXPECT_EQ(GetPixel(wdc, 12, 12), kRed);
    EXPECT_EQ(GetPixel(wdc, 30, 30), kBlue);
    ReleaseDC(hwnd, wdc);

    const int before = painter.paints;
    desktop.invalidate(h);
    EXPECT_TRUE(pumpUntil(desktop, [&] { return painter.paints > before; }));
}

}  // namespace
}  // namespace tb::test
