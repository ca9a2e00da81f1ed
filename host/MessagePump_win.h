#pragma once

#include "MessagePump.h"

#include <chrono>
#include <functional>

namespace qv {

class WindowsMessagePump final : public MessagePump {
public:
    void PumpStep() override;
};

// Pumps messages, sleeping while there are none, until done() holds or the
// time is up. Returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace qv
