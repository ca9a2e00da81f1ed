#pragma once
// A record of what a run of the program did, for the people who support its
// users. Recording never fails and never changes what the program does: a
// line that cannot be written is left out.

#include "host/base/Text.h"

namespace qv {

class RunLog {
public:
    virtual ~RunLog() = default;
    // One step; the log adds the time and the process.
    virtual void Record(const Text& line) noexcept = 0;
};

}  // namespace qv
