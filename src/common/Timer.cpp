#include "common/Timer.h"

namespace tb {

Timer::Timer(Desktop& desktop, std::uint32_t intervalMs, bool enabled)
    : desktop_(desktop), interval_(intervalMs) {
    setEnabled(enabled);
}

Timer::~Timer() { stop(); }

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_)
        start();
    else
        stop();
}

void Timer::setInterval(std::uint32_t intervalMs) {
    interval_ = intervalMs;
    if (enabled_) restart();
}

void Timer::restart() {
    stop();
    if (enabled_) start();
}

void Timer::start() {
    if (interval_ == 0 || id_ != 0) return;
    // The handler is read at tick time, so one set after enabling still runs.
    id_ = desktop_.startTimer(interval_, [this] {
        if (onTimer) onTimer();
    });
}

void Timer::stop() {
    if (id_ == 0) return;
    desktop_.stopTimer(id_);
    id_ = 0;
}

}  // namespace tb
