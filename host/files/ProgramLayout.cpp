#include "host/files/ProgramLayout.h"

#include "host/base/ByteOrder.h"

#include <array>
#include <cstring>

namespace qv {
namespace {

constexpr std::uint32_t PeSignature = 0x00004550;
constexpr std::size_t FileHeaderSize = 20;
constexpr std::size_t SectionHeaderSize = 40;
constexpr std::size_t SymbolSize = 18;
constexpr std::uint32_t SecurityDirectory = 4;

// Why a parse ended without a layout: the bytes are something else, or they
// stop before the headers do.
enum class Stop { NotAProgram, CutOff };

struct Parsed {
    std::optional<ProgramLayout> layout;
    Stop stop = Stop::NotAProgram;
};

class Reader {
public:
    explicit Reader(const ByteSource& file) : m_file(file) {}

    // The bytes [at, at + count); nothing when the file ends before them
    // (`cutOff` then says so) or they cannot be read.
    std::optional<std::vector<std::uint8_t>> Bytes(std::uint64_t at, std::uint64_t count)
    {
        if (at > m_file.Size() || count > m_file.Size() - at) {
            cutOff = true;
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
        if (!m_file.Read(at, bytes)) {
            return std::nullopt;
        }
        return bytes;
    }

    bool cutOff = false;

private:
    const ByteSource& m_file;
};

Parsed Parse(const ByteSource& file)
{
    Reader reader(file);
    Parsed parsed;
    const auto stopped = [&] {
        parsed.stop = reader.cutOff ? Stop::CutOff : Stop::NotAProgram;
        return parsed;
    };

    const auto start = reader.Bytes(0, 2);
    if (!start || (*start)[0] != 'M' || (*start)[1] != 'Z') {
        // Not even the start of a program, however short.
        return parsed;
    }
    const auto dos = reader.Bytes(0, 0x40);
    if (!dos) {
        return stopped();
    }
    const std::uint64_t pe = LittleEndian32(*dos, 0x3C);
    if (pe < 0x40) {
        return stopped();
    }
    const auto fileHeader = reader.Bytes(pe, 4 + FileHeaderSize);
    if (!fileHeader) {
        return stopped();
    }
    if (LittleEndian32(*fileHeader, 0) != PeSignature) {
        return stopped();
    }
    const std::uint32_t sectionCount = LittleEndian16(*fileHeader, 4 + 2);
    const std::uint64_t symbolTable = LittleEndian32(*fileHeader, 4 + 8);
    const std::uint64_t symbolCount = LittleEndian32(*fileHeader, 4 + 12);
    const std::uint32_t optionalSize = LittleEndian16(*fileHeader, 4 + 16);

    const std::uint64_t optionalAt = pe + 4 + FileHeaderSize;
    const auto optional = reader.Bytes(optionalAt, optionalSize);
    if (!optional || optionalSize < 2) {
        return stopped();
    }
    const std::uint32_t magic = LittleEndian16(*optional, 0);
    const std::size_t countAt = magic == 0x20B ? 108 : 92;
    if ((magic != 0x10B && magic != 0x20B) || optionalSize < countAt + 4) {
        return stopped();
    }
    ProgramLayout layout;
    const std::uint64_t sectionTable = optionalAt + optionalSize;
    const std::uint64_t sizeOfHeaders = LittleEndian32(*optional, 60);
    const std::uint64_t tableEnd = sectionTable + std::uint64_t{sectionCount} * SectionHeaderSize;
    layout.headers = {0, sizeOfHeaders > tableEnd ? sizeOfHeaders : tableEnd};

    const std::uint32_t directoryCount = LittleEndian32(*optional, countAt);
    const std::size_t securityAt = countAt + 4 + 8 * SecurityDirectory;
    if (directoryCount > SecurityDirectory && optionalSize >= securityAt + 8) {
        // This directory alone holds a file offset, not an address in memory.
        layout.certificateTable = {LittleEndian32(*optional, securityAt), LittleEndian32(*optional, securityAt + 4)};
    }

    const auto sections = reader.Bytes(sectionTable, tableEnd - sectionTable);
    if (!sections) {
        return stopped();
    }
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = i * SectionHeaderSize;
        const std::uint64_t rawSize = LittleEndian32(*sections, at + 16);
        if (rawSize > 0) {
            layout.sections.push_back({LittleEndian32(*sections, at + 20), rawSize});
        }
    }

    if (symbolTable != 0 && symbolCount != 0) {
        // The string table follows the symbols and begins with its own length.
        const std::uint64_t stringsAt = symbolTable + symbolCount * SymbolSize;
        const auto stringsLength = reader.Bytes(stringsAt, 4);
        const std::uint64_t strings = stringsLength ? LittleEndian32(*stringsLength, 0) : 4;
        layout.symbols = {symbolTable, stringsAt - symbolTable + (strings < 4 ? 4 : strings)};
    }
    parsed.layout = std::move(layout);
    return parsed;
}

}  // namespace

bool BytesInMemory::Read(std::uint64_t at, std::span<std::uint8_t> into) const
{
    if (at > m_bytes.size() || into.size() > m_bytes.size() - at) {
        return false;
    }
    if (!into.empty()) {
        std::memcpy(into.data(), m_bytes.data() + at, into.size());
    }
    return true;
}

std::optional<ProgramLayout> ReadProgramLayout(const ByteSource& file)
{
    return Parse(file).layout;
}

ProgramShape ShapeOfProgram(const ByteSource& file)
{
    const Parsed parsed = Parse(file);
    if (!parsed.layout) {
        return parsed.stop == Stop::CutOff ? ProgramShape::Incomplete : ProgramShape::NotAProgram;
    }
    const ProgramLayout& layout = *parsed.layout;
    const std::uint64_t size = file.Size();
    const auto inside = [size](const FileRange& range) { return range.offset <= size && range.size <= size - range.offset; };
    if (!inside(layout.headers) || !inside(layout.symbols)) {
        return ProgramShape::Incomplete;
    }
    for (const FileRange& section : layout.sections) {
        if (!inside(section)) {
            return ProgramShape::Incomplete;
        }
    }
    if (layout.certificateTable.size > 0 && (!inside(layout.certificateTable) || layout.certificateTable.End() != size)) {
        return ProgramShape::Incomplete;
    }
    return ProgramShape::Whole;
}

}  // namespace qv
