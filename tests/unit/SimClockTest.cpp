// The virtual clock's timers and the event loop: what the rest of the suite takes for granted.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

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

TEST(SimClock, CallbacksMayStopAndStartTimersIncludingTheirOwn) {
    SimDesktop desk;
    std::string log;
    TimerId a = 0, b = 0;
    a = desk.startTimer(10, [&] {
        log += "a";
        desk.stopTimer(a);
        desk.stopTimer(b);                         // due in this same pass
        desk.startTimer(10, [&] { log += "c"; });  // not before the next pass
    });
    b = desk.startTimer(10, [&] { log += "b"; });
    desk.advance(10);
    EXPECT_EQ(log, "a");
    desk.advance(10);
    EXPECT_EQ(log, "ac");
    EXPECT_EQ(desk.activeTimerCount(), 1);
    EXPECT_EQ(desk.timerTicks(a), 1u) << "counts survive the timer";
}

TEST(SimClock, TheEventLoopEndsOnQuitOrExitAndWaitsThatCanNeverEndAreStuck) {
    SimDesktop desk;
    TimerId close = 0;
    close = desk.startTimer(30'000, [&] {
        desk.stopTimer(close);
        desk.quit(3);
    });
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
