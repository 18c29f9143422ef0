// The whole bar at work against the stand-in player in the simulation: what the user sees and
// does through its window, how it wires its dock, Messenger line and hotkeys, and how its life
// follows Winamp's.
#include <algorithm>

#include "support/BarScene.h"

namespace tb {
namespace {

using namespace instellingen;
using enum MouseAction;
using test::BarScene;
using Strings = std::vector<std::string>;

TEST(frmMainAtWork, APlayingBarShowsItsTrackAndPlaylistAndItsTitleStandsStillWhileAway) {
    BarScene s;
    s.playlist(20);
    auto entries = s.winamp.model().playlist();
    entries[3].title = std::string(60, 'x');  // wider than the title area: it ticks
    s.winamp.model().setPlaylist(entries);
    s.winamp.model().setCurrent(3);
    s.start();
    frmMain& bar = s.bar;
    EXPECT_EQ(bar.lblTitel.Caption(), entries[3].title);
    EXPECT_EQ(bar.Playlist1.ItemCount(), 20);
    EXPECT_EQ(bar.Playlist1.ActiveItem(), 3);
    EXPECT_EQ(bar.lblTijd.Caption(), "0:00 / 3:23");  // synchronised as it came into view
    s.desk.advance(600);
    const std::int32_t moved = bar.lblTitel.bounds().left;
    EXPECT_LT(moved, 16);
    int drawn = 0;
    for (const auto& t : s.desk.texts(bar.hWnd())) {
        if (t.text != entries[3].title || t.pos != Point{moved, bar.lblTitel.bounds().top})
            continue;
        ++drawn;
        EXPECT_LE(t.clip.right, bar.Playlist1.bounds().left) << "it passes under the pane";
    }
    EXPECT_EQ(drawn, 1);
    EXPECT_LE(s.desk.paintedPart(bar.hWnd()).right, bar.Playlist1.bounds().left)
        << "the ticker repaints its strip alone";

    bar.Form_TaskBar1_EndCloseUp();
    s.winamp.model().setCurrent(8);
    s.desk.advance(5000);
    EXPECT_EQ(bar.lblTitel.bounds().left, moved);
    EXPECT_EQ(bar.lblTitel.Caption(), entries[3].title) << "nobody looked while away";
    bar.Form_TaskBar1_StartOpenUp();
    EXPECT_EQ(bar.lblTitel.Caption(), entries[8].title) << "picked up at once";
    EXPECT_EQ(bar.Playlist1.ActiveItem(), 8);
    EXPECT_TRUE(bar.tmrSync.Enabled() && bar.tmrTitel.Enabled());

    // After partial paints (a shorter title among them) the kept frame is what a whole paint
    // draws.
    s.desk.advance(300);
    auto shown = [&] {
        Strings all;
        for (const auto& t : s.desk.texts(bar.hWnd()))
            all.push_back(t.text + "@" + std::to_string(t.pos.x) + "," +
                          std::to_string(t.clip.right));
        std::sort(all.begin(), all.end());
        return std::pair{s.desk.frame(bar.hWnd()).pixels, all};
    };
    const auto kept = shown();
    s.desk.paintNow(bar.hWnd());
    EXPECT_EQ(shown(), kept);
}

TEST(frmMainAtWork, TheProgressSliderSeeksOnAClickAndWhileHeldAndIsTheUsersUntilTheRelease) {
    BarScene s;
    s.playlist(20);
    s.start();  // entry 3: 203 s long
    const std::size_t from = s.winamp.model().journal().size();
    // The thumb's centre jumps here: its left edge at 85 of 170 pixels stands for 101.5 s.
    const Point rail = s.on(s.bar.sliderProgress, 92, 5);
    s.click(rail);
    EXPECT_EQ(s.received(from), Strings{"q106:102000"});
    s.desk.mouse(rail, Down, mouse::Left);  // on the thumb now
    s.desk.mouse({rail.x + 17, rail.y}, Move);
    s.desk.advance(2000);  // the synchronisation runs meanwhile
    EXPECT_EQ(s.bar.sliderProgress.Value(), 122);
    EXPECT_TRUE(s.bar.sync.Slepen());
    s.desk.mouse({rail.x + 34, rail.y + 200}, Move);
    s.desk.mouse({rail.x + 34, rail.y + 200}, Up, mouse::Left);  // outside: no click
    EXPECT_FALSE(s.bar.sync.Slepen());
    EXPECT_EQ(s.received(from), (Strings{"q106:102000", "q106:122000", "q106:143000"}));
}

TEST(frmMainAtWork, HintsFollowThePointerAndALabelKeepsTheLastOne) {
    BarScene s;
    s.start();
    const Point background = s.at(265, 40);
    const std::pair<Point, const char*> moves[] = {
        {s.on(s.bar.btnNext), "Volgend nummer"},
        {s.on(s.bar.lblTitel), "Volgend nummer"},
        {background, "MSN plugin is uitgeschakeld"},
        {s.on(s.bar.btnVerberg), "Winamp verbergen"},
        {s.on(s.bar.sliderVolume), "Winamp verbergen"},
    };
    for (const auto& [at, hint] : moves) {
        s.desk.mouse(at, Move);
        EXPECT_EQ(s.bar.lblOptie.Caption(), hint) << at.x;
    }
    s.app.settings.bMSNPlugin = true;
    s.desk.mouse(background, Move);
    EXPECT_EQ(s.bar.lblOptie.Caption(), "MSN plugin is ingeschakeld");
}

TEST(frmMainAtWork, TheButtonsDriveWinampAndItsWindowAndADoubleClickPlaysTheRowsEntry) {
    BarScene s;
    s.playlist(20);
    s.start();
    frmMain& bar = s.bar;
    std::size_t from = s.winamp.model().journal().size();
    for (Click* b : {&bar.btnPrev, &bar.btnPlay, &bar.btnPauze, &bar.btnStop, &bar.btnNext})
        s.click(s.on(*b));
    s.desk.advance(10);
    EXPECT_EQ(s.received(from), (Strings{"40044", "40045", "40046", "40047", "40048"}));

    bar.btnVerberg_Click();
    EXPECT_FALSE(s.desk.isWindowVisible(s.winamp.hwnd()));
    bar.btnHerstel_Click();
    EXPECT_TRUE(s.desk.isWindowVisible(s.winamp.hwnd()));
    EXPECT_TRUE(s.desk.window(s.winamp.hwnd())->minimized) << "back in the taskbar, minimised";

    // One entry a notch, none past either end of the list (20 entries, 5 rows).
    const auto wheel = [&](int notches, int delta) {
        for (int i = 0; i < notches; ++i) s.desk.wheel(s.on(bar.lblTijd), delta);
        return bar.Playlist1.TopIndex();
    };
    EXPECT_EQ(wheel(1, 120), 0);
    EXPECT_EQ(wheel(17, -120), 15);
    EXPECT_EQ(wheel(5, 120), 10);
    from = s.winamp.model().journal().size();
    const Rect row2 = bar.Playlist1.rowRect(2);
    s.click(s.on(bar.imgTopLeft, row2.left + 5, row2.top + 5), DoubleClick);
    s.desk.advance(10);
    EXPECT_EQ(s.received(from), (Strings{"q121:12", "40045"}));
}

TEST(frmMainAtWork, TheBarEndsAboutThirtySecondsAfterWinampWentWhenAutoSluitIsOn) {
    // With "AutoSluit", the bar in view, Winamp back after ms: the end between ms (0, 0: never).
    const std::tuple<const char*, bool, bool, std::optional<std::uint64_t>, std::uint64_t,
                     std::uint64_t>
        cases[] = {
            {"shown", true, true, {}, 30000, 31000},
            {"away, Messenger off", true, false, {}, 30000, 32000},
            {"restarted within 10 s", true, true, 10000, 0, 0},
            {"AutoSluit off", false, true, {}, 0, 0},
        };
    for (const auto& [name, autoSluit, shown, restartAfter, earliest, latest] : cases) {
        BarScene s;
        s.store(kAutoSluit, autoSluit);
        s.start(shown);
        s.desk.advance(800);
        s.winamp.kill();
        if (restartAfter) s.desk.after(*restartAfter, [&] { s.winamp.start(); });
        const std::uint64_t t0 = s.desk.tickCountMs();
        std::optional<std::uint64_t> endedAfter;
        try {
            s.desk.advance(300'000);
        } catch (const sim::SimProcessExit&) {
            endedAfter = s.desk.tickCountMs() - t0;
        }
        EXPECT_EQ(endedAfter.has_value(), latest != 0) << name;
        EXPECT_TRUE(!endedAfter || (*endedAfter >= earliest && *endedAfter <= latest)) << name;
    }
}

// The pointer and the foreground move the bar through its dock; away it wakes only for the
// dock's checks, the playlist's minute and the watch on Winamp.
TEST(frmMainAtWork, ItRestsAtTheEdgeAndComesIntoViewForThePointerOrTheForegroundAlone) {
    BarScene s;
    s.playlist(1, 0);
    s.store(kAutoSluit, 1);
    const Hwnd other =
        s.desk.createWindow({"Other", "", Rect::fromXYWH(0, 400, 100, 100)}, nullptr);
    const Point away{5, 700};
    const struct {
        const char* step;
        Point cursor;
        bool foreground;
        int top;
    } steps[] = {
        {"at rest", away, false, -94},       {"on the strip", {300, 1}, false, 0},
        {"away", away, false, -94},          {"foreground", away, true, 0},
        {"away, foreground", away, true, 0}, {"foreground lost", away, false, -94},
    };
    s.desk.setCursorPos(away);
    s.desk.setForeground(other);
    s.start(false);
    for (const auto& step : steps) {
        s.desk.setCursorPos(step.cursor);
        s.desk.setForeground(step.foreground ? s.bar.hWnd() : other);
        s.desk.advance(400);
        EXPECT_EQ(s.desk.windowRect(s.bar.hWnd())->top, step.top) << step.step;
        EXPECT_EQ(s.desk.foregroundWindow() == s.bar.hWnd(), step.foreground) << step.step;
        std::vector<std::uint32_t> timers;
        for (const auto& t : s.desk.activeTimers()) timers.push_back(t.intervalMs);
        std::sort(timers.begin(), timers.end());
        EXPECT_EQ(timers, (step.top == 0 ? std::vector<std::uint32_t>{150, 200, 1000, 60000}
                                         : std::vector<std::uint32_t>{200, 2000, 60000}))
            << step.step;
    }
    EXPECT_EQ(s.bar.lblTitel.Caption(), "Artist 0 - Song") << "synchronised on the way in";
}

TEST(frmMainAtWork, TheMessengerButtonSwitchesTheLineAndTheAutomaticCloseWithdrawsItFirst) {
    BarScene s;
    s.playlist(1, 0);
    test::MessengerWindow messenger;
    s.desk.createWindowIn(s.desk.createProcess("msnmsgr.exe"), {"MsnMsgrUIManager", "", {}},
                          &messenger);
    s.store(kMSNPlugin, 1);
    s.store(kAutoSluit, 1);
    s.start(false);  // away, the synchronisation runs for the Messenger
    s.bar.btnMSN_Click();
    EXPECT_EQ(s.stored(kMSNPlugin), 0);
    s.bar.btnMSN_Click();
    s.winamp.kill();
    EXPECT_THROW(s.desk.advance(32'000), sim::SimProcessExit);
    const std::u16string line =
        u"\\0Music\\01\\0{0}\\0Artist 0 - Song\\0\\0\\0\\0" + std::u16string(1, 0);
    const std::u16string hidden = u"\\0Music\\00\\0{0} - {1}\\0\\0\\0\\0\\0" + std::u16string(1, 0);
    EXPECT_EQ(messenger.texts, (std::vector<std::u16string>{line, hidden, line, hidden}));
    EXPECT_TRUE(s.bar.isLoaded()) << "none of the close steps ran";
}

TEST(frmMainAtWork, AHeldCtrlPPlaysFourTimesASecondAndATapBetweenPollsOnce) {
    BarScene s;
    s.store(toetsNaam(1), 'P');
    s.store(ctrlNaam(1), 1);
    s.store(kActief, 1);
    s.start(false);
    const std::size_t from = s.winamp.model().journal().size();
    s.desk.setKeyDown(17, true);
    s.desk.setKeyDown('P', true);
    s.desk.advance(1000);
    EXPECT_EQ(s.received(from), Strings(4, "40045"));
    s.desk.setKeyDown('P', false);
    // Down and up again between two polls: the key's "pressed since" bit still counts.
    s.desk.after(100, [&] { s.desk.setKeyDown('P', true); });
    s.desk.after(150, [&] { s.desk.setKeyDown('P', false); });
    s.desk.advance(1000);
    EXPECT_EQ(s.received(from), Strings(5, "40045"));
}

}  // namespace
}  // namespace tb
