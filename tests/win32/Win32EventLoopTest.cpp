#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

TEST(Win32EventLoop, AWaitSleepsInsteadOfSpinningAndRunsTimersThatStopThemselves) {
    win32::Win32Desktop desktop;
    std::vector<char> log;
    TimerId first = 0, second = 0;
    first = desktop.startTimer(50, [&] {
        log.push_back('a');
        desktop.stopTimer(first);  // its own std::function must survive this
        second = desktop.startTimer(50, [&] { log.push_back('b'); });
    });
    const std::uint64_t cpuBefore = threadCpuMs();
    const std::uint64_t start = desktop.tickCountMs();
    desktop.waitEventsUntil(start + 1000);
    // Thread CPU time, not wall time: a loaded machine slows the wait but cannot make it spin.
    EXPECT_LT(threadCpuMs() - cpuBefore, 150u) << "the wait kept the processor busy";
    EXPECT_GE(desktop.tickCountMs() - start, 1000u);
    EXPECT_EQ(std::count(log.begin(), log.end(), 'a'), 1);
    EXPECT_GE(std::count(log.begin(), log.end(), 'b'), 4);

    desktop.stopTimer(second);
    const std::size_t seen = log.size();
    desktop.waitEventsUntil(desktop.tickCountMs() + 200);
    EXPECT_EQ(log.size(), seen) << "a stopped timer ticked";
}

}  // namespace
}  // namespace tb::test
