#pragma once

#include "host/window/MessagePump.h"

namespace qv {

class WindowsMessagePump final : public MessagePump {
public:
    void PumpStep() override;
    void WaitForMessages(std::int32_t milliseconds) override;
};

}  // namespace qv
