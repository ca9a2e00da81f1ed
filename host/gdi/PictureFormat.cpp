#include "host/gdi/PictureFormat.h"

#include "host/base/ByteOrder.h"
#include "host/base/HostError.h"

#include <algorithm>
#include <cstdlib>

namespace qv {
namespace {

std::uint32_t Be16(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint32_t>(d[at]) << 8 | d[at + 1];
}

std::uint32_t Be32(std::span<const std::uint8_t> d, std::size_t at)
{
    return Be16(d, at) << 16 | Be16(d, at + 2);
}

bool StartsWith(std::span<const std::uint8_t> d, std::initializer_list<std::uint8_t> prefix)
{
    return d.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), d.begin());
}

std::uint32_t Magnitude(std::uint32_t value)
{
    return static_cast<std::uint32_t>(std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(value))));
}

// A device-independent bitmap header (BITMAPCOREHEADER or a later one); an
// icon's bitmap counts its height twice, for the image and for its mask.
std::optional<PictureExtent> DibExtent(std::span<const std::uint8_t> d, std::size_t at, bool iconHeight)
{
    if (at + 4 > d.size()) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = LittleEndian32(d, at);
    PictureExtent extent;
    if (headerSize == 12 && at + 12 <= d.size()) {
        extent = {LittleEndian16(d, at + 4), LittleEndian16(d, at + 6)};
    } else if (headerSize >= 40 && at + 16 <= d.size()) {
        extent = {Magnitude(LittleEndian32(d, at + 4)), Magnitude(LittleEndian32(d, at + 8))};
    } else {
        return std::nullopt;
    }
    if (iconHeight) {
        extent.height /= 2;
    }
    return extent;
}

std::optional<PictureExtent> PngExtent(std::span<const std::uint8_t> d, std::size_t at)
{
    // Signature, then the IHDR chunk: length, type, width, height.
    if (at + 24 > d.size() || Be32(d, at + 12) != 0x49484452) {
        return std::nullopt;
    }
    return PictureExtent{Be32(d, at + 16), Be32(d, at + 20)};
}

bool IsPng(std::span<const std::uint8_t> d, std::size_t at)
{
    static constexpr std::uint8_t Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return at + sizeof Signature <= d.size() && std::equal(std::begin(Signature), std::end(Signature), d.begin() + at);
}

// An icon or cursor directory: the largest of its images, as each image's own header says.
std::optional<PictureExtent> IconExtent(std::span<const std::uint8_t> d)
{
    if (d.size() < 6) {
        return std::nullopt;
    }
    const std::uint32_t count = LittleEndian16(d, 4);
    if (count == 0 || 6 + 16ull * count > d.size()) {
        return std::nullopt;
    }
    PictureExtent largest;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        const std::size_t offset = LittleEndian32(d, entry + 12);
        const auto image = IsPng(d, offset) ? PngExtent(d, offset) : DibExtent(d, offset, true);
        if (!image) {
            return std::nullopt;
        }
        if (image->Pixels() > largest.Pixels()) {
            largest = *image;
        }
    }
    return largest;
}

// The logical screen, and each image's own place on it, which may reach beyond it.
std::optional<PictureExtent> GifExtent(std::span<const std::uint8_t> d)
{
    if (d.size() < 13) {
        return std::nullopt;
    }
    PictureExtent extent{LittleEndian16(d, 6), LittleEndian16(d, 8)};
    std::size_t at = 13;
    if (d[10] & 0x80) {
        at += 3u << ((d[10] & 7) + 1);
    }
    while (at < d.size()) {
        const std::uint8_t block = d[at];
        if (block == 0x3B) {
            break;
        }
        if (block == 0x21) {
            // An extension: its label, then sub-blocks up to an empty one.
            at += 2;
            while (at < d.size() && d[at] != 0) {
                at += 1u + d[at];
            }
            ++at;
        } else if (block == 0x2C && at + 10 <= d.size()) {
            extent.width = std::max(extent.width, LittleEndian16(d, at + 1) + LittleEndian16(d, at + 5));
            extent.height = std::max(extent.height, LittleEndian16(d, at + 3) + LittleEndian16(d, at + 7));
            const std::uint8_t flags = d[at + 9];
            at += 10;
            if (flags & 0x80) {
                at += 3u << ((flags & 7) + 1);
            }
            // The LZW code size, then the image's sub-blocks.
            ++at;
            while (at < d.size() && d[at] != 0) {
                at += 1u + d[at];
            }
            ++at;
        } else {
            break;
        }
    }
    return extent;
}

// The first start-of-frame marker's size.
std::optional<PictureExtent> JpegExtent(std::span<const std::uint8_t> d)
{
    std::size_t at = 2;
    while (at + 4 <= d.size()) {
        if (d[at] != 0xFF) {
            return std::nullopt;
        }
        const std::uint8_t marker = d[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
        if (standalone) {
            at += 2;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > d.size()) {
                return std::nullopt;
            }
            // A height of 0 leaves it to a later marker: the size is unknown here.
            const PictureExtent extent{Be16(d, at + 7), Be16(d, at + 5)};
            return extent.width && extent.height ? std::optional(extent) : std::nullopt;
        }
        if (marker == 0xD9 || marker == 0xDA) {
            return std::nullopt;
        }
        at += 2 + Be16(d, at + 2);
    }
    return std::nullopt;
}

HostError InvalidPicture(const Text& detail)
{
    return HostError(ErrorNumber::InvalidPicture, u"Ungültiges Bild: " + detail);
}

}  // namespace

std::optional<PictureExtent> PictureExtentOf(std::span<const std::uint8_t> d)
{
    if (StartsWith(d, {'B', 'M'})) {
        return DibExtent(d, 14, false);
    }
    if (IsPng(d, 0)) {
        return PngExtent(d, 0);
    }
    if (StartsWith(d, {'G', 'I', 'F', '8'})) {
        return GifExtent(d);
    }
    if (StartsWith(d, {0xFF, 0xD8})) {
        return JpegExtent(d);
    }
    if (StartsWith(d, {0, 0, 1, 0}) || StartsWith(d, {0, 0, 2, 0})) {
        return IconExtent(d);
    }
    // A placeable metafile, and an enhanced one (" EMF" at byte 40).
    if (StartsWith(d, {0xD7, 0xCD, 0xC6, 0x9A}) ||
        (StartsWith(d, {1, 0, 0, 0}) && d.size() >= 44 && LittleEndian32(d, 40) == 0x464D4520)) {
        return PictureExtent{0, 0, true};
    }
    return std::nullopt;
}

void CheckPictureSize(std::span<const std::uint8_t> fileData)
{
    const auto extent = PictureExtentOf(fileData);
    if (!extent) {
        throw InvalidPicture(u"kein Bild in einem bekannten Format (BMP, ICO, CUR, GIF, JPEG, PNG, WMF, EMF)");
    }
    if (!extent->drawn && extent->Pixels() > MostPicturePixels) {
        throw InvalidPicture(DecimalText(extent->width) + u" \u00D7 " + DecimalText(extent->height) +
                             u" Bildpunkte sind mehr als " + DecimalText(static_cast<std::int64_t>(MostPicturePixels)));
    }
}

}  // namespace qv
