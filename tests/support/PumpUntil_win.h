#pragma once
// For tests and tools that wait for a read or a window: the program itself
// waits through its message pump.

#include <chrono>
#include <functional>

namespace qv {

// Pumps messages, sleeping while there are none, until done() holds or the
// time is up. Returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace qv
