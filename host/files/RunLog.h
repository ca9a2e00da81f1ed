#pragma once
// A record of what a run of the program did, for the people who support its
// users. Recording never fails and never changes what the program does: a
// line that cannot be built or written is left out.

#include "host/base/Text.h"

namespace qv {

class RunLog {
public:
    virtual ~RunLog() = default;

    // One step, as `line()` builds it: the building happens inside the log's
    // own error handling, so that a line too large to build is dropped like
    // one that cannot be written. An empty line is no step. The log adds the
    // time and the process.
    template <typename Line>
    void Record(const Line& line) noexcept
    {
        try {
            const Text text = line();
            if (!text.empty()) {
                Write(text);
            }
        } catch (...) {
            // Left out: the program must do the same with a log as without one.
            return;
        }
    }
    void Record(const char16_t* fixed) noexcept
    {
        Record([fixed] { return Text(fixed); });
    }

protected:
    // Writes one line; whatever it throws drops the line.
    virtual void Write(const Text& line) = 0;
};

}  // namespace qv
