// The whole bar with its dock, its Messenger line and its hotkeys in the simulation: what the
// parts' own tests cannot see, namely how the bar wires them.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppContext.h"
#include "app/frmMain.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWinamp.h"
#include "settings/InstellingenStore.h"
#include "winamp/WinampMessages.h"

namespace tb {
namespace {

using enum MouseAction;

// A Messenger window: each status text it got, as ASCII without the closing code 0.
struct MessengerSink : WindowHandler {
    std::vector<std::string> texts;
    LResult onCopyData(Hwnd, std::uintptr_t, std::span<const std::uint8_t> bytes) override {
        std::string text;
        for (std::size_t i = 0; i + 3 < bytes.size(); i += 2) text += static_cast<char>(bytes[i]);
        texts.push_back(text);
        return 0;
    }
};
std::string shown(const std::string& line) {
    return "\\0Music\\01\\0{0}\\0" + line + "\\0\\0\\0\\0";
}
const std::string kHidden = "\\0Music\\00\\0{0} - {1}\\0\\0\\0\\0\\0";

class BarAway : public ::testing::Test {
protected:
    BarAway() {
        winamp.model().setPlaylist(
            {{"Artist 0 - Song", "", 200}, {"Artist 1 - Song", "", 200}, {"Artist 2", "", 9}});
        winamp.model().setStatus(model::PlayStatus::Playing);
        desk.createWindowIn(desk.createProcess("msnmsgr.exe"),
                            {"MsnMsgrUIManager", "", Rect::fromXYWH(0, 0, 0, 0)}, &messenger);
        desk.setForeground(other);
        desk.setCursorPos(kAway);
    }
    void store(const std::string& name, std::int32_t value) {
        app.registryAccess().WriteDWORD(instellingen::kSleutel, name, value);
    }
    void start() {
        bar.Load();
        bar.Show();
        desk.advance(500);
    }
    int top() { return desk.windowRect(bar.hWnd())->top; }
    void click(const Control& c) {
        const Rect b =
            c.bounds().offset(desk.clientRect(bar.hWnd()).left, desk.clientRect(bar.hWnd()).top);
        const Point p{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
        desk.mouse(p, Move);
        desk.mouse(p, Down, mouse::Left);
        desk.mouse(p, Up, mouse::Left);
    }
    int commands(std::int32_t id) {
        const auto& j = winamp.model().journal();
        return static_cast<int>(std::count_if(j.begin(), j.end(), [&](const auto& m) {
            return m.msg == winamp::kCommandMessage && m.wParam == id;
        }));
    }

    static constexpr Point kAway{5, 700};
    sim::SimDesktop desk;
    sim::SimWinamp winamp{desk};
    sim::SimRegistry registry;
    MessengerSink messenger;
    Hwnd other = desk.createWindow({"Other", "", Rect::fromXYWH(0, 400, 100, 100)}, nullptr);
    AppContext app{desk, registry};
    frmMain bar{app};
};

TEST_F(BarAway, ItRestsAtTheEdgeAndComesIntoViewForThePointerOrTheForegroundAlone) {
    start();
    EXPECT_EQ(desk.windowRect(bar.hWnd()), Rect::fromXYWH(241, -94, 542, 96));
    const struct {
        const char* step;
        Point cursor;
        bool foreground;
        int top;
    } steps[] = {
        {"at rest", kAway, false, -94},
        {"on the strip", {300, 1}, false, 0},
        {"away", kAway, false, -94},
        {"foreground", kAway, true, 0},
        {"over, foreground", {300, 50}, true, 0},
        {"away, foreground", kAway, true, 0},
        {"foreground lost", kAway, false, -94},
    };
    for (const auto& s : steps) {
        desk.setCursorPos(s.cursor);
        desk.setForeground(s.foreground ? bar.hWnd() : other);
        desk.advance(400);
        EXPECT_EQ(top(), s.top) << s.step;
        EXPECT_EQ(desk.foregroundWindow() == bar.hWnd(), s.foreground) << s.step;
        // Away, the bar wakes only for the dock's checks and the playlist's minute.
        std::vector<std::uint32_t> timers;
        for (const auto& t : desk.activeTimers()) timers.push_back(t.intervalMs);
        std::sort(timers.begin(), timers.end());
        EXPECT_EQ(timers, (s.top == 0 ? std::vector<std::uint32_t>{150, 200, 1000, 60000}
                                      : std::vector<std::uint32_t>{200, 60000}))
            << s.step;
    }
    EXPECT_EQ(bar.lblTitel.Caption(), "Artist 0 - Song") << "synchronised on the way in";
}

TEST_F(BarAway, TheMessengerButtonSwitchesAndStoresTheFeatureAndTheCloseWithdrawsTheLine) {
    start();
    desk.setCursorPos({300, 1});
    desk.advance(400);
    for (int i = 0; i < 3; ++i) click(bar.btnMSN);
    EXPECT_EQ(messenger.texts, (std::vector<std::string>{shown("Artist 0 - Song"), kHidden,
                                                         shown("Artist 0 - Song")}));
    EXPECT_EQ(app.registryAccess().ReadDWORD(instellingen::kSleutel, instellingen::kMSNPlugin, 7),
              1);
    EXPECT_EQ(bar.lblOptie.Caption(), "MSN plugin in-/uitschakelen") << "the click keeps it";

    // Away, the line follows the player; a paused player's next title withdraws it.
    desk.setForeground(other);  // the user clicks elsewhere
    desk.setCursorPos(kAway);
    winamp.model().setCurrent(1);
    desk.advance(2000);
    winamp.model().setStatus(model::PlayStatus::Paused);
    winamp.model().setCurrent(2);
    desk.advance(2000);
    EXPECT_EQ(top(), -94);
    EXPECT_EQ(messenger.texts.size(), 5u);
    EXPECT_EQ(messenger.texts[3], shown("Artist 1 - Song"));
    EXPECT_EQ(messenger.texts.back(), kHidden);

    winamp.model().setStatus(model::PlayStatus::Playing);
    desk.setCursorPos({300, 1});
    desk.advance(400);
    click(bar.btnMSN);  // off: nothing shown, nothing to withdraw
    click(bar.btnMSN);
    EXPECT_EQ(messenger.texts.back(), shown("Artist 2 - ")) << "republished at once";
    bar.btnAfsluiten_Click();
    EXPECT_EQ(messenger.texts.back(), kHidden);
    EXPECT_EQ(messenger.texts.size(), 7u);
}

TEST_F(BarAway, TheAutomaticCloseWithdrawsTheShownLineAndEndsAtOnce) {
    store(instellingen::kMSNPlugin, 1);
    store(instellingen::kAutoSluit, 1);
    start();
    desk.advance(1000);
    EXPECT_EQ(messenger.texts, std::vector<std::string>{shown("Artist 0 - Song")});
    winamp.kill();
    EXPECT_THROW(desk.advance(32'000), sim::SimProcessExit);
    EXPECT_EQ(messenger.texts.back(), kHidden);
    EXPECT_TRUE(bar.isLoaded()) << "none of the close steps ran";
}

TEST_F(BarAway, AHeldHotkeyPlaysFourTimesASecondWhileTheBarIsAway) {
    store(instellingen::toetsNaam(1), 'P');
    store(instellingen::ctrlNaam(1), 1);
    store(instellingen::kActief, 1);
    start();
    desk.setKeyDown('P', true);
    desk.advance(1000);
    EXPECT_EQ(commands(winamp::cmd::Play), 0) << "P alone";
    desk.setKeyDown(17, true);
    desk.advance(1000);
    EXPECT_EQ(commands(winamp::cmd::Play), 4);
    EXPECT_EQ(top(), -94);
}

}  // namespace
}  // namespace tb
