#include "host/files/FileQueries_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/FileInput_win.h"
#include "host/files/OwnedFile_win.h"

#include <windows.h>

#include <vector>

namespace qv {

bool WindowsFileQueries::FileExists(const Text& fileName)
{
    const DWORD attributes = GetFileAttributesW(Wide(fileName));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Text WindowsFileQueries::GetFileVersion(const Text& fileName)
{
    return FileVersionText(*this, fileName);
}

ProgramShape WindowsFileQueries::ShapeOfProgramFile(const Text& fileName)
{
    // As a reader that lets a running client keep its file open.
    const OwnedFile file(CreateFileW(Wide(fileName), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw ErrorFromLastError(u"Die Datei " + fileName + u" kann nicht gelesen werden");
    }
    return ShapeOfProgram(FileBytes(file.Get()));
}

std::optional<FixedFileVersion> WindowsFileQueries::QueryFixedVersion(const Text& fileName, std::uint32_t& error)
{
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(Wide(fileName), &unused);
    if (size == 0) {
        error = GetLastError();
        return std::nullopt;
    }
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(Wide(fileName), 0, size, block.data())) {
        error = GetLastError();
        return std::nullopt;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof *fixed || fixed->dwSignature != VS_FFI_SIGNATURE) {
        error = 0;
        return std::nullopt;
    }
    return FixedFileVersion{static_cast<std::uint16_t>(fixed->dwFileVersionMS >> 16),
                            static_cast<std::uint16_t>(fixed->dwFileVersionMS),
                            static_cast<std::uint16_t>(fixed->dwFileVersionLS >> 16),
                            static_cast<std::uint16_t>(fixed->dwFileVersionLS)};
}

std::uint32_t WindowsFileQueries::ProbeRead(const Text& fileName)
{
    // As a reader that lets a running client keep its file open.
    const OwnedFile file(CreateFileW(Wide(fileName), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return GetLastError();
    }
    char first[2];
    DWORD read = 0;
    return ReadFile(file.Get(), first, sizeof first, &read, nullptr) ? 0 : GetLastError();
}

HostError WindowsFileQueries::ErrorFor(std::uint32_t code, const Text& what)
{
    return ErrorFromWin32(code, what);
}

}  // namespace qv
