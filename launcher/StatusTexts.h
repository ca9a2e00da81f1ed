#pragma once
// The status line's texts while the client is fetched and started.

#include "host/base/NumberFormat.h"
#include "host/base/Text.h"

#include <cstdint>

namespace qv {

// "Aktuelle Version wird geladen: 524288"
Text ProgressStatus(std::int32_t nBytes);

// "Beendet: 1.234.567 bytes (4938,3 kbps)" with German separators. The rate
// is in kilobits per second of 1000 bits; a download measured at 0 ms counts
// as 1 ms, the counter's smallest step, and bit counts are not limited to 32 bits.
Text CompletionStatus(std::int32_t nBytes, std::int32_t durationMs, const NumberSeparators& separators);

inline const Text StartingStatus = u"Aktuelle Version wird gestartet...";
// When the update could not be applied and the client that was there starts.
inline const Text ExistingStartingStatus = u"Vorhandene Version wird gestartet...";

}  // namespace qv
