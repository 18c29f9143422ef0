#include <gtest/gtest.h>

#include <vector>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

std::uint64_t threadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& ft) {
        return ((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

TEST(Win32EventLoop, AWaitSleepsInsteadOfSpinningAndStillRunsTimers) {
    win32::Win32Desktop desktop;
    int ticks = 0;
    desktop.startTimer(50, [&] { ++ticks; });
    const std::uint64_t cpuBefore = threadCpuMs();
    const std::uint64_t start = desktop.tickCountMs();
    desktop.waitEventsUntil(start + 1000);
    const std::uint64_t elapsed = desktop.tickCountMs() - start;
    const std::uint64_t cpu = threadCpuMs() - cpuBefore;
    EXPECT_GE(elapsed, 1000u);
    EXPECT_LT(elapsed, 1500u);
    EXPECT_LT(cpu, 150u) << "the wait kept the processor busy";
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 21);
}

TEST(Win32EventLoop, DoEventsRunsWhatIsPendingAndReturnsAtOnce) {
    win32::Win32Desktop desktop;
    int runs = 0;
    TimerId once = 0;
    once = desktop.startTimer(10, [&] {
        ++runs;
        desktop.stopTimer(once);
    });
    Sleep(50);  // the tick is due now
    const std::uint64_t start = desktop.tickCountMs();
    desktop.doEvents();
    EXPECT_EQ(runs, 1);
    desktop.doEvents();
    EXPECT_LT(desktop.tickCountMs() - start, 100u);
    EXPECT_EQ(runs, 1);
}

TEST(Win32Timers, CallbacksMayStopAndStartTimers) {
    win32::Win32Desktop desktop;
    std::vector<char> log;
    TimerId first = 0, second = 0;
    first = desktop.startTimer(20, [&] {
        log.push_back('a');
        desktop.stopTimer(first);  // its own std::function must survive this
        second = desktop.startTimer(20, [&] { log.push_back('b'); });
    });
    ASSERT_NE(first, 0u);
    ASSERT_TRUE(pumpUntil(desktop, [&] { return log.size() >= 3; }));
    desktop.stopTimer(second);
    const std::size_t seen = log.size();
    desktop.waitEventsUntil(desktop.tickCountMs() + 150);
    EXPECT_EQ(log.size(), seen) << "a stopped timer ticked";
    EXPECT_EQ(std::count(log.begin(), log.end(), 'a'), 1);
    desktop.stopTimer(first);  // stopping twice, or an unknown id, is harmless
    desktop.stopTimer(12345);
}

TEST(Win32EventLoop, QuitEndsTheLoopWithItsCodeAlsoWhenTakenByAWait) {
    win32::Win32Desktop desktop;
    TimerId q = 0;
    q = desktop.startTimer(20, [&] {
        desktop.stopTimer(q);  // the desktops below share this thread's queue
        desktop.quit(7);
    });
    EXPECT_EQ(desktop.runEventLoop(), 7);

    win32::Win32Desktop waiting;
    TimerId t = 0;
    t = waiting.startTimer(20, [&] {
        waiting.stopTimer(t);
        waiting.quit(3);
    });
    const std::uint64_t start = waiting.tickCountMs();
    waiting.waitEventsUntil(start + 5000);
    EXPECT_LT(waiting.tickCountMs() - start, 1000u) << "a quit should end the wait";
    EXPECT_EQ(waiting.runEventLoop(), 3);
}

}  // namespace
}  // namespace tb::test
