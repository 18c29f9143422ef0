// The bar's controls on the real bar window in the simulated desktop: drawn where the design puts
// them, reached by the desktop's mouse and keys, and cheap when nothing happens.
#include "art/Artwork.h"
#include "support/BarScene.h"

namespace tb {
namespace {

using art::Look;
using enum MouseAction;

class BarControlsSim : public ::testing::Test, public test::BarScene {
protected:
    BarControlsSim() : BarScene(false) {
        bar.Load();
        bar.Show();
        desk.setCursorPos(at(5, 95));  // on the strip: the bar slides into view
        desk.advance(400);             // and the design title has come to rest
    }
    int mismatches(const Image& img, Point at, std::int32_t rows = 0) {
        return test::mismatches(desk.frame(bar.hWnd()), img, at, rows);
    }
    int tenMsTimers() {
        int n = 0;
        for (const auto& t : desk.activeTimers()) n += t.intervalMs == Click::kHoverPollMs;
        return n;
    }
    // Adds entries one at a time up to `n`, as the bar mirrors a growing playlist.
    void fill(int n) {
        for (int i = list.ItemCount(); i < n; ++i) list.AddItem("T" + std::to_string(i));
    }
    // The texts of the playlist's rows, "-" for a hidden one; "*" marks a white one.
    std::string shown() const {
        std::string s;
        for (int r = 0; r < Playlist::kRows; ++r) {
            const auto& row = list.row(r);
            s += (r ? "|" : "") + (row.visible ? row.caption : std::string("-"));
            if (row.visible && row.foreColor == Playlist::kActiveColor) s += "*";
        }
        return s;
    }
    // The mouse wheel's key codes, as the wheel forwarding sends them to the playlist's window.
    void key(int code, int times = 1) {
        for (int i = 0; i < times; ++i) desk.keyDown(list.hWnd(), code);
    }

    Playlist& list = bar.Playlist1;
};

TEST_F(BarControlsSim, EveryControlIsDrawnAtItsDesignPosition) {
    // The buttons' faces by style: Prev, Play, Pauze, Stop, Next, Herstel, Verberg, MSN,
    // Instellingen, Afsluiten.
    const int buttonLeft[] = {8, 29, 50, 71, 92, 149, 128, 184, 219, 240};
    for (int style = 0; style < 10; ++style)
        EXPECT_EQ(mismatches(art::buttonFace(style, Look::Normal), {buttonLeft[style], 72}), 0)
            << style;
    const struct {
        const char* name;
        const Image& img;
        Point at;
        std::int32_t rows = 0;  // 0: the whole picture
    } probes[] = {
        {"sliderProgress thumb at 0", art::progressThumb(), {6, 44}},
        {"sliderVolume thumb at 255", art::volumeThumb(), {199 + 48, 44}},
        {"Scroll thumb at the top", art::scrollThumb(), {271 + 248 + 3, 8}},
        {"imgTopLeft", art::topLeft(), {0, 0}},
        {"imgTopRight above the scroll bar", art::topRight(), {542 - 14, 0}, 8},
    };
    for (const auto& p : probes) EXPECT_EQ(mismatches(p.img, p.at, p.rows), 0) << p.name;
}

TEST_F(BarControlsSim, OnlyAButtonThePointerMayBeOverPolls) {
    desk.advance(5000);
    EXPECT_EQ(tenMsTimers(), 0);   // an idle bar polls nothing
    desk.mouse(at(60, 80), Move);  // over btnPauze
    desk.advance(100);
    EXPECT_EQ(mismatches(art::buttonFace(2, Look::Hover), {50, 72}), 0);
    EXPECT_EQ(tenMsTimers(), 1);
    desk.setCursorPos(at(60, 500));  // off the bar; no move reaches it
    desk.advance(10);
    EXPECT_EQ(tenMsTimers(), 0);
}

TEST_F(BarControlsSim, ASliderDragFollowsThePointerAndRepaintsOnlyOnNewValues) {
    bar.sliderProgress.setMax(10);                 // 170 pixels for 0 to 10: 17 pixels a step
    desk.mouse(at(6 + 3, 47), Down, mouse::Left);  // on the thumb at 0
    desk.advance(20);
    const int paints = desk.paintCount(bar.hWnd());
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t> moves[] = {
        {6 + 5, 47, 0, 0}, {6 + 11, 47, 0, 0}, {6 + 20, 47, 1, 1}, {400, 300, 10, 2}};
    // The pointer's place, the value and the repaints so far.
    for (const auto& [x, y, value, repaints] : moves) {
        desk.mouse(at(x, y), Move);  // the last far outside the bar: held by the capture
        desk.advance(20);
        EXPECT_EQ(bar.sliderProgress.Value(), value) << x;
        EXPECT_EQ(desk.paintCount(bar.hWnd()) - paints, repaints) << x;
    }
    EXPECT_EQ(mismatches(art::progressThumb(), {6 + 170, 44}), 0);
    desk.mouse(at(400, 300), Up, mouse::Left);
    EXPECT_EQ(desk.capture(), 0u);
}

TEST_F(BarControlsSim, PlaylistRowsShowTheEntriesFromTheTopIndexAndTheWheelCodesScrollThem) {
    EXPECT_EQ(shown(), "-|-|-|-|-");
    fill(3);
    EXPECT_EQ(shown(), "T0*|T1|T2|-|-");
    EXPECT_FALSE(list.Scroll.Enabled());
    fill(8);  // still from the first entry
    list.setActiveItem(1);
    list.setActiveItem(8);  // missing: ignored
    EXPECT_EQ(shown(), "T0|T1*|T2|T3|T4");
    key(1001, 4);  // one entry each, the last one in vain
    EXPECT_EQ(shown(), "T3|T4|T5|T6|T7");
    key(13);       // not a wheel code
    key(1000, 4);  // the active entry is white again once back in view
    EXPECT_EQ(shown(), "T0|T1*|T2|T3|T4");
}

TEST_F(BarControlsSim, AShrinkingPlaylistNeverShowsEmptyRowsBelowItsEnd) {
    fill(10);
    key(1001, 5);
    for (std::int16_t last : {9, 8, 7}) list.RemoveItem(last);
    EXPECT_EQ(shown(), "T2|T3|T4|T5|T6");
    while (list.ItemCount() > 4) list.RemoveItem(0);
    key(1001);                             // nothing left to scroll
    EXPECT_EQ(shown(), "T3*|T4|T5|T6|-");  // the active index 0 is in view again
}

TEST_F(BarControlsSim, ThePlaylistsScrollThumbDragsAndItsRowsAreDrawnInTheirColour) {
    fill(8);
    desk.mouse(at(271 + 248 + 5, 8 + 5), Down, mouse::Left);  // the scroll thumb, to the end
    desk.mouse(at(271 + 248 + 5, 400), Move);
    desk.mouse(at(271 + 248 + 5, 400), Up, mouse::Left);
    EXPECT_EQ(list.TopIndex(), 3);
    key(1000);
    desk.advance(20);
    bool drawn = false;
    for (const auto& t : desk.texts(bar.hWnd()))
        drawn |= t.text == "T2" && t.pos == Point{279, 8} && t.color == Playlist::kItemColor;
    EXPECT_TRUE(drawn);
}

}  // namespace
}  // namespace tb
