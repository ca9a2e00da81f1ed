#pragma once
// Number texts with the user's regional separators.

#include "host/base/Text.h"

#include <cstdint>

namespace qv {

struct NumberSeparators {
    Text decimal = u".";
    Text group = u",";
};

// "#,##0": thousands grouped, at least one digit.
Text FormatGroupedCount(std::int64_t value, const NumberSeparators& separators);

// "0.0": exactly one decimal, halves rounded away from zero. A value that is
// not a finite number gives "0" + decimal separator + "0".
Text FormatOneDecimal(double value, const NumberSeparators& separators);

}  // namespace qv
