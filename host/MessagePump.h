#pragma once

namespace qv {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Processes the window messages that are waiting and returns; handlers of
    // notifications and input run inside this call.
    virtual void PumpStep() = 0;
};

}  // namespace qv
