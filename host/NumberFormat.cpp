#include "NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace qv {
namespace {

Text Digits(std::uint64_t magnitude)
{
    Text reversed;
    do {
        reversed += static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return Text(reversed.rbegin(), reversed.rend());
}

Text GroupedDigits(std::uint64_t magnitude, const Text& groupSeparator)
{
    const Text plain = Digits(magnitude);
    Text grouped;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (i > 0 && (plain.size() - i) % 3 == 0) {
            grouped += groupSeparator;
        }
        grouped += plain[i];
    }
    return grouped;
}

std::uint64_t Magnitude(std::int64_t value)
{
    return value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

Text FormatGroupedCount(std::int64_t value, const NumberSeparators& separators)
{
    const Text digits = GroupedDigits(Magnitude(value), separators.group);
    return value < 0 ? u"-" + digits : digits;
}

Text FormatOneDecimal(double value, const NumberSeparators& separators)
{
    if (!std::isfinite(value)) {
        return u"0" + separators.decimal + u"0";
    }
    // Within this range a count of tenths is exact in 64 bits.
    if (std::fabs(value) < 1.0e17) {
        const auto tenths = static_cast<std::int64_t>(std::round(value * 10.0));
        const std::uint64_t magnitude = Magnitude(tenths);
        const Text text = Digits(magnitude / 10) + separators.decimal + static_cast<char16_t>(u'0' + magnitude % 10);
        return tenths < 0 ? u"-" + text : text;
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    Text text = TextFromAscii(buffer);
    text.replace(text.find(u'.'), 1, separators.decimal);
    return text;
}

}  // namespace qv
