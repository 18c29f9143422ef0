// A form timer: an interval and an enabled flag over a desktop timer. Enabling starts a fresh
// period; changing the interval of a running timer restarts it; an interval of 0 never ticks.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Desktop.h"

namespace tb {

class Timer {
public:
    Timer(Desktop& desktop, std::uint32_t intervalMs, bool enabled = false);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    std::uint32_t Interval() const { return interval_; }
    void setInterval(std::uint32_t intervalMs);
    // Stops and starts again, so the next tick is a whole interval away.
    void restart();

    std::function<void()> onTimer;

private:
    void start();
    void stop();

    Desktop& desktop_;
    std::uint32_t interval_;
    bool enabled_ = false;
    TimerId id_ = 0;
};

}  // namespace tb
