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

}  // namespace qv
