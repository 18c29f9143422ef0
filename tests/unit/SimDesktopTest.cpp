// What the simulated desktop does that the shared contracts cannot show on a real one, and that
// other tests lean on without seeing it: hung windows and stuck waits on the virtual clock, dead
// processes and counted handles, errors kept from the host, paint counting and the canvas.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

struct Recorder : WindowHandler {
    std::vector<std::uint32_t> messages;
    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam) override {
        messages.push_back(msg);
        return static_cast<LResult>(w + 1);
    }
};

WindowSpec windowSpec(Rect r = {0, 0, 100, 50}) { return WindowSpec{"W", "", r, 0, true}; }

TEST(SimDesktop, AHungWindowMakesSendsWaitOnTheVirtualClock) {
    SimDesktop desk;
    Recorder player;
    const Hwnd hw = desk.createWindow(windowSpec(), &player);
    const auto t0 = desk.tickCountMs();
    desk.setHung(hw, t0 + 3000);
    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WmUser, 1, 104, 1000), std::nullopt);
    EXPECT_EQ(desk.tickCountMs(), t0 + 1000) << "the time-out was spent";
    EXPECT_TRUE(desk.postMessage(hw, wm::WmUser + 1, 0, 0));
    desk.doEvents();
    EXPECT_TRUE(player.messages.empty()) << "posts wait for the hang to end";
    EXPECT_EQ(desk.sendMessage(hw, wm::WmUser, 4, 0), 5) << "a plain send blocks until then";
    EXPECT_EQ(desk.tickCountMs(), t0 + 3000);

    desk.setHung(hw, t0 + 60'000);
    desk.advance(6000);  // unresponsive for 6 s: SMTO_ABORTIFHUNG gives up at once
    const auto t1 = desk.tickCountMs();
    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WmUser, 1, 0, 2000), std::nullopt);
    EXPECT_EQ(desk.tickCountMs(), t1);
    desk.setHung(hw, SimDesktop::kHungForever);
    EXPECT_THROW(desk.sendMessage(hw, wm::WmUser, 0, 0), SimStuck);
}

TEST(SimDesktop, AKilledProcessLosesItsWindowsTimersAndMemoryAndHandlesAreCounted) {
    SimDesktop desk;
    const ProcessId pid = desk.createProcess("winamp.exe");
    Hwnd hw = 0;
    TimerId playing = 0;
    {
        auto as = desk.actAs(pid);
        hw = desk.createWindow(windowSpec(), nullptr);
        playing = desk.startTimer(500, [] {});
    }
    desk.processes().writeMemory(pid, 0x5000, std::string_view("Song\0", 5));
    const ProcessHandle h = desk.openProcessForRead(pid);
    std::uint8_t buf[5] = {};
    EXPECT_EQ(desk.readProcessMemory(h, 0x5000, buf), 5u);
    EXPECT_TRUE(desk.killProcess(pid));
    EXPECT_FALSE(desk.isWindow(hw) || desk.isTimerActive(playing));
    EXPECT_EQ(desk.readProcessMemory(h, 0x5000, buf), 0u);
    EXPECT_EQ(desk.openProcessHandleCount(), 1);
    desk.closeHandle(h);
    desk.closeHandle(h);
    EXPECT_EQ(desk.openProcessHandleCount(), 0);
    EXPECT_EQ(desk.processes().badCloseCount(), 1);
}

TEST(SimDesktop, AnErrorEscapingAHandlerAHookOrATimerStopsThereAndIsListed) {
    struct Throwing : Recorder, MessageHook {
        std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam l) override {
            if (msg == wm::WmUser) throw std::runtime_error("handler");
            return Recorder::onMessage(msg, w, l);
        }
        std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam, LParam) override {
            if (msg == wm::WmUser + 1) throw std::runtime_error("hook");
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
    EXPECT_EQ(desk.sendMessage(hw, wm::WmUser, 0, 0), 0);
    EXPECT_EQ(desk.sendMessage(hw, wm::WmUser + 1, 0, 0), 1) << "the handler still gets it";
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
    desk.showWindow(hw, sw::SwShowNoActivate);
    desk.invalidate(hw);
    desk.invalidate(hw);
    desk.advance(1000);
    EXPECT_EQ(desk.paintCount(hw), 1) << "an idle window is not repainted";
}

TEST(SimCanvas, ImagesShowWhatLiesUnderTheirTransparentPixelsAndAllIsClipped) {
    SimCanvas c({4, 3});
    c.fillRect({-5, -5, 3, 3}, 1);
    const Image img{2, 2, {9, 0xFF00FF, 7, 8}, true};
    c.drawImage(img, 1, 1);
    c.drawImage(img, 3, 2);
    EXPECT_EQ(c.image().pixels, (std::vector<Color>{1, 1, 1, 0, 1, 9, 1, 0, 1, 7, 8, 9}));
}

TEST(SimClock, TimersRunInTheOrderTheyFallDueAndALateOneTicksOnceInPhase) {
    SimDesktop desk;
    std::string order;
    const auto t0 = desk.tickCountMs();
    const auto stamp = [&](char name) {
        return [&, name] { order += name + std::to_string(desk.tickCountMs() - t0) + " "; };
    };
    desk.startTimer(30, stamp('A'));
    desk.startTimer(20, stamp('B'));
    desk.startTimer(1, stamp('C'));  // below the system minimum: every 10 ms
    desk.advance(60);
    EXPECT_EQ(order, "C10 B20 C20 A30 C30 B40 C40 C50 A60 B60 C60 ");

    SimClock clock(0);
    const TimerId id = clock.start(100, [] {});
    clock.advanceTo(350);  // busy elsewhere for three and a half intervals
    EXPECT_EQ(clock.fireDue(), 1);
    EXPECT_EQ(clock.fireDue(), 0);
    EXPECT_EQ(clock.nextDue(), 400u);
    EXPECT_EQ(clock.ticks(id), 1u);
}

TEST(SimClock, TheEventLoopEndsOnQuitOrExitAndWaitsThatCanNeverEndAreStuck) {
    SimDesktop desk;
    desk.after(30'000, [&] { desk.quit(3); });
    EXPECT_EQ(desk.runEventLoop(), 3);
    EXPECT_EQ(desk.tickCountMs(), SimDesktop::kStartTickMs + 30'000);
    std::string seen;
    desk.after(250, [&] { seen += "event "; });
    desk.startTimer(100, [&] { seen += "tick "; });
    desk.waitEventsUntil(desk.tickCountMs() + 300);
    EXPECT_EQ(seen, "tick tick event tick ");
    desk.after(2000, [&] { desk.exitProcessNow(7); });
    EXPECT_THROW(desk.runEventLoop(), SimProcessExit);
    EXPECT_EQ(desk.exitCode(), 7);

    // Waiting for the clock with doEvents alone, or for an event that never comes.
    const auto until = desk.tickCountMs() + 100;
    EXPECT_THROW(while (desk.tickCountMs() < until) desk.doEvents(), SimStuck);
    SimDesktop idle;
    EXPECT_THROW(idle.runEventLoop(), SimStuck);
    idle.setEventLoopLimitMs(10'000);
    idle.startTimer(1000, [] {});
    EXPECT_THROW(idle.runEventLoop(), SimStuck);
}

}  // namespace
}  // namespace tb::sim
