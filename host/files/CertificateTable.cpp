#include "host/files/CertificateTable.h"

#include "host/base/ByteOrder.h"
#include "host/files/ProgramLayout.h"

#include <algorithm>
#include <optional>

namespace qv {
namespace {

constexpr std::uint16_t PkcsSignedData = 2;
constexpr std::uint16_t Revision2 = 0x0200;

bool AllZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// The length of the DER value (a SEQUENCE) at the start of `content`, tag and length included.
std::optional<std::size_t> DerLength(std::span<const std::uint8_t> content)
{
    if (content.size() < 2 || content[0] != 0x30) {
        return std::nullopt;
    }
    std::size_t header = 2;
    std::size_t length = content[1];
    if (length & 0x80) {
        const std::size_t digits = length & 0x7F;
        if (digits == 0 || digits > 4 || content.size() < 2 + digits) {
            return std::nullopt;
        }
        length = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            length = length << 8 | content[2 + i];
        }
        header += digits;
    }
    if (length > content.size() - header) {
        return std::nullopt;
    }
    return header + length;
}

// Where the table lies in the file; nothing for a file that is no program or
// whose table reaches beyond its end.
std::optional<std::span<const std::uint8_t>> TableOf(std::span<const std::uint8_t> file)
{
    const auto layout = ReadProgramLayout(BytesInMemory(file));
    if (!layout) {
        return std::nullopt;
    }
    const FileRange& table = layout->certificateTable;
    if (table.offset > file.size() || table.size > file.size() - table.offset) {
        return std::nullopt;
    }
    return file.subspan(static_cast<std::size_t>(table.offset), static_cast<std::size_t>(table.size));
}

}  // namespace

CertificateTable ReadCertificateTable(std::span<const std::uint8_t> file)
{
    CertificateTable result;
    const auto table = TableOf(file);
    if (!table) {
        return result;
    }
    const std::span<const std::uint8_t> entry = *table;
    if (entry.empty()) {
        result.onlySignatures = true;
        return result;
    }
    // One entry: the platform checks only the first, and nested signatures live inside it.
    const std::size_t length = entry.size() >= 8 ? LittleEndian32(entry, 0) : 0;
    if (length < 8 || length > entry.size() || LittleEndian16(entry, 4) != Revision2 ||
        LittleEndian16(entry, 6) != PkcsSignedData) {
        return result;
    }
    const std::span<const std::uint8_t> content = entry.subspan(8, length - 8);
    const auto der = DerLength(content);
    if (!der || content.size() - *der >= 8 || !AllZero(content.subspan(*der))) {
        return result;
    }
    result.firstSignature = content.first(*der);
    const std::size_t padded = (length + 7) / 8 * 8;
    result.onlySignatures = entry.size() <= padded && AllZero(entry.subspan(length));
    return result;
}

}  // namespace qv
