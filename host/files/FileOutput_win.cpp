#include "host/files/FileOutput_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/OwnedFile_win.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

namespace qv {
namespace {

// The written file beside the target, held open from its creation until it
// stands in the target's place: others may read it, but nobody can write,
// rename or delete it. Deleted unless it got there.
class HeldTemporary {
public:
    HeldTemporary(Text path, HANDLE handle) : m_path(std::move(path)), m_file(handle) {}
    ~HeldTemporary()
    {
        if (!m_placed) {
            m_file.Reset();
            DeleteFileW(Wide(m_path));
        }
    }
    HeldTemporary(const HeldTemporary&) = delete;
    HeldTemporary& operator=(const HeldTemporary&) = delete;

    const Text& Path() const noexcept { return m_path; }
    HANDLE Get() const noexcept { return m_file.Get(); }
    void Placed() noexcept { m_placed = true; }

private:
    Text m_path;
    OwnedFile m_file;
    bool m_placed = false;
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
        const HANDLE handle = CreateFileW(Wide(candidate), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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

// Renames the held file to the target, replacing it, through the handle: the
// file that was checked is the file that moves, whatever its name meanwhile.
void MoveIntoPlace(HANDLE file, const Text& target)
{
    // An NT path, which the call takes as it is on every version of the platform.
    const Text name = u"\\??\\" + target;
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, name.data(), nameBytes);
    if (!SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
        throw ErrorFromLastError(u"Datei kann nicht ersetzt werden");
    }
}

}  // namespace

void WindowsFileOutput::ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check)
{
    const Text target = FullPath(fileName);
    auto [path, handle] = CreateTemporaryBeside(target);
    HeldTemporary written(std::move(path), handle);

    WriteAll(written.Get(), bytes);
    if (!FlushFileBuffers(written.Get())) {
        throw ErrorFromLastError(u"Datei kann nicht geschrieben werden");
    }
    if (check && !check(HeldFile{written.Path(), reinterpret_cast<std::uintptr_t>(written.Get())})) {
        throw HostError(ErrorNumber::FileRefused, u"Die Datei hat die Prüfung nicht bestanden");
    }
    MoveIntoPlace(written.Get(), target);
    written.Placed();
}

}  // namespace qv
