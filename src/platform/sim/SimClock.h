// The simulation's virtual clock and its timers. Time only moves when the desktop is told to
// move it, so a test of minutes of program life runs in microseconds.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Desktop.h"

namespace tb::sim {

struct TimerInfo {
    TimerId id = 0;
    std::uint32_t intervalMs = 0;  // after clamping to the system minimum
    std::uint64_t nextDueMs = 0;
    std::uint64_t ticks = 0;
    ProcessId owner = 0;
};

class SimClock {
public:
    // Windows raises intervals below USER_TIMER_MINIMUM to it.
    static constexpr std::uint32_t kUserTimerMinimum = 10;
    static constexpr std::uint32_t kUserTimerMaximum = 0x7FFFFFFF;

    explicit SimClock(std::uint64_t startTickMs);

    std::uint64_t now() const { return now_; }
    // Moves the clock forward (never back) without running anything.
    void advanceTo(std::uint64_t tickMs);

    LocalTime localTime() const;
    // The wall clock reads `t` now and moves on with the virtual clock.
    void setLocalTime(const LocalTime& t);

    TimerId start(std::uint32_t intervalMs, std::function<void()> onTick, ProcessId owner = 0);
    void stop(TimerId id);
    // A process that ends takes its timers along.
    void stopAllOf(ProcessId owner);
    // Runs every timer that is due now, each at most once however many intervals passed, in
    // the order they fell due. Timers started by a callback wait for the next pass. Returns
    // how many ran.
    int fireDue();
    // The earliest time a running timer falls due.
    std::optional<std::uint64_t> nextDue() const;

    std::vector<TimerInfo> activeTimers() const;
    bool isActive(TimerId id) const { return timers_.count(id) != 0; }
    // Ticks a timer fired over its whole life, also after it was stopped.
    std::uint64_t ticks(TimerId id) const;
    std::uint32_t minimumIntervalMs() const { return minimumMs_; }
    // 1 lets a 1 ms timer tick every millisecond (no system minimum).
    void setMinimumIntervalMs(std::uint32_t ms) { minimumMs_ = ms == 0 ? 1 : ms; }

private:
    struct Timer {
        TimerId id = 0;
        std::uint32_t intervalMs = 0;
        std::uint64_t nextDueMs = 0;
        ProcessId owner = 0;
        std::function<void()> onTick;
    };

    std::uint64_t now_;
    std::uint32_t minimumMs_ = kUserTimerMinimum;
    TimerId nextId_ = 1;
    std::map<TimerId, std::shared_ptr<Timer>> timers_;
    std::map<TimerId, std::uint64_t> ticks_;
    // Wall clock: `wallBase_` was the local time (in ms since 1970-01-01) at tick `wallBaseTick_`.
    std::int64_t wallBaseMs_ = 0;
    std::uint64_t wallBaseTick_ = 0;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t daysFromCivil(int year, int month, int day);
LocalTime localTimeFromMs(std::int64_t msSinceEpoch);
std::int64_t msFromLocalTime(const LocalTime& t);

}  // namespace tb::sim
