// The bar's controls on the real bar window in the simulated desktop: drawn where the design puts
// them, reached by the desktop's mouse and keys, and cheap when nothing happens.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ControlTestHost.h"
#include "app/AppContext.h"
#include "app/frmMain.h"
#include "art/Artwork.h"

namespace tb {
namespace {

using art::Look;

void writePpm(const Image& img, const char* path) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", img.width, img.height);
    for (Color c : img.pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(colorR(c)),
                                      static_cast<unsigned char>(colorG(c)),
                                      static_cast<unsigned char>(colorB(c))};
        std::fwrite(rgb, 1, 3, f);
    }
    std::fclose(f);
}

class BarControlsSim : public ::testing::Test {
protected:
    BarControlsSim() {
        desk.setExeFolder("C:\\Apps");
        bar.Load();
        bar.Show();
        desk.advance(50);
        origin = desk.clientRect(bar.hWnd());
    }

    // Screen point of a client point of the bar.
    Point at(std::int32_t x, std::int32_t y) const {
        return Point{origin.left + x, origin.top + y};
    }
    // Pixels of `img` (opaque ones) that the last frame does not show at client (x, y).
    int mismatches(const Image& img, std::int32_t x, std::int32_t y, std::int32_t rows = 0) {
        const Image& f = desk.frame(bar.hWnd());
        int bad = 0;
        for (std::int32_t iy = 0; iy < (rows ? rows : img.height); ++iy)
            for (std::int32_t ix = 0; ix < img.width; ++ix) {
                Color want = img.at(ix, iy);
                if (img.hasTransparency && want == img.transparentColor) continue;
                if (x + ix >= f.width || y + iy >= f.height || f.at(x + ix, y + iy) != want) ++bad;
            }
        return bad;
    }
    int tenMsTimers() {
        int n = 0;
        for (const auto& t : desk.activeTimers())
            if (t.intervalMs == Click::kHoverPollMs) ++n;
        return n;
    }

    test::CountingDesktop desk;
    AppContext app{desk};
    frmMain bar{app};
    Rect origin;
};

TEST_F(BarControlsSim, EveryControlIsDrawnAtItsDesignPosition) {
    struct Probe {
        const char* name;
        const Image& img;
        std::int32_t x, y;
        std::int32_t rows = 0;  // 0: the whole picture
    } probes[] = {
        {"btnPrev", art::buttonFace(0, Look::Normal), 8, 72},
        {"btnPlay", art::buttonFace(1, Look::Normal), 29, 72},
        {"btnPauze", art::buttonFace(2, Look::Normal), 50, 72},
        {"btnStop", art::buttonFace(3, Look::Normal), 71, 72},
        {"btnNext", art::buttonFace(4, Look::Normal), 92, 72},
        {"btnVerberg", art::buttonFace(6, Look::Normal), 128, 72},
        {"btnHerstel", art::buttonFace(5, Look::Normal), 149, 72},
        {"btnMSN", art::buttonFace(7, Look::Normal), 184, 72},
        {"btnInstellingen", art::buttonFace(8, Look::Normal), 219, 72},
        {"btnAfsluiten", art::buttonFace(9, Look::Normal), 240, 72},
        {"sliderProgress thumb at 0", art::progressThumb(), 6, 44},
        {"sliderVolume thumb at 255", art::volumeThumb(), 199 + 48, 44},
        {"Scroll thumb at the top", art::scrollThumb(), 271 + 248 + 3, 8},
        {"imgTopLeft", art::topLeft(), 0, 0},
        {"imgTopRight above the scroll bar", art::topRight(), 542 - 14, 0, 8},
    };
    for (const Probe& p : probes) EXPECT_EQ(mismatches(p.img, p.x, p.y, p.rows), 0) << p.name;
    if (const char* dump = std::getenv("TB_DUMP_BAR")) writePpm(desk.frame(bar.hWnd()), dump);
    EXPECT_EQ(bar.sliderProgress.bounds(), Rect::fromXYWH(6, 43, 184, 11));
    EXPECT_EQ(bar.sliderVolume.bounds(), Rect::fromXYWH(199, 43, 62, 10));
    EXPECT_EQ(bar.Playlist1.bounds(), Rect::fromXYWH(271, 0, 273, 109));
}

