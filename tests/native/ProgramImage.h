#pragma once
// Program files as a linker lays them out, for tests of what reads them.

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

struct ProgramImageParts {
    // Raw data sizes of the sections, laid out one after the other from 0x200 on.
    std::vector<std::uint32_t> sections{0x200};
    // Appended after the sections; the security directory points at it.
    std::vector<std::uint8_t> certificateTable;
    // What the security directory claims the table's size is; its real size when 0.
    std::uint32_t claimedTableSize = 0;
    // COFF symbols after the sections (and before the table): their count; a string table of 4 bytes follows.
    std::uint32_t symbols = 0;
};

// A 64-bit program file: DOS header, "PE\0\0" at 0x80, file and optional
// header, section table, 0x200 bytes of headers in all, then the parts.
std::vector<std::uint8_t> ProgramImage(const ProgramImageParts& parts = {});

// The same as text, as scripted reads deliver it.
std::string ProgramText(const ProgramImageParts& parts = {});

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

}  // namespace qv::test
