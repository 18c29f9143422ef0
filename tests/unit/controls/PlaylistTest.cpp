#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestHost.h"
#include "controls/Playlist.h"

namespace tb {
namespace {

using test::RecordingCanvas;
using test::TestHost;

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kItem = 0xD3C8A6;

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.attach(&host);
        view.setBounds(Rect::fromXYWH(271, 0, 10, 10));
        view.onDblClickItem = [this](std::int16_t& i) { chosen.push_back(i); };
    }

    void fill(int n) {
        for (int i = 0; i < n; ++i)
            view.setItemCaption(static_cast<std::int16_t>(i), "Track " + std::to_string(i));
        view.RedrawItems();
    }
    // The texts of the shown rows, "-" for a hidden one.
    std::string shown() const {
        std::string s;
        for (int r = 0; r < Playlist::kRows; ++r) {
            const auto& row = view.row(r);
            s += (r ? "|" : "") + (row.visible ? row.caption : std::string("-"));
        }
        return s;
    }
    void key(int code, int times = 1) {
        for (int i = 0; i < times; ++i) view.keyDown(code);
    }
    void doubleClickRow(int r) {
        Rect rr = view.rowRect(r);
        TestHost::mouse(view, MouseAction::DoubleClick,
                        Point{rr.left + 20 - view.bounds().left, rr.top + 5 - view.bounds().top},
                        mouse::Left, mouse::Left);
    }

    TestHost host;
    Playlist view;
    std::vector<int> chosen;
};

TEST_F(PlaylistTest, HasAFixedSizeWithRowsAndScrollBarInPlace) {
    EXPECT_EQ(view.bounds(), Rect::fromXYWH(271, 0, 273, 109));
    EXPECT_EQ(view.Scroll.bounds(), Rect::fromXYWH(271 + 248, 8, 14, 81));
    for (int r = 0; r < Playlist::kRows; ++r)
        EXPECT_EQ(view.rowRect(r), Rect::fromXYWH(279, 8 + 16 * r, 241, 15)) << r;
    EXPECT_EQ(view.hWnd(), host.window);
}

