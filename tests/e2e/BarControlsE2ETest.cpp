// The bar's own controls in the real tunebalk.exe: a screenshot shows every picture where the
// design puts it, and real mouse input (SendInput) works the image buttons and the sliders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "E2eTools.h"
#include "art/Artwork.h"

namespace tb::e2e {
namespace {

using art::Look;

// What the screen shows of a window, in the program's colours (0x00BBGGRR).
class Shot {
public:
    explicit Shot(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        w_ = r.right - r.left;
        h_ = r.bottom - r.top;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w_;
        bi.bmiHeader.biHeight = -h_;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        px_.resize(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_));
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, w_, h_);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w_, h_, screen, r.left, r.top, SRCCOPY);
        SelectObject(mem, old);
        GetDIBits(mem, bmp, 0, static_cast<UINT>(h_), px_.data(), &bi, DIB_RGB_COLORS);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }
    int width() const { return w_; }
    Color at(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0xFFFFFFFF;
        const std::uint32_t p = px_[static_cast<std::size_t>(y * w_ + x)];  // 0x00RRGGBB
        return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Opaque pixels of `img` (within `part`) that the screen does not show at (x, y).
    int mismatches(const Image& img, int x, int y, RECT part = {0, 0, 0, 0}) const {
        if (part.right == 0) part = {0, 0, img.width, img.height};
        int bad = 0;
        for (int iy = part.top; iy < part.bottom; ++iy)
            for (int ix = part.left; ix < part.right; ++ix) {
                const Color want = img.at(ix, iy);
                if (img.hasTransparency && want == img.transparentColor) continue;
                bad += !close(at(x + ix, y + iy), want);
            }
        return bad;
    }
    static bool close(Color a, Color b, int tolerance = 3) {
        for (int shift : {0, 8, 16}) {
            const int d =
                static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
            if (d > tolerance || d < -tolerance) return false;
        }
        return true;
    }

private:
    int w_ = 0, h_ = 0;
    std::vector<std::uint32_t> px_;
};

const struct {
    const char* name;
    int style;
    int leftTwips;
} kButtons[] = {
    {"btnPrev", 0, 120},       {"btnPlay", 1, 435},  {"btnPauze", 2, 750},
    {"btnStop", 3, 1065},      {"btnNext", 4, 1380}, {"btnVerberg", 6, 1920},
    {"btnHerstel", 5, 2235},   {"btnMSN", 7, 2760},  {"btnInstellingen", 8, 3280},
    {"btnAfsluiten", 9, 3600},
};
constexpr int kButtonTop = 1080;

class BarControls : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
        bar = run.bar();
        ASSERT_NE(bar, nullptr);
        // A docked bar slides down when the pointer touches its strip.
        RECT r{};
        GetWindowRect(bar, &r);
        SetCursorPos((r.left + r.right) / 2, 0);
        ASSERT_TRUE(waitUntil([&] { return GetWindowRect(bar, &r) && r.top == 0; }, 10000));
        ASSERT_TRUE(shows(art::topLeft(), 0, 0));
    }
    // Real input: an absolute move, as a user's mouse makes it.
    void pointerTo(int clientX, int clientY) {
        RECT r{};
        GetWindowRect(bar, &r);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(r.left + clientX, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        in.mi.dy = MulDiv(r.top + clientY, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
    }
    void leftButton(bool down) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        SendInput(1, &in, sizeof in);
    }
    // Waits until the screen shows `img` at the client point.
    bool shows(const Image& img, int x, int y) {
        return waitUntil([&] { return Shot(bar).mismatches(img, x, y) == 0; }, 10000);
    }

    TunebalkRun run{"controls", ""};
    HWND bar = nullptr;
};

TEST_F(BarControls, EveryPictureIsDrawnWhereTheDesignPutsIt) {
    const Shot shot(bar);
    for (const auto& b : kButtons) {
        const Image& face = art::buttonFace(b.style, Look::Normal);
        EXPECT_EQ(shot.mismatches(face, px(b.leftTwips), px(kButtonTop)), 0) << b.name;
    }
    // Sliders: the progress thumb at 0, the volume thumb at 255; the rails around them.
    const int progressX = px(90), sliderY = px(650), volumeX = px(2985);
    EXPECT_EQ(shot.mismatches(art::progressRail(), progressX, sliderY, {16, 0, 184, 11}), 0);
    EXPECT_EQ(shot.mismatches(art::progressThumb(), progressX, sliderY + 1), 0);
    EXPECT_EQ(shot.mismatches(art::volumeRail(), volumeX, sliderY, {0, 0, 46, 10}), 0);
    EXPECT_EQ(shot.mismatches(art::volumeThumb(), volumeX + 48, sliderY + 1), 0);
    // The playlist pane's scroll thumb at the top of its rail, beside the rows.
    EXPECT_EQ(shot.mismatches(art::scrollThumb(), px(4060) + px(3720) + 3, px(120)), 0);
    // The right corner (partly under the scroll thumb), the back colour between the controls.
    const Image& corner = art::topRight();
    EXPECT_EQ(
        shot.mismatches(corner, shot.width() - corner.width, 0, {0, 0, corner.width, px(120)}), 0);
    EXPECT_TRUE(Shot::close(shot.at(px(2900), px(700)), art::kBarBackColor));
    // The time label's text, in the bar's text colour.
    int textPixels = 0;
    for (int y = px(360); y < px(360 + 255); ++y)
        for (int x = px(1440); x < px(1440 + 1335); ++x)
            textPixels += Shot::close(shot.at(x, y), art::kTextColor, 40);
    EXPECT_GT(textPixels, 10);
}

TEST_F(BarControls, AButtonFollowsTheRealPointer) {
    const int x = px(kButtons[1].leftTwips), y = px(kButtonTop);  // btnPlay
    pointerTo(x + 10, y + 11);
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Hover), x, y));
    leftButton(true);
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Pressed), x, y));
    leftButton(false);
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Hover), x, y));
    // Off the bar, without another move reaching the button: the poll notices.
    pointerTo(x + 10, 400);
    EXPECT_TRUE(shows(art::buttonFace(1, Look::Normal), x, y));
}

TEST_F(BarControls, TheVolumeSliderFollowsARealDrag) {
    const int x = px(2985), y = px(650);
    // A press on the rail's left end jumps the thumb to 0; dragging 28 pixels on makes the thumb
    // stand for 127.5, which rounds to 128 and is drawn 24 pixels along.
    pointerTo(x + 3, y + 5);
    leftButton(true);
    EXPECT_TRUE(shows(art::volumeThumb(), x, y + 1));
    pointerTo(x + 31, y + 40);  // below the slider: the capture keeps the drag
    EXPECT_TRUE(shows(art::volumeThumb(), x + 24, y + 1));
    leftButton(false);
    pointerTo(x + 31, 400);
    Sleep(300);  // time for a stray move after the release to show
    EXPECT_EQ(Shot(bar).mismatches(art::volumeThumb(), x + 24, y + 1), 0);
}

}  // namespace
}  // namespace tb::e2e
