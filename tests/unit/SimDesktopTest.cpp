// What the simulated desktop does that the shared contracts cannot show on a real one: hung
// windows on the virtual clock, processes that die, mouse capture, paint counting and the
// canvas that the pixel probes of other tests read.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

struct Recorder : WindowHandler {
    std::vector<std::uint32_t> messages;
    std::vector<MouseEvent> mice;
    int captureLost = 0;
    int destroys = 0;
    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam) override {
        messages.push_back(msg);
        return static_cast<LResult>(w + 1);
    }
    void onMouse(const MouseEvent& e) override { mice.push_back(e); }
    void onCaptureLost() override { ++captureLost; }
    void onDestroy() override { ++destroys; }
};

WindowSpec windowSpec(Rect r = {0, 0, 100, 50}, std::uint32_t exStyle = 0) {
    return WindowSpec{"W", "", r, exStyle, true};
}

TEST(SimDesktop, AHungWindowMakesSendsWaitOnTheVirtualClock) {
    SimDesktop desk;
    Recorder player;
    const Hwnd hw = desk.createWindow(windowSpec(), &player);
    const auto t0 = desk.tickCountMs();
    desk.setHung(hw, t0 + 3000);

    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WM_USER, 1, 104, 1000), std::nullopt);
    EXPECT_EQ(desk.tickCountMs(), t0 + 1000) << "the time-out was spent";
    EXPECT_TRUE(desk.postMessage(hw, wm::WM_USER + 1, 0, 0));
    desk.doEvents();
    EXPECT_TRUE(player.messages.empty()) << "posts wait for the hang to end";
    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WM_USER, 1, 104, 5000), 2) << "answers at 3 s";
    EXPECT_EQ(desk.tickCountMs(), t0 + 3000);
    desk.doEvents();
    EXPECT_EQ(player.messages, (std::vector<std::uint32_t>{wm::WM_USER, wm::WM_USER + 1}));

    desk.setHung(hw, t0 + 20'000);
    EXPECT_EQ(desk.sendMessage(hw, wm::WM_USER, 4, 0), 5) << "a plain send blocks until then";
    EXPECT_EQ(desk.tickCountMs(), t0 + 20'000);

    desk.setHung(hw, t0 + 60'000);
    desk.advance(6000);  // unresponsive for 6 s: SMTO_ABORTIFHUNG gives up at once
    const auto t1 = desk.tickCountMs();
    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WM_USER, 1, 0, 2000), std::nullopt);
    EXPECT_EQ(desk.tickCountMs(), t1);

    desk.setHung(hw, SimDesktop::kHungForever);
    EXPECT_THROW(desk.sendMessage(hw, wm::WM_USER, 0, 0), SimStuck);
}

TEST(SimDesktop, AKilledProcessLosesItsWindowsTimersAndMemoryAndHandlesAreCounted) {
    SimDesktop desk;
    Recorder player;
    const ProcessId pid = desk.createProcess("winamp.exe");
    Hwnd hw = 0;
    TimerId playing = 0;
    {
        auto as = desk.actAs(pid);
        hw = desk.createWindow(windowSpec(), &player);
        playing = desk.startTimer(500, [] {});
    }
    EXPECT_EQ(desk.windowProcessId(hw), pid);
    EXPECT_EQ(desk.activeTimerCount(), 0) << "the player's timer is not ours";
    desk.processes().writeMemory(pid, 0x5000, std::string_view("Song\0", 5));
    const ProcessHandle h = desk.openProcessForRead(pid);
    EXPECT_EQ(desk.openProcessHandleCount(), 1);
    std::uint8_t buf[5] = {};
    EXPECT_EQ(desk.readProcessMemory(h, 0x5000, buf), 5u);
    desk.setForeground(hw);

    EXPECT_TRUE(desk.killProcess(pid));
    EXPECT_FALSE(desk.isWindow(hw));
    EXPECT_FALSE(desk.isTimerActive(playing));
    EXPECT_EQ(player.destroys, 0) << "a dead process runs no code";
    EXPECT_EQ(desk.foregroundWindow(), 0u);
    EXPECT_EQ(desk.readProcessMemory(h, 0x5000, buf), 0u);
    EXPECT_EQ(desk.openProcessForRead(pid), 0u);
    desk.closeHandle(h);
    desk.closeHandle(h);
    EXPECT_EQ(desk.openProcessHandleCount(), 0);
    EXPECT_EQ(desk.processes().badCloseCount(), 1);
    EXPECT_FALSE(desk.killProcess(desk.selfProcessId()));
}

