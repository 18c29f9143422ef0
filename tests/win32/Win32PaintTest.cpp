// The GDI canvas that every window of the program paints through, drawing into a bitmap whose
// pixels the test reads.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Desktop.h"
#include "support/Dib.h"

namespace tb::test {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kKey = rgb(255, 0, 255);
constexpr Color kGround = rgb(0, 128, 0);
constexpr Color kWhite = rgb(255, 255, 255);

TEST(Win32Paint, FillsImagesAndTextLandWithTheirColoursInsideTheirBounds) {
    Dib s(200, 40);
    win32::GdiCanvas canvas(s.dc(), {200, 40});
    canvas.fillRect({0, 0, 200, 40}, kGround);
    canvas.fillRect({2, 3, 5, 4}, kRed);
    EXPECT_EQ(s.count(kRed, {0, 0, 10, 10}), 3) << "right and bottom edges are outside";
    EXPECT_EQ(s.at(4, 3), kRed) << "red and blue swapped";

    // 3x2 image: top row red, key, blue; bottom row blue, red, key.
    Image img{.width = 3, .height = 2, .pixels = {kRed, kKey, kBlue, kBlue, kRed, kKey}};
    canvas.drawImage(img, 10, 0);
    EXPECT_EQ(s.at(11, 0), kKey) << "without transparency the key colour is drawn";
    img.hasTransparency = true;
    img.transparentColor = kKey;
    canvas.drawImage(img, 20, 0);
    const Color drawn[2][3] = {{kRed, kGround, kBlue}, {kBlue, kRed, kGround}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(s.at(20 + x, y), drawn[y][x]) << x << "," << y;
    // A part reaching past the image: only its existing pixels land, in place.
    canvas.drawImage(img, 30, 0, Rect{1, 1, 5, 5});
    EXPECT_EQ(s.at(30, 0), kRed);
    EXPECT_EQ(s.count(kGround, {30, 0, 40, 10}), 99);

    FontSpec font;
    const Size size = canvas.measureText("Oxalmo Tunebalk 4", font);
    EXPECT_TRUE(size.cx > 60 && size.cy >= 13 && size.cy < 24) << size.cx << "x" << size.cy;
    win32::Win32Desktop desktop;
    EXPECT_EQ(desktop.measureText("Oxalmo Tunebalk 4", font), size) << "measures as it draws";
    const Rect clip{40, 10, 80, 40};
    canvas.drawText("Oxalmo Tunebalk 4", 42, 12, clip, font, kWhite);
    EXPECT_GT(s.count(kWhite, clip), 10);
    EXPECT_EQ(s.count(kWhite, {80, 0, 200, 40}), 0) << "text outside its clip";
}

}  // namespace
}  // namespace tb::test
