#include "ProgramImage.h"

namespace qv::test {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::vector<std::uint8_t> ProgramImage(const ProgramImageParts& parts)
{
    constexpr std::size_t pe = 0x80;
    constexpr std::size_t optional = pe + 24;
    constexpr std::size_t optionalSize = 240;
    constexpr std::size_t headers = 0x200;
    std::vector<std::uint8_t> file(headers);
    file[0] = 'M';
    file[1] = 'Z';
    Put32(file, 0x3C, pe);
    file[pe] = 'P';
    file[pe + 1] = 'E';
    file[pe + 6] = static_cast<std::uint8_t>(parts.sections.size());
    file[pe + 20] = optionalSize;
    file[optional] = 0x0B;
    file[optional + 1] = 0x02;
    Put32(file, optional + 60, headers);
    Put32(file, optional + 108, 16);
    std::size_t sectionHeader = optional + optionalSize;
    for (const std::uint32_t size : parts.sections) {
        Put32(file, sectionHeader + 16, size);
        Put32(file, sectionHeader + 20, static_cast<std::uint32_t>(file.size()));
        file.resize(file.size() + size, 0xCC);
        sectionHeader += 40;
    }
    if (parts.symbols > 0) {
        Put32(file, pe + 12, static_cast<std::uint32_t>(file.size()));
        Put32(file, pe + 16, parts.symbols);
        file.resize(file.size() + 18 * parts.symbols, 0);
        file.insert(file.end(), {4, 0, 0, 0});
    }
    if (!parts.certificateTable.empty() || parts.claimedTableSize > 0) {
        Put32(file, optional + 112 + 4 * 8, static_cast<std::uint32_t>(file.size()));
        Put32(file, optional + 112 + 4 * 8 + 4,
              parts.claimedTableSize ? parts.claimedTableSize : static_cast<std::uint32_t>(parts.certificateTable.size()));
        file.insert(file.end(), parts.certificateTable.begin(), parts.certificateTable.end());
    }
    return file;
}

std::string ProgramText(const ProgramImageParts& parts)
{
    const std::vector<std::uint8_t> bytes = ProgramImage(parts);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace qv::test
