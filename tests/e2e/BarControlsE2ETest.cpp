// The bar's own controls in the real tunebalk.exe: a screenshot shows every picture where the
// design puts it, and real mouse input works the image buttons and the sliders.
#include <gtest/gtest.h>

#include "E2eTools.h"
#include "art/Artwork.h"
#include "support/Dib.h"

namespace tb::e2e {
namespace {

using art::Look;

bool similar(Color a, Color b, int tolerance = 3) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

// Opaque pixels of `img` (within `part`) that the shot does not show at (x, y).
int mismatches(const test::Dib& shot, const Image& img, int x, int y, RECT part = {}) {
    if (part.right == 0) part = {0, 0, img.width, img.height};
    int bad = 0;
    for (int iy = part.top; iy < part.bottom; ++iy)
        for (int ix = part.left; ix < part.right; ++ix) {
            const Color want = img.at(ix, iy);
            if (!img.hasTransparency || want != img.transparentColor)
                bad += !similar(shot.at(x + ix, y + iy), want);
        }
    return bad;
}

TEST(BarControls, EveryPictureIsWhereTheDesignPutsItAndFollowsTheRealPointer) {
    pointerAway();
    TunebalkRun run("controls", "");
    const HWND bar = run.bar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(slideIn(bar));
    // Waits until the screen shows `img` at the client point.
    const auto shows = [&](const Image& img, int x, int y) {
        return waitUntil([&] { return mismatches(test::Dib(windowRect(bar)), img, x, y) == 0; },
                         10000);
    };
    ASSERT_TRUE(shows(art::topLeft(), 0, 0));

    const test::Dib shot(windowRect(bar));
    const struct {
        int style, leftTwips;
    } buttons[] = {{0, 120},  {1, 435},  {2, 750},  {3, 1065}, {4, 1380},
                   {6, 1920}, {5, 2235}, {7, 2760}, {8, 3280}, {9, 3600}};
    const int buttonTop = px(1080);
    for (const auto& b : buttons)
        EXPECT_EQ(
            mismatches(shot, art::buttonFace(b.style, Look::Normal), px(b.leftTwips), buttonTop), 0)
            << b.style;
    // Sliders: the progress thumb at 0, the volume thumb at 255; the rails around them.
    const int progressX = px(90), sliderY = px(650), volumeX = px(2985);
    EXPECT_EQ(mismatches(shot, art::progressRail(), progressX, sliderY, {16, 0, 184, 11}), 0);
    EXPECT_EQ(mismatches(shot, art::progressThumb(), progressX, sliderY + 1), 0);
    EXPECT_EQ(mismatches(shot, art::volumeRail(), volumeX, sliderY, {0, 0, 46, 10}), 0);
    EXPECT_EQ(mismatches(shot, art::volumeThumb(), volumeX + 48, sliderY + 1), 0);
    // The playlist pane's scroll thumb at the top of its rail, beside the rows.
    EXPECT_EQ(mismatches(shot, art::scrollThumb(), px(4060) + px(3720) + 3, px(120)), 0);
    // The right corner (partly under the scroll thumb), the back colour between the controls.
    const Image& corner = art::topRight();
    EXPECT_EQ(
        mismatches(shot, corner, shot.width() - corner.width, 0, {0, 0, corner.width, px(120)}), 0);
    EXPECT_TRUE(similar(shot.at(px(2900), px(700)), art::kBarBackColor));
    // The time label's text, in the bar's text colour.
    int textPixels = 0;
    for (int y = px(360); y < px(360 + 255); ++y)
        for (int x = px(1440); x < px(1440 + 1335); ++x)
            textPixels += similar(shot.at(x, y), art::kTextColor, 40);
    EXPECT_GT(textPixels, 10);

    // btnPlay under the real pointer: hover, pressed, hover; off the bar, without another move
    // reaching the button, the poll notices.
    const RECT r = windowRect(bar);
    const auto to = [&](int x, int y) { return POINT{r.left + x, r.top + y}; };
    const int playX = px(435);
    send({test::mouseEvent(MOUSEEVENTF_MOVE, to(playX + 10, buttonTop + 11))});
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Hover), playX, buttonTop));
    send({test::mouseEvent(MOUSEEVENTF_LEFTDOWN)});
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Pressed), playX, buttonTop));
    send({test::mouseEvent(MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Hover), playX, buttonTop));
    send({test::mouseEvent(MOUSEEVENTF_MOVE, to(playX + 10, 400))});
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Normal), playX, buttonTop));

    // A press on the volume rail's left end jumps the thumb to 0; dragging 28 pixels on, below
    // the slider (the capture keeps the drag), makes it stand for 127.5, which rounds to 128 and
    // is drawn 24 pixels along.
    ASSERT_TRUE(slideIn(bar));
    send({test::mouseEvent(MOUSEEVENTF_MOVE, to(volumeX + 3, sliderY + 5)),
          test::mouseEvent(MOUSEEVENTF_LEFTDOWN)});
    EXPECT_TRUE(shows(art::volumeThumb(), volumeX, sliderY + 1));
    send({test::mouseEvent(MOUSEEVENTF_MOVE, to(volumeX + 31, sliderY + 40))});
    EXPECT_TRUE(shows(art::volumeThumb(), volumeX + 24, sliderY + 1));
    send({test::mouseEvent(MOUSEEVENTF_LEFTUP),
          test::mouseEvent(MOUSEEVENTF_MOVE, to(volumeX + 31, 400))});
    Sleep(300);  // time for a stray move after the release to show
    EXPECT_EQ(mismatches(test::Dib(windowRect(bar)), art::volumeThumb(), volumeX + 24, sliderY + 1),
              0);
}

}  // namespace
}  // namespace tb::e2e
