#pragma once

#include "host/base/TickCounter.h"

namespace qv {

class SystemTickCounter final : public TickCounter {
public:
    std::int32_t TickCount() override;
};

}  // namespace qv
