#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

TEST(SimClock, TimerFiresOnceForSeveralMissedIntervalsAndStaysInPhase) {
    SimClock clock(0);
    int ticks = 0;
    const TimerId id = clock.start(100, [&] { ++ticks; });
    clock.advanceTo(350);  // busy elsewhere for three and a half intervals
    EXPECT_EQ(clock.fireDue(), 1);
    EXPECT_EQ(clock.fireDue(), 0);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(clock.nextDue(), 400u);
    EXPECT_EQ(clock.ticks(id), 1u);
}

TEST(SimClock, IntervalsBelowTheSystemMinimumRunAtIt) {
    SimDesktop desk;
    const TimerId slide = desk.startTimer(1, [] {});
    desk.advance(100);
    EXPECT_EQ(desk.timerTicks(slide), 10u);
    desk.setTimerMinimumMs(1);
    const TimerId fine = desk.startTimer(1, [] {});
    desk.advance(100);
    EXPECT_EQ(desk.timerTicks(fine), 100u);
    EXPECT_EQ(desk.activeTimers().at(0).intervalMs, 10u);

    const ProcessId player = desk.createProcess("player");
    TimerId playing = 0;
    {
        auto as = desk.actAs(player);
        playing = desk.startTimer(500, [] {});
    }
    EXPECT_EQ(desk.activeTimerCount(), 2) << "the player's timer is not ours";
    desk.killProcess(player);
    EXPECT_FALSE(desk.isTimerActive(playing));
}

TEST(SimClock, TimersFireInTheOrderTheyFallDue) {
    SimDesktop desk;
    std::string order;
    const auto t0 = desk.tickCountMs();
    desk.startTimer(30, [&] { order += "A" + std::to_string(desk.tickCountMs() - t0) + " "; });
    desk.startTimer(20, [&] { order += "B" + std::to_string(desk.tickCountMs() - t0) + " "; });
    desk.advance(60);
    EXPECT_EQ(order, "B20 A30 B40 A60 B60 ");
}

TEST(SimClock, CallbacksMayStopAndStartTimersIncludingTheirOwn) {
    SimDesktop desk;
    std::vector<std::string> log;
    TimerId a = 0, b = 0, c = 0;
    a = desk.startTimer(10, [&] {
        log.push_back("a");
        desk.stopTimer(a);
        desk.stopTimer(b);                                     // due in this same pass
        c = desk.startTimer(10, [&] { log.push_back("c"); });  // not before the next pass
    });
    b = desk.startTimer(10, [&] { log.push_back("b"); });
    desk.advance(10);
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
    desk.advance(10);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
    EXPECT_FALSE(desk.isTimerActive(a));
    EXPECT_EQ(desk.activeTimerCount(), 1);
    EXPECT_EQ(desk.timerTicks(a), 1u) << "counts survive the timer";
    EXPECT_EQ(desk.timerTicks(b), 0u);
}

TEST(SimClock, LocalTimeFollowsTheVirtualClockAcrossDaysAndYears) {
    struct Case {
        LocalTime set;
        std::uint64_t advanceMs;
        LocalTime expect;
    } cases[] = {
        {{2023, 12, 31, 23, 59, 59}, 1500, {2024, 1, 1, 0, 0, 0}},
        {{2024, 2, 28, 23, 59, 59}, 1000, {2024, 2, 29, 0, 0, 0}},
        {{2023, 2, 28, 23, 0, 0}, 3'600'000, {2023, 3, 1, 0, 0, 0}},
        {{2024, 3, 14, 8, 15, 30}, 90'061'000, {2024, 3, 15, 9, 16, 31}},
    };
    for (const auto& c : cases) {
        SimDesktop desk;
        desk.setLocalTime(c.set);
        desk.advance(c.advanceMs);
        const LocalTime t = desk.localTime();
        EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second}),
                  std::vector<int>({c.expect.year, c.expect.month, c.expect.day, c.expect.hour,
                                    c.expect.minute, c.expect.second}))
            << c.set.year << "-" << c.set.month << "-" << c.set.day;
    }
}

TEST(SimClock, EventLoopRunsUntilQuitExitOrNothingCanHappen) {
    SimDesktop desk;
    TimerId close = 0;
    close = desk.startTimer(30'000, [&] {
        desk.stopTimer(close);
        desk.quit(3);
    });
    EXPECT_EQ(desk.runEventLoop(), 3);
    EXPECT_EQ(desk.tickCountMs(), SimDesktop::kStartTickMs + 30'000);

    desk.after(2000, [&] { desk.exitProcessNow(7); });
    EXPECT_THROW(desk.runEventLoop(), SimProcessExit);
    EXPECT_EQ(desk.exitCode(), 7);

    SimDesktop idle;
    EXPECT_THROW(idle.runEventLoop(), SimStuck);
    idle.setEventLoopLimitMs(10'000);
    idle.startTimer(1000, [] {});
    EXPECT_THROW(idle.runEventLoop(), SimStuck);
}

TEST(SimClock, WaitingRunsTestEventsAndTimersAtTheirTimes) {
    SimDesktop desk;
    std::vector<std::uint64_t> seen;
    const auto t0 = desk.tickCountMs();
    desk.after(250, [&] { seen.push_back(desk.tickCountMs() - t0); });
    desk.startTimer(100, [&] { seen.push_back(desk.tickCountMs() - t0); });
    desk.waitEventsUntil(t0 + 300);
    EXPECT_EQ(seen, (std::vector<std::uint64_t>{100, 200, 250, 300}));
    desk.waitEventsUntil(t0);  // a deadline in the past runs one round, moving nothing
    EXPECT_EQ(desk.tickCountMs(), t0 + 300);
    // Waiting for the clock with DoEvents alone would never end.
    EXPECT_THROW(while (desk.tickCountMs() < t0 + 400) desk.doEvents(), SimStuck);
}

}  // namespace
}  // namespace tb::sim
