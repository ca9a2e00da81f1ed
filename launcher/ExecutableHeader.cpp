#include "ExecutableHeader.h"

namespace qv {

bool IsWindowsExecutable(const std::vector<std::uint8_t>& bytes)
{
    constexpr std::size_t dosHeaderSize = 0x40;
    constexpr std::size_t lfanewOffset = 0x3C;
    constexpr std::size_t signatureAndFileHeader = 4 + 20;
    if (bytes.size() < dosHeaderSize || bytes[0] != 'M' || bytes[1] != 'Z') {
        return false;
    }
    const std::uint32_t lfanew = static_cast<std::uint32_t>(bytes[lfanewOffset]) |
                                 static_cast<std::uint32_t>(bytes[lfanewOffset + 1]) << 8 |
                                 static_cast<std::uint32_t>(bytes[lfanewOffset + 2]) << 16 |
                                 static_cast<std::uint32_t>(bytes[lfanewOffset + 3]) << 24;
    if (lfanew < dosHeaderSize || lfanew > bytes.size() || bytes.size() - lfanew < signatureAndFileHeader) {
        return false;
    }
    return bytes[lfanew] == 'P' && bytes[lfanew + 1] == 'E' && bytes[lfanew + 2] == 0 && bytes[lfanew + 3] == 0;
}

}  // namespace qv