TEST_F(BarControlsSim, AHoverPollRunsOnlyWhileThePointerMayBeOverAButton) {
    desk.advance(5000);
    EXPECT_EQ(tenMsTimers(), 0);  // an idle bar polls nothing

    desk.mouse(at(60, 80), MouseAction::Move);  // over btnPauze
    desk.advance(10);
    EXPECT_EQ(mismatches(art::buttonFace(2, Look::Hover), 50, 72), 0);
    EXPECT_EQ(tenMsTimers(), 1);

    const int queries = desk.cursorQueries, lookups = desk.windowLookups;
    desk.advance(100);
    EXPECT_EQ(desk.cursorQueries - queries, 10);  // one of each per tick
    EXPECT_EQ(desk.windowLookups - lookups, 10);

    desk.setCursorPos(Point{origin.left + 60, 500});  // off the bar; no move reaches it
    desk.advance(10);
    EXPECT_EQ(mismatches(art::buttonFace(2, Look::Normal), 50, 72), 0);
    EXPECT_EQ(tenMsTimers(), 0);
}

TEST_F(BarControlsSim, ASliderDragFollowsThePointerAndRepaintsOnlyOnNewValues) {
    // 170 pixels for the values 0 to 10: 17 pixels a step.
    bar.sliderProgress.setMax(10);
    desk.mouse(at(6 + 3, 47), MouseAction::Down, mouse::Left);  // on the thumb at 0
    desk.advance(20);
    const int paints = desk.paintCount(bar.hWnd());
    for (int x = 4; x <= 11; ++x) desk.mouse(at(6 + x, 47), MouseAction::Move);
    desk.advance(20);
    EXPECT_EQ(desk.paintCount(bar.hWnd()), paints);
    EXPECT_EQ(bar.sliderProgress.Value(), 0);
    desk.mouse(at(6 + 20, 47), MouseAction::Move);  // one step on
    desk.advance(20);
    EXPECT_EQ(desk.paintCount(bar.hWnd()), paints + 1);
    EXPECT_EQ(bar.sliderProgress.Value(), 1);

    desk.mouse(at(6 + 400, 300), MouseAction::Move);  // far outside the bar: held by capture
    desk.advance(20);
    EXPECT_EQ(bar.sliderProgress.Value(), 10);
    EXPECT_EQ(mismatches(art::progressThumb(), 6 + 170, 44), 0);
    desk.mouse(at(6 + 400, 300), MouseAction::Up, mouse::Left);
    EXPECT_EQ(desk.capture(), 0u);
}

TEST_F(BarControlsSim, TheWheelKeyCodesReachThePlaylistThroughTheBarWindow) {
    for (int i = 0; i < 8; ++i)
        bar.Playlist1.setItemCaption(static_cast<std::int16_t>(i), "Track " + std::to_string(i));
    bar.Playlist1.RedrawItems();
    ASSERT_EQ(bar.Playlist1.hWnd(), bar.hWnd());
    desk.keyDown(bar.Playlist1.hWnd(), Playlist::kKeyScrollDown);
    desk.keyDown(bar.Playlist1.hWnd(), Playlist::kKeyScrollDown);
    EXPECT_EQ(bar.Playlist1.TopIndex(), 2);
    desk.keyDown(bar.Playlist1.hWnd(), Playlist::kKeyScrollUp);
    EXPECT_EQ(bar.Playlist1.TopIndex(), 1);
    desk.advance(20);
    bool shown = false;
    for (const auto& t : desk.texts(bar.hWnd()))
        if (t.text == "Track 1" && t.pos == Point{279, 8} && t.color == Playlist::kItemColor)
            shown = true;
    EXPECT_TRUE(shown);
}

TEST_F(BarControlsSim, ADoubleClickOnARowNamesItsEntry) {
    for (int i = 0; i < 3; ++i) bar.Playlist1.AddItem("Track " + std::to_string(i));
    std::vector<int> chosen;
    bar.Playlist1.onDblClickItem = [&](std::int16_t& i) { chosen.push_back(i); };
    desk.mouse(at(300, 8 + 16 * 2 + 4), MouseAction::DoubleClick, mouse::Left);
    desk.mouse(at(300, 8 + 16 * 2 + 4), MouseAction::Up, mouse::Left);
    EXPECT_EQ(chosen, (std::vector<int>{2}));
}

}  // namespace
}  // namespace tb