TEST_F(PlaylistTest, RowsShowTheEntriesFromTheTopIndex) {
    struct Case {
        int entries;
        const char* rows;
    } cases[] = {
        {0, "-|-|-|-|-"},
        {3, "Track 0|Track 1|Track 2|-|-"},
        {5, "Track 0|Track 1|Track 2|Track 3|Track 4"},
        {8, "Track 0|Track 1|Track 2|Track 3|Track 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        while (view.ItemCount() > 0) view.RemoveItem(0);
        fill(c.entries);
        EXPECT_EQ(shown(), c.rows);
        EXPECT_EQ(view.TopIndex(), 0);
    }
    EXPECT_EQ(view.ItemCaption(8), "");
    EXPECT_EQ(view.ItemCaption(-1), "");
}

TEST_F(PlaylistTest, WheelKeysScrollOneEntryWithinTheLimits) {
    fill(8);
    EXPECT_EQ(view.Scroll.Max(), 3);
    EXPECT_EQ(view.Scroll.Value(), 3);
    struct Step {
        int code;
        int top;
    } steps[] = {{1001, 1}, {1001, 2}, {1001, 3}, {1001, 3}, {1000, 2},
                 {1000, 1}, {1000, 0}, {1000, 0}, {13, 0},   {40, 0}};
    for (const Step& s : steps) {
        key(s.code);
        EXPECT_EQ(view.TopIndex(), s.top) << s.code;
        EXPECT_EQ(view.calcScrollValue(), s.top);
    }
    key(1001, 3);
    EXPECT_EQ(shown(), "Track 3|Track 4|Track 5|Track 6|Track 7");
}

TEST_F(PlaylistTest, TheActiveEntryIsWhiteWhereverItIsShown) {
    fill(8);
    view.setActiveItem(1);
    EXPECT_EQ(view.row(0).foreColor, kItem);
    EXPECT_EQ(view.row(1).foreColor, kWhite);
    key(1001, 3);  // entry 1 scrolls out of view
    for (int r = 0; r < Playlist::kRows; ++r) EXPECT_EQ(view.row(r).foreColor, kItem);
    key(1000, 3);
    EXPECT_EQ(view.row(1).foreColor, kWhite);

    view.setActiveItem(4);
    EXPECT_EQ(view.row(1).foreColor, kItem);
    EXPECT_EQ(view.row(4).foreColor, kWhite);
    view.setActiveItem(8);  // missing: ignored
    view.setActiveItem(-1);
    EXPECT_EQ(view.ActiveItem(), 4);
}

TEST_F(PlaylistTest, DoubleClickReportsTheEntryOfTheRow) {
    fill(10);
    key(1001, 4);
    ASSERT_EQ(view.TopIndex(), 4);
    doubleClickRow(2);
    doubleClickRow(0);
    EXPECT_EQ(chosen, (std::vector<int>{6, 4}));

    while (view.ItemCount() > 2) view.RemoveItem(view.ItemCount() - 1);
    chosen.clear();
    doubleClickRow(3);  // a hidden row chooses nothing
    doubleClickRow(1);
    EXPECT_EQ(chosen, (std::vector<int>{1}));
}

TEST_F(PlaylistTest, EntryEditingRules) {
    fill(3);
    view.setItemCaption(3, "appended");  // index == count appends
    view.setItemCaption(1, "renamed");
    view.setItemCaption(40, "also appended");
    EXPECT_EQ(view.ItemCount(), 5);
    EXPECT_EQ(view.ItemCaption(3), "appended");
    EXPECT_EQ(view.ItemCaption(4), "also appended");
    EXPECT_EQ(view.row(1).caption, "Track 1");  // caption writes do not redraw
    view.RemoveItem(7);
    view.RemoveItem(-1);
    EXPECT_EQ(view.ItemCount(), 5);
    EXPECT_EQ(view.row(1).caption, "renamed");  // but a removal does
    view.RemoveItem(0);
    EXPECT_EQ(shown(), "renamed|Track 2|appended|also appended|-");
    EXPECT_TRUE(view.ItemExists(3));
    EXPECT_FALSE(view.ItemExists(4));
}

TEST_F(PlaylistTest, ListsFilledOneEntryAtATimeStartAtTheFirstEntry) {
    for (int i = 0; i < 8; ++i) {
        view.AddItem("Track " + std::to_string(i));
        EXPECT_EQ(view.TopIndex(), 0) << "after " << i + 1;
    }
    EXPECT_EQ(view.Scroll.Max(), 3);
    EXPECT_EQ(view.Scroll.Value(), 3);
    EXPECT_TRUE(view.Scroll.Enabled());
}

TEST_F(PlaylistTest, AShrinkingListNeverShowsEmptyRowsBelowItsEnd) {
    fill(10);
    key(1001, 5);
    ASSERT_EQ(view.TopIndex(), 5);
    for (int count : {9, 8, 7}) {
        view.RemoveItem(static_cast<std::int16_t>(count));
        EXPECT_EQ(view.TopIndex(), count - 5) << count;
    }
    EXPECT_EQ(shown(), "Track 2|Track 3|Track 4|Track 5|Track 6");
    while (view.ItemCount() > 4) view.RemoveItem(0);
    EXPECT_EQ(view.TopIndex(), 0);
    EXPECT_FALSE(view.Scroll.Enabled());
    key(1001);  // nothing to scroll
    EXPECT_EQ(view.TopIndex(), 0);
    EXPECT_EQ(shown(), "Track 3|Track 4|Track 5|Track 6|-");
}

TEST_F(PlaylistTest, DraggingTheScrollBarScrollsTheList) {
    fill(8);
    const Rect s = view.Scroll.bounds();
    const Point onThumb{s.left - view.bounds().left + 5, s.top - view.bounds().top + 5};
    TestHost::press(view, onThumb);
    EXPECT_EQ(host.captured, &view);
    TestHost::move(view, Point{onThumb.x + 200, onThumb.y + 300}, mouse::Left);  // far outside
    EXPECT_EQ(view.TopIndex(), 3);
    TestHost::release(view, Point{onThumb.x + 200, onThumb.y + 300});
    EXPECT_EQ(host.captured, nullptr);
    TestHost::move(view, onThumb);  // the drag is over
    EXPECT_EQ(view.TopIndex(), 3);
}

TEST_F(PlaylistTest, RepaintsOnlyWhenTheShownRowsChange) {
    fill(8);
    host.invalidations = 0;
    view.setItemCaption(7, "quiet");
    view.RedrawItems();
    EXPECT_EQ(host.invalidations, 0);
    key(1001);
    EXPECT_GT(host.invalidations, 0);
    key(1001, 2);
    host.invalidations = 0;
    key(1001);  // already at the end
    EXPECT_EQ(host.invalidations, 0);
}

TEST_F(PlaylistTest, PaintsShownRowsInTheirColoursAndTheScrollBar) {
    fill(2);
    view.setActiveItem(1);
    RecordingCanvas canvas;
    view.paint(canvas);
    auto texts = canvas.of("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Track 0");
    EXPECT_EQ(texts[0].color, kItem);
    EXPECT_EQ(texts[1].color, kWhite);
    EXPECT_EQ(texts[1].rect.top, 24);
    EXPECT_EQ(canvas.of("image").size(), 2u);  // rail and thumb
}

}  // namespace
}  // namespace tb
