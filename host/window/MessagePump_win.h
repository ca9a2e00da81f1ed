#pragma once

#include "host/window/MessagePump.h"

#include <chrono>
#include <functional>

namespace qv {

class WindowsMessagePump final : public MessagePump {
public:
    void PumpStep() override;
    void WaitForMessages(std::int32_t milliseconds) override;
};

// For programs that wait for a read or a window outside a message loop of
// their own: pumps messages, sleeping while there are none, until done()
// holds or the time is up. Returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace qv
