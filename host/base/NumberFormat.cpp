#include "host/base/NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace qv {

Text FormatGroupedCount(std::int64_t value, const NumberSeparators& separators)
{
    const Text plain = DecimalText(value);
    const std::size_t firstDigit = value < 0 ? 1 : 0;
    Text grouped = plain.substr(0, firstDigit);
    for (std::size_t i = firstDigit; i < plain.size(); ++i) {
        if (i > firstDigit && (plain.size() - i) % 3 == 0) {
            grouped += separators.group;
        }
        grouped += plain[i];
    }
    return grouped;
}

Text FormatOneDecimal(double value, const NumberSeparators& separators)
{
    if (!std::isfinite(value)) {
        return u"0" + separators.decimal + u"0";
    }
    // Within this range a count of tenths is exact in 64 bits.
    if (std::fabs(value) < 1.0e17) {
        const auto tenths = static_cast<std::int64_t>(std::round(value * 10.0));
        const std::int64_t magnitude = tenths < 0 ? -tenths : tenths;
        const Text text = DecimalText(magnitude / 10) + separators.decimal + static_cast<char16_t>(u'0' + magnitude % 10);
        return tenths < 0 ? u"-" + text : text;
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    Text text = TextFromAscii(buffer);
    text.replace(text.find(u'.'), 1, separators.decimal);
    return text;
}

}  // namespace qv