TEST(SimDesktop, MouseGoesToTheWindowUnderThePointOrTheCaptureHolder) {
    SimDesktop desk;
    Recorder back, bar;
    const Hwnd b = desk.createWindow(windowSpec({0, 0, 400, 300}), &back);
    const Hwnd t = desk.createWindow(windowSpec({100, 0, 371, 96}, wsex::WS_EX_TOPMOST), &bar);
    desk.showWindow(desk.createWindow(windowSpec({100, 0, 371, 96}), nullptr), sw::SW_HIDE);

    EXPECT_EQ(desk.mouse({110, 5}, MouseAction::Down, mouse::Left), t);
    EXPECT_EQ(desk.foregroundWindow(), t) << "a press activates";
    desk.setCapture(t);
    EXPECT_EQ(desk.mouse({50, 200}, MouseAction::Move), t) << "captured: outside still ours";
    EXPECT_EQ(desk.mouse({50, 200}, MouseAction::Up, mouse::Left), t);
    ASSERT_EQ(bar.mice.size(), 3u);
    EXPECT_EQ(bar.mice[0].pos, (Point{10, 5}));
    EXPECT_EQ(bar.mice[0].buttons, mouse::Left);
    EXPECT_EQ(bar.mice[1].pos, (Point{-50, 200}));
    EXPECT_EQ(bar.mice[2].buttons, 0);

    desk.setCapture(b);
    EXPECT_EQ(bar.captureLost, 1);
    desk.releaseCapture();
    EXPECT_EQ(back.captureLost, 1);
    EXPECT_EQ(desk.mouse({50, 200}, MouseAction::Move), b);
    EXPECT_EQ(desk.mouse({500, 500}, MouseAction::Move), 0u);
}

TEST(SimDesktop, AnErrorEscapingAHandlerAHookOrATimerStopsThereAndIsListed) {
    struct Throwing : Recorder, MessageHook {
        std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam l) override {
            if (msg == wm::WM_USER) throw std::runtime_error("handler");
            return Recorder::onMessage(msg, w, l);
        }
        std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam, LParam) override {
            if (msg == wm::WM_USER + 1) throw std::runtime_error("hook");
            return std::nullopt;
        }
    } handler;
    SimDesktop desk;
    const Hwnd hw = desk.createWindow(windowSpec(), &handler);
    desk.setMessageHook(hw, &handler);
    int ticks = 0;
    desk.startTimer(100, [&] {
        if (++ticks == 1) throw std::runtime_error("timer");
    });
    EXPECT_EQ(desk.sendMessage(hw, wm::WM_USER, 0, 0), 0);
    EXPECT_EQ(desk.sendMessage(hw, wm::WM_USER + 1, 0, 0), 1) << "the handler still gets it";
    desk.advance(300);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(desk.escapedErrors(), (std::vector<std::string>{"handler", "hook", "timer"}));
}

TEST(SimDesktop, PaintsOnceForManyInvalidationsAndOnlyWhileVisible) {
    SimDesktop desk;
    Recorder form;
    WindowSpec s = windowSpec({0, 0, 8, 4});
    s.visible = false;
    const Hwnd hw = desk.createWindow(s, &form);
    desk.invalidate(hw);
    desk.advance(100);
    EXPECT_EQ(desk.paintCount(hw), 0);
    desk.showWindow(hw, sw::SW_SHOWNOACTIVATE);
    desk.invalidate(hw);
    desk.invalidate(hw);
    desk.advance(1000);
    EXPECT_EQ(desk.paintCount(hw), 1) << "an idle window is not repainted";
    desk.moveWindow(hw, {0, 0, 10, 4});
    desk.doEvents();
    EXPECT_EQ(desk.paintCount(hw), 2);
    EXPECT_EQ(desk.frame(hw).width, 10);
}

TEST(SimCanvas, ImagesShowWhatLiesUnderTheirTransparentPixelsAndAllIsClipped) {
    SimCanvas c({4, 3});
    c.fillRect({-5, -5, 3, 3}, 1);
    const Image img{2, 2, {9, 0xFF00FF, 7, 8}, true};
    c.drawImage(img, 1, 1);
    c.drawImage(img, 3, 2);
    EXPECT_EQ(c.image().pixels, (std::vector<Color>{1, 1, 1, 0, 1, 9, 1, 0, 1, 7, 8, 9}));
}

}  // namespace
}  // namespace tb::sim
