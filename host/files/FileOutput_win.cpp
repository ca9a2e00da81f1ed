#include "host/files/FileOutput_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/OpenFileRename_win.h"
#include "host/files/OwnedFile_win.h"

#include <windows.h>

#include <utility>

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

}  // namespace

void WindowsFileOutput::ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check)
{
    const Text target = FullPathOf(fileName);
    auto [path, handle] = CreateTemporaryBeside(target);
    HeldTemporary written(std::move(path), handle);

    WriteAll(written.Get(), bytes);
    if (!FlushFileBuffers(written.Get())) {
        throw ErrorFromLastError(u"Datei kann nicht geschrieben werden");
    }
    if (check && !check(HeldFile{written.Path(), reinterpret_cast<std::uintptr_t>(written.Get())})) {
        throw HostError(ErrorNumber::FileRefused, u"Die Datei hat die Prüfung nicht bestanden");
    }
    RenameOpenFile(written.Get(), target);
    written.Placed();
}

void WindowsFileOutput::Remove(const Text& fileName)
{
    if (!DeleteFileW(Wide(fileName))) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            throw ErrorFromWin32(error, u"Datei kann nicht gelöscht werden");
        }
    }
}

}  // namespace qv
