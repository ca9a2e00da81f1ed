#pragma once

#include <cstdint>

namespace qv {

// A timer with an interval and an enabled switch. Its ticks arrive on the UI
// thread through the message loop, routed by whoever owns the timer to the
// handler that wants them.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(std::int32_t milliseconds) = 0;
    virtual bool Enabled() const = 0;
    // Enabling starts the interval afresh; disabling stops the ticks.
    virtual void SetEnabled(bool enabled) = 0;
};

}  // namespace qv
