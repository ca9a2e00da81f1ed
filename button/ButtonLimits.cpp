#include "ButtonLimits.h"

#include "host/base/HostError.h"
#include "host/gdi/PictureFormat.h"
#include "host/store/PropertyStore.h"

#include <cstdlib>

namespace qv {

void CheckCaptionLength(std::size_t length, const Text& property)
{
    if (length > MostCaptionLength) {
        throw StoredValueError(ErrorNumber::InvalidPropertyValue, property,
                               u"Ungültiger Eigenschaftswert: " + DecimalText(static_cast<std::int64_t>(length)) +
                                   u" Zeichen sind mehr als " + DecimalText(static_cast<std::int64_t>(MostCaptionLength)));
    }
}

void CheckPictureSide(std::int32_t side, const Text& property)
{
    if (side < -32768 || side > 32767) {
        throw StoredValueError(ErrorNumber::Overflow, property,
                               u"Overflow: " + DecimalText(side) + u" liegt außerhalb von -32768 bis 32767");
    }
}

void CheckPictureSize(std::int32_t width, std::int32_t height, const Text& widthProperty, const Text& heightProperty)
{
    CheckPictureSide(width, widthProperty);
    CheckPictureSide(height, heightProperty);
    const std::uint64_t pixels = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(width))) *
                                 static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
    if (pixels > MostPicturePixels) {
        throw StoredValueError(ErrorNumber::Overflow, heightProperty,
                               u"Overflow: " + DecimalText(width) + u" \u00D7 " + DecimalText(height) +
                                   u" Bildpunkte sind mehr als " + DecimalText(static_cast<std::int64_t>(MostPicturePixels)));
    }
}

}  // namespace qv
