#include "host/files/FileOutput_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/FileHandle_win.h"

#include <windows.h>

#include <optional>
#include <utility>

namespace qv {
namespace {

// Deletes the temporary file unless the replace took it over.
class TemporaryFile {
public:
    explicit TemporaryFile(Text path) : m_path(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!m_path.empty()) {
            DeleteFileW(Wide(m_path));
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const Text& Path() const noexcept { return m_path; }
    void Release() noexcept { m_path.clear(); }

private:
    Text m_path;
};

Text FullPath(const Text& fileName)
{
    const DWORD needed = GetFullPathNameW(Wide(fileName), 0, nullptr, nullptr);
    if (needed == 0) {
        throw ErrorFromLastError(u"Ungültiger Dateiname");
    }
    Text full(needed, u'\0');
    const DWORD length = GetFullPathNameW(Wide(fileName), needed, reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= needed) {
        throw ErrorFromLastError(u"Ungültiger Dateiname");
    }
    full.resize(length);
    return full;
}

// Creates a new, empty file beside the target under a name nobody uses.
std::pair<Text, HANDLE> CreateTemporaryBeside(const Text& target)
{
    const Text base = target + u".~" + DecimalText(GetCurrentProcessId()) + u"-";
    for (int attempt = 0;; ++attempt) {
        Text candidate = base + DecimalText(GetTickCount()) + u"-" + DecimalText(attempt) + u".tmp";
        // An ordinary file: the rename keeps the attributes, and the file stays as the target.
        const HANDLE handle =
            CreateFileW(Wide(candidate), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return {std::move(candidate), handle};
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 100) {
            throw ErrorFromWin32(error, u"Temporäre Datei kann nicht angelegt werden");
        }
    }
}

void WriteAll(HANDLE file, const ByteSnapshot& bytes)
{
    if (!bytes.store) {
        return;
    }
    bytes.store->ForEachPiece(bytes.size, [file](std::span<const std::uint8_t> piece) {
        while (!piece.empty()) {
            const DWORD chunk = piece.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(piece.size());
            DWORD written = 0;
            if (!WriteFile(file, piece.data(), chunk, &written, nullptr) || written == 0) {
                throw ErrorFromLastError(u"Datei kann nicht geschrieben werden");
            }
            piece = piece.subspan(written);
        }
    });
}

}  // namespace

void WindowsFileOutput::ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check)
{
    const Text target = FullPath(fileName);
    auto [tempPath, handle] = CreateTemporaryBeside(target);
    TemporaryFile temporary(std::move(tempPath));
    FileHandle file(handle);

    WriteAll(file.Get(), bytes);
    if (!FlushFileBuffers(file.Get())) {
        throw ErrorFromLastError(u"Datei kann nicht geschrieben werden");
    }
    if (!file.Close()) {
        throw ErrorFromLastError(u"Datei kann nicht geschlossen werden");
    }
    // Open against writers from the check to the replace: what was checked is what replaces the target.
    std::optional<FileHandle> checkedBytes;
    if (check) {
        checkedBytes.emplace(CreateFileW(Wide(temporary.Path()), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!checkedBytes->Valid()) {
            throw ErrorFromLastError(u"Datei kann nicht geprüft werden");
        }
        if (!check(temporary.Path())) {
            throw HostError(ErrorNumber::FileRefused, u"Die Datei hat die Prüfung nicht bestanden");
        }
    }
    if (!MoveFileExW(Wide(temporary.Path()), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw ErrorFromLastError(u"Datei kann nicht ersetzt werden");
    }
    temporary.Release();
}

}  // namespace qv
