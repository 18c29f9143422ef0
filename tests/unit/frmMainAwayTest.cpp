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
        winamp.model().setPlaylist({{"Artist 0 - Song", "", 200}});
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
        EXPECT_EQ(desk.windowRect(bar.hWnd())->top, s.top) << s.step;
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

TEST_F(BarAway, TheMessengerButtonSwitchesTheLineAndTheAutomaticCloseWithdrawsItFirst) {
    store(instellingen::kMSNPlugin, 1);
    store(instellingen::kAutoSluit, 1);
    start();
    desk.advance(1000);  // away, the synchronisation runs for the Messenger
    bar.btnMSN_Click();
    EXPECT_EQ(app.registryAccess().ReadDWORD(instellingen::kSleutel, instellingen::kMSNPlugin, 7),
              0);
    bar.btnMSN_Click();
    winamp.kill();
    EXPECT_THROW(desk.advance(32'000), sim::SimProcessExit);
    const std::string line = shown("Artist 0 - Song");
    EXPECT_EQ(messenger.texts, (std::vector<std::string>{line, kHidden, line, kHidden}));
    EXPECT_TRUE(bar.isLoaded()) << "none of the close steps ran";
}

TEST_F(BarAway, AHeldCtrlPPlaysFourTimesASecondWhileTheBarIsAway) {
    store(instellingen::toetsNaam(1), 'P');
    store(instellingen::ctrlNaam(1), 1);
    store(instellingen::kActief, 1);
    start();
    desk.setKeyDown(17, true);
    desk.setKeyDown('P', true);
    desk.advance(1000);
    int plays = 0;
    for (const auto& j : winamp.model().journal())
        plays += j.msg == winamp::kCommandMessage && j.wParam == winamp::cmd::Play;
    EXPECT_EQ(plays, 4);
}

}  // namespace
}  // namespace tb
