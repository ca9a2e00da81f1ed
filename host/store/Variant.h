#pragma once
// A value of any of the types controls exchange with their container: what a
// property store holds and what an untyped property takes.

#include "host/base/Text.h"
#include "host/gdi/FontObject.h"
#include "host/gdi/Picture.h"

#include <cstdint>
#include <variant>

namespace qv {

// Empty (no value), 16-bit and 32-bit integers, a floating-point number, a
// truth value, text, a picture reference (null is nothing) and a font.
using Variant = std::variant<std::monostate, std::int16_t, std::int32_t, double, bool, Text, PictureRef, FontRef>;

// A copy that fails cleanly when memory runs out: it copies the value first
// and then makes the variant of it. The standard library's own variant copy
// (GCC 12) leaves a broken variant behind when copying text throws.
Variant CopyOf(const Variant& value);

// The type's name in messages ("Ganzzahl", "Text", "Bild" ...).
Text TypeNameOf(const Variant& value);

// The platform's value-to-text conversion: empty gives "", numbers their
// decimal text ("5", "-1.5"), truth values "True" or "False". Pictures and
// fonts have no text form: error 13.
Text VariantToText(const Variant& value);

}  // namespace qv
