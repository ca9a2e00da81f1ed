#include "host/store/Variant.h"

#include "host/base/HostError.h"

#include <cmath>
#include <cstdio>

namespace qv {
namespace {

// Shortest text that reads back as the same number.
Text NumberText(double value)
{
    if (!std::isfinite(value)) {
        throw HostError(ErrorNumber::TypeMismatch, u"Typen unverträglich: keine endliche Zahl");
    }
    char digits[32];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(digits, sizeof digits, "%.*g", precision, value);
        if (std::strtod(digits, nullptr) == value) {
            break;
        }
    }
    return TextFromAscii(digits);
}

}  // namespace

Variant CopyOf(const Variant& value)
{
    return std::visit([](const auto& content) -> Variant { return content; }, value);
}

Text TypeNameOf(const Variant& value)
{
    static const char16_t* const names[] = {u"leer", u"Ganzzahl", u"Ganzzahl", u"Zahl",
                                           u"Wahrheitswert", u"Text", u"Bild", u"Schrift"};
    if (const auto* picture = std::get_if<PictureRef>(&value); picture && !*picture) {
        return u"Nothing";
    }
    return names[value.index()];
}

Text VariantToText(const Variant& value)
{
    return std::visit(
        [&value](const auto& content) -> Text {
            using T = std::decay_t<decltype(content)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return Text();
            } else if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>) {
                return DecimalText(content);
            } else if constexpr (std::is_same_v<T, double>) {
                return NumberText(content);
            } else if constexpr (std::is_same_v<T, bool>) {
                return content ? u"True" : u"False";
            } else if constexpr (std::is_same_v<T, Text>) {
                return content;
            } else {
                throw HostError(ErrorNumber::TypeMismatch,
                                u"Typen unverträglich: " + TypeNameOf(value) + u" hat keine Textform");
            }
        },
        value);
}

}  // namespace qv
