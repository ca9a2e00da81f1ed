#include "host/files/FileInput_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/OwnedFile_win.h"

namespace qv {

std::vector<std::uint8_t> WindowsFileInput::ReadAllBytes(const Text& fileName, std::size_t mostBytes)
{
    const OwnedFile file(CreateFileW(Wide(fileName), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw ErrorFromLastError(u"Die Datei \u201E" + fileName + u"\u201C kann nicht geöffnet werden");
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        throw ErrorFromLastError(u"Die Datei \u201E" + fileName + u"\u201C kann nicht gelesen werden");
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > mostBytes) {
        throw HostError(ErrorNumber::InvalidFileFormat, u"Die Datei \u201E" + fileName + u"\u201C ist größer als " +
                                                            DecimalText(static_cast<std::int64_t>(mostBytes)) + u" Bytes");
    }
    auto bytes = ReadAllThrough(file.Get());
    if (!bytes) {
        throw ErrorFromLastError(u"Die Datei \u201E" + fileName + u"\u201C kann nicht gelesen werden");
    }
    return *std::move(bytes);
}

std::optional<std::vector<std::uint8_t>> ReadAllThrough(HANDLE file)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x40000000) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(done);
        at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(done) >> 32);
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, &at)) {
            if (GetLastError() != ERROR_HANDLE_EOF) {
                return std::nullopt;
            }
            read = 0;
        }
        if (read == 0) {
            // The file ended early: it shrank while being read.
            bytes.resize(done);
            break;
        }
        done += read;
    }
    return bytes;
}

std::uint64_t FileBytes::Size() const
{
    LARGE_INTEGER size{};
    return GetFileSizeEx(m_file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

bool FileBytes::Read(std::uint64_t at, std::span<std::uint8_t> into) const
{
    while (!into.empty()) {
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const DWORD wanted = into.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(into.size());
        DWORD read = 0;
        if (!ReadFile(m_file, into.data(), wanted, &read, &where) || read == 0) {
            return false;
        }
        at += read;
        into = into.subspan(read);
    }
    return true;
}

}  // namespace qv
