#include "platform/sim/SimClock.h"

#include <algorithm>
#include <utility>

namespace tb::sim {

std::int64_t daysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil.
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

LocalTime localTimeFromMs(std::int64_t msSinceEpoch) {
    constexpr std::int64_t kMsPerDay = 86'400'000;
    std::int64_t days = msSinceEpoch / kMsPerDay;
    std::int64_t msOfDay = msSinceEpoch % kMsPerDay;
    if (msOfDay < 0) {
        msOfDay += kMsPerDay;
        --days;
    }
    // Howard Hinnant's civil_from_days.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    LocalTime t;
    t.year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    t.month = static_cast<int>(m);
    t.day = static_cast<int>(d);
    const std::int64_t secs = msOfDay / 1000;
    t.hour = static_cast<int>(secs / 3600);
    t.minute = static_cast<int>(secs / 60 % 60);
    t.second = static_cast<int>(secs % 60);
    return t;
}

std::int64_t msFromLocalTime(const LocalTime& t) {
    const std::int64_t secs =
        daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    return secs * 1000;
}

SimClock::SimClock(std::uint64_t startTickMs) : now_(startTickMs), wallBaseTick_(startTickMs) {
    setLocalTime(LocalTime{2024, 3, 14, 12, 0, 0});
}

void SimClock::advanceTo(std::uint64_t tickMs) { now_ = std::max(now_, tickMs); }

LocalTime SimClock::localTime() const {
    return localTimeFromMs(wallBaseMs_ + static_cast<std::int64_t>(now_ - wallBaseTick_));
}

void SimClock::setLocalTime(const LocalTime& t) {
    wallBaseMs_ = msFromLocalTime(t);
    wallBaseTick_ = now_;
}

TimerId SimClock::start(std::uint32_t intervalMs, std::function<void()> onTick, ProcessId owner) {
    auto timer = std::make_shared<Timer>();
    timer->id = nextId_++;
    timer->owner = owner;
    timer->intervalMs = std::clamp(intervalMs, minimumMs_, kUserTimerMaximum);
    timer->nextDueMs = now_ + timer->intervalMs;
    timer->onTick = std::move(onTick);
    ticks_[timer->id] = 0;
    timers_[timer->id] = timer;
    return timer->id;
}

void SimClock::stop(TimerId id) {
    timers_.erase(id);
    // A long run starts and stops many timers: a count kept for each would grow without end.
    ticks_.erase(id);
}

void SimClock::stopAllOf(ProcessId owner) {
    std::erase_if(timers_, [owner](const auto& entry) { return entry.second->owner == owner; });
}

int SimClock::fireDue() {
    std::vector<std::shared_ptr<Timer>> due;
    for (const auto& [id, timer] : timers_) {
        if (timer->nextDueMs <= now_) due.push_back(timer);
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a->nextDueMs < b->nextDueMs; });
    int fired = 0;
    for (const auto& timer : due) {
        // An earlier callback may have stopped this timer, or stopped and restarted it.
        auto it = timers_.find(timer->id);
        if (it == timers_.end() || it->second != timer || timer->nextDueMs > now_) continue;
        // Coalesce like WM_TIMER: one tick, and the next one stays in phase with the first.
        const std::uint64_t missed = (now_ - timer->nextDueMs) / timer->intervalMs;
        timer->nextDueMs += (missed + 1) * timer->intervalMs;
        ++ticks_[timer->id];
        ++fired;
        // The callback may stop its own timer; `timer` keeps the function alive meanwhile.
        timer->onTick();
    }
    return fired;
}

std::optional<std::uint64_t> SimClock::nextDue() const {
    std::optional<std::uint64_t> next;
    for (const auto& [id, timer] : timers_) {
        if (!next || timer->nextDueMs < *next) next = timer->nextDueMs;
    }
    return next;
}

std::vector<TimerInfo> SimClock::activeTimers() const {
    std::vector<TimerInfo> out;
    for (const auto& [id, timer] : timers_) {
        out.push_back({id, timer->intervalMs, timer->nextDueMs, ticks(id), timer->owner});
    }
    return out;
}

std::uint64_t SimClock::ticks(TimerId id) const {
    auto it = ticks_.find(id);
    return it == ticks_.end() ? 0 : it->second;
}

}  // namespace tb::sim
