// The real host's wait for events, which the bar spends most of its life in.
#include <gtest/gtest.h>

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

TEST(Win32EventLoop, AWaitWithATimerRunningSleepsInsteadOfSpinning) {
    win32::Win32Desktop desktop;
    desktop.startTimer(50, [] {});
    const std::uint64_t cpuBefore = threadCpuMs(), start = desktop.tickCountMs();
    desktop.waitEventsUntil(start + 1000);
    EXPECT_GE(desktop.tickCountMs() - start, 1000u);
    // Thread CPU time, not wall time: a loaded machine slows the wait but cannot make it spin.
    EXPECT_LT(threadCpuMs() - cpuBefore, 150u) << "the wait kept the processor busy";
}

}  // namespace
}  // namespace tb::test
