#pragma once

#include <cstdint>

namespace qv {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Processes the window messages that are waiting and returns; handlers of
    // notifications and input run inside this call. A request to quit stays
    // for the program's own message loop.
    virtual void PumpStep() = 0;
    // Sleeps until a message or notification arrives for this thread, or
    // `milliseconds` have passed, without using the processor meanwhile.
    // Handles nothing itself: the next PumpStep does.
    virtual void WaitForMessages(std::int32_t milliseconds) = 0;
};

}  // namespace qv
