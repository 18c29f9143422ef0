// The whole bar at work against the stand-in player in the simulation: what the user sees and
// does through the bar's window, and how the bar's life follows Winamp's.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/frmMain.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWinamp.h"
#include "settings/InstellingenStore.h"
#include "winamp/WinampMessages.h"

namespace tb {
namespace {

using enum MouseAction;
using model::PlayStatus;

class Bar : public ::testing::Test {
protected:
    Bar() {
        std::vector<model::PlaylistEntry> entries;
        for (int i = 0; i < 20; ++i)
            entries.push_back({"Artist " + std::to_string(i) + " - Song", "", 200 + i});
        winamp.model().setPlaylist(entries);
        winamp.model().setCurrent(3);
        winamp.model().setStatus(PlayStatus::Playing);
    }
    // Started, and slid into view by the pointer on its strip.
    void start() {
        bar.Load();
        bar.Show();
        desk.setCursorPos({512, 1});
        desk.advance(1000);
    }
    Point on(const Control& c, std::int32_t dx = -1, std::int32_t dy = -1) {
        const Rect b = c.bounds();
        const Rect client = desk.clientRect(bar.hWnd());
        return {client.left + b.left + (dx < 0 ? b.width() / 2 : dx),
                client.top + b.top + (dy < 0 ? b.height() / 2 : dy)};
    }
    // What reached the player after `from`: commands by id, queries as "q<id>:<data>".
    std::vector<std::string> received(std::size_t from = 0) {
        std::vector<std::string> r;
        const auto& j = winamp.model().journal();
        for (std::size_t i = from; i < j.size(); ++i) {
            if (j[i].msg == winamp::kCommandMessage) r.push_back(std::to_string(j[i].wParam));
            if (j[i].msg == winamp::kQueryMessage && (j[i].lParam == winamp::ipc::JumpToTime ||
                                                      j[i].lParam == winamp::ipc::SetPlaylistPos))
                r.push_back("q" + std::to_string(j[i].lParam) + ":" + std::to_string(j[i].wParam));
        }
        return r;
    }
    sim::SimDesktop desk;
    sim::SimWinamp winamp{desk};
    sim::SimRegistry registry;
    AppContext app{desk, registry};
    frmMain bar{app};
};

TEST_F(Bar, APlayingBarShowsItsTrackAndPlaylistAndItsTitleStandsStillWhileAway) {
    auto entries = winamp.model().playlist();
    entries[3].title = std::string(60, 'x');  // wider than the title area: it ticks
    winamp.model().setPlaylist(entries);
    winamp.model().setCurrent(3);
    start();
    EXPECT_EQ(bar.lblTitel.Caption(), entries[3].title);
    EXPECT_EQ(bar.Playlist1.ItemCount(), 20);
    EXPECT_EQ(bar.Playlist1.ActiveItem(), 3);
    EXPECT_EQ(bar.lblTijd.Caption(), "0:00 / 3:23");  // synchronised as it came into view
    desk.advance(600);
    const std::int32_t moved = bar.lblTitel.bounds().left;
    EXPECT_LT(moved, 16);
    int drawn = 0;
    for (const auto& t : desk.texts(bar.hWnd())) {
        if (t.text != entries[3].title || t.pos != Point{moved, bar.lblTitel.bounds().top})
            continue;
        ++drawn;
        EXPECT_LE(t.clip.right, bar.Playlist1.bounds().left) << "it passes under the pane";
    }
    EXPECT_EQ(drawn, 1);

    bar.Form_TaskBar1_EndCloseUp();
    EXPECT_FALSE(bar.tmrSync.Enabled());
    winamp.model().setCurrent(8);
    desk.advance(5000);
    EXPECT_EQ(bar.lblTitel.bounds().left, moved);
    EXPECT_EQ(bar.lblTitel.Caption(), entries[3].title) << "nobody looked while away";
    bar.Form_TaskBar1_StartOpenUp();
    EXPECT_EQ(bar.lblTitel.Caption(), entries[8].title) << "picked up at once";
    EXPECT_EQ(bar.Playlist1.ActiveItem(), 8);
    EXPECT_TRUE(bar.tmrSync.Enabled() && bar.tmrTitel.Enabled());
}

TEST_F(Bar, TheProgressSliderSeeksOnAClickAndWhileHeldAndIsTheUsersUntilTheRelease) {
    start();  // entry 3: 203 s long
    const std::size_t from = winamp.model().journal().size();
    // The thumb's centre jumps here: its left edge at 85 of 170 pixels stands for 101.5 s.
    const Point rail = on(bar.sliderProgress, 92, 5);
    desk.mouse(rail, Down, mouse::Left);
    desk.mouse(rail, Up, mouse::Left);
    EXPECT_EQ(received(from), (std::vector<std::string>{"q106:102000"}));

    desk.mouse(rail, Down, mouse::Left);  // on the thumb now
    desk.mouse({rail.x + 17, rail.y}, Move);
    desk.advance(2000);  // the synchronisation runs meanwhile
    EXPECT_EQ(bar.sliderProgress.Value(), 122);
    EXPECT_TRUE(bar.sync.Slepen());
    desk.mouse({rail.x + 34, rail.y + 200}, Move);
    desk.mouse({rail.x + 34, rail.y + 200}, Up, mouse::Left);  // outside: no click
    EXPECT_FALSE(bar.sync.Slepen());
    EXPECT_EQ(received(from),
              (std::vector<std::string>{"q106:102000", "q106:122000", "q106:143000"}));
}

TEST_F(Bar, HintsFollowThePointerAndALabelKeepsTheLastOne) {
    start();
    const Point background = on(bar.imgTopLeft, 265, 40);
    const struct {
        const char* over;
        Point at;
        const char* hint;
    } moves[] = {
        {"btnNext", on(bar.btnNext), "Volgend nummer"},
        {"lblTitel", on(bar.lblTitel), "Volgend nummer"},
        {"background", background, "MSN plugin is uitgeschakeld"},
        {"btnVerberg", on(bar.btnVerberg), "Winamp verbergen"},
        {"sliderVolume", on(bar.sliderVolume), "Winamp verbergen"},
    };
    for (const auto& m : moves) {
        desk.mouse(m.at, Move);
        EXPECT_EQ(bar.lblOptie.Caption(), m.hint) << m.over;
    }
    app.settings.bMSNPlugin = true;
    desk.mouse(background, Move);
    EXPECT_EQ(bar.lblOptie.Caption(), "MSN plugin is ingeschakeld");
}

TEST_F(Bar, TheButtonsDriveWinampAndItsWindowAndADoubleClickPlaysTheRowsEntry) {
    start();
    std::size_t from = winamp.model().journal().size();
    for (Click* b : {&bar.btnPrev, &bar.btnPlay, &bar.btnPauze, &bar.btnStop, &bar.btnNext}) {
        desk.mouse(on(*b), Down, mouse::Left);
        desk.mouse(on(*b), Up, mouse::Left);
    }
    desk.advance(10);
    EXPECT_EQ(received(from),
              (std::vector<std::string>{"40044", "40045", "40046", "40047", "40048"}));

    bar.btnVerberg_Click();
    EXPECT_FALSE(desk.isWindowVisible(winamp.hwnd()));
    bar.btnHerstel_Click();
    EXPECT_TRUE(desk.isWindowVisible(winamp.hwnd()));
    EXPECT_TRUE(desk.window(winamp.hwnd())->minimized) << "back in the taskbar, minimised";

    // One entry a notch, none past either end of the list (20 entries, 5 rows).
    desk.wheel(on(bar.lblTijd), 120);
    EXPECT_EQ(bar.Playlist1.TopIndex(), 0);
    for (int i = 0; i < 17; ++i) desk.wheel(on(bar.lblTijd), -120);
    EXPECT_EQ(bar.Playlist1.TopIndex(), 15);
    for (int i = 0; i < 5; ++i) desk.wheel(on(bar.lblTijd), 120);
    EXPECT_EQ(bar.Playlist1.TopIndex(), 10);
    from = winamp.model().journal().size();
    const Rect row2 = bar.Playlist1.rowRect(2);
    const Point p = on(bar.imgTopLeft, row2.left + 5, row2.top + 5);
    desk.mouse(p, DoubleClick, mouse::Left);
    desk.mouse(p, Up, mouse::Left);
    desk.advance(10);
    EXPECT_EQ(received(from), (std::vector<std::string>{"q121:12", "40045"}));
}

TEST_F(Bar, TheBarEndsAboutThirtySecondsAfterWinampWentWhenAutoSluitIsOn) {
    const struct {
        const char* name;
        bool autoSluit;
        bool hidden;
        std::optional<std::uint64_t> restartAfter;
        std::uint64_t earliest, latest;  // 0, 0: never
    } cases[] = {
        {"shown", true, false, {}, 30000, 31000},
        {"away, Messenger off", true, true, {}, 30000, 32000},
        {"restarted within 10 s", true, false, 10000, 0, 0},
        {"AutoSluit off", false, false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        sim::SimDesktop d;
        sim::SimWinamp player(d);
        sim::SimRegistry r;
        AppContext a(d, r);
        a.registryAccess().WriteDWORD(instellingen::kSleutel, instellingen::kAutoSluit,
                                      c.autoSluit);
        frmMain b(a);
        b.Load();
        b.Show();
        if (!c.hidden) d.setCursorPos({512, 1});
        d.advance(1800);
        player.kill();
        if (c.restartAfter) d.after(*c.restartAfter, [&] { player.start(); });
        const std::uint64_t t0 = d.tickCountMs();
        std::optional<std::uint64_t> endedAfter;
        try {
            d.advance(300'000);
        } catch (const sim::SimProcessExit&) {
            endedAfter = d.tickCountMs() - t0;
        }
        if (c.latest == 0) {
            EXPECT_FALSE(endedAfter) << c.name;
        } else {
            ASSERT_TRUE(endedAfter) << c.name;
            EXPECT_GE(*endedAfter, c.earliest) << c.name;
            EXPECT_LE(*endedAfter, c.latest) << c.name;
        }
    }
}

TEST_F(Bar, AwayTheBarWatchesWinampEveryTwoSecondsOnlyWhileNothingElseLooks) {
    app.registryAccess().WriteDWORD(instellingen::kSleutel, instellingen::kAutoSluit, 1);
    start();
    bar.Form_TaskBar1_EndCloseUp();
    EXPECT_FALSE(bar.tmrTitel.Enabled());
    EXPECT_TRUE(bar.tmrSluitTunebalk.Enabled());
    EXPECT_EQ(bar.tmrSluitTunebalk.Interval(), 2000u);
    bar.Form_TaskBar1_StartOpenUp();
    EXPECT_FALSE(bar.tmrSluitTunebalk.Enabled());
    EXPECT_EQ(bar.tmrSluitTunebalk.Interval(), 30000u);

    app.settings.bMSNPlugin = true;  // the synchronisation keeps looking for the Messenger
    bar.Form_TaskBar1_EndCloseUp();
    EXPECT_TRUE(bar.tmrSync.Enabled());
    EXPECT_FALSE(bar.tmrSluitTunebalk.Enabled());
}

}  // namespace
}  // namespace tb
