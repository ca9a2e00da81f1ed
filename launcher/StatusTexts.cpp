#include "StatusTexts.h"

namespace qv {

Text ProgressStatus(std::int32_t nBytes)
{
    return u"Aktuelle Version wird geladen: " + DecimalText(nBytes);
}

Text CompletionStatus(std::int32_t nBytes, std::int32_t durationMs, const NumberSeparators& separators)
{
    const std::int64_t bits = static_cast<std::int64_t>(nBytes) * 8;
    const double seconds = (durationMs > 0 ? durationMs : 1) / 1000.0;
    const double rate = (static_cast<double>(bits) / 1000.0) / seconds;
    return u"Beendet: " + FormatGroupedCount(nBytes, separators) + u" bytes (" + FormatOneDecimal(rate, separators) + u" kbps)";
}

}  // namespace qv
