#include "host/files/FileOutput_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/FileInput_win.h"
#include "host/files/OpenFileRename_win.h"
#include "host/files/OwnedFile_win.h"

#include <windows.h>

#include <optional>
#include <utility>

namespace qv {
namespace {

// Names beside a target that only this program gives: "<target>.~<process>-<tick>-<n>"
// with ".tmp" for a file being written and ".alt" for a file moved aside, and
// "<target>.~lock" for the lock.
constexpr char16_t Mark[] = u".~";
constexpr char16_t PendingEnd[] = u".tmp";
constexpr char16_t AsideEnd[] = u".alt";
constexpr char16_t LockEnd[] = u"lock";

Text NameBeside(const Text& target, int attempt, const char16_t* end)
{
    return target + Mark + DecimalText(GetCurrentProcessId()) + u"-" + DecimalText(GetTickCount()) + u"-" +
           DecimalText(attempt) + end;
}

bool EndsWith(const Text& text, const Text& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A new, empty file beside the target under a name nobody uses, held open.
std::pair<Text, OwnedFile> CreatePendingBeside(const Text& target)
{
    for (int attempt = 0;; ++attempt) {
        Text candidate = NameBeside(target, attempt, PendingEnd);
        // An ordinary file: the rename keeps the attributes, and the file stays as the target.
        OwnedFile file(CreateFileW(Wide(candidate), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return {std::move(candidate), std::move(file)};
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 100) {
            throw ErrorFromWin32(error, u"Temporäre Datei kann nicht angelegt werden");
        }
    }
}

// Moves `target` to a new name beside it; nothing when there is no such file.
std::optional<Text> MoveAside(const Text& target)
{
    for (int attempt = 0;; ++attempt) {
        Text aside = NameBeside(target, attempt, AsideEnd);
        // A rename, which the platform allows for a running program and a read-only file.
        if (MoveFileExW(Wide(target), Wide(aside), 0)) {
            return aside;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 100) {
            throw ErrorFromWin32(error, u"Die vorhandene Datei kann nicht beiseitegelegt werden");
        }
    }
}

class WindowsPendingFile final : public PendingFile {
public:
    explicit WindowsPendingFile(const Text& target) : WindowsPendingFile(target, CreatePendingBeside(target)) {}
    ~WindowsPendingFile() override
    {
        if (m_file) {
            m_file.Reset();
            DeleteFileW(Wide(m_path));
        }
    }
    WindowsPendingFile(const WindowsPendingFile&) = delete;
    WindowsPendingFile& operator=(const WindowsPendingFile&) = delete;

    void CatchUp(const ByteSnapshot& bytes) override
    {
        if (!bytes.store || bytes.size <= m_written) {
            return;
        }
        std::size_t skip = m_written;
        bytes.store->ForEachPiece(bytes.size, [&](std::span<const std::uint8_t> piece) {
            const std::size_t skipped = skip < piece.size() ? skip : piece.size();
            skip -= skipped;
            Write(piece.subspan(skipped));
        });
    }

    HeldFile Written() override
    {
        if (!FlushFileBuffers(m_file.Get())) {
            throw ErrorFromLastError(u"Datei kann nicht geschrieben werden");
        }
        return {m_path, reinterpret_cast<std::uintptr_t>(m_file.Get())};
    }

    const ByteSource& Bytes() override { return m_bytes; }

    void Replace() override
    {
        RenameOpenFile(m_file.Get(), FullPathOf(m_target));
        Placed();
    }

    Text PlaceKeepingPrevious() override
    {
        const Text target = FullPathOf(m_target);
        const std::optional<Text> aside = MoveAside(target);
        try {
            RenameOpenFile(m_file.Get(), target);
        } catch (const HostError&) {
            if (aside) {
                MoveFileExW(Wide(*aside), Wide(target), 0);
            }
            throw;
        }
        Placed();
        return aside.value_or(Text());
    }

private:
    void Write(std::span<const std::uint8_t> piece)
    {
        while (!piece.empty()) {
            const DWORD chunk = piece.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(piece.size());
            DWORD written = 0;
            if (!WriteFile(m_file.Get(), piece.data(), chunk, &written, nullptr) || written == 0) {
                throw ErrorFromLastError(u"Datei kann nicht geschrieben werden");
            }
            piece = piece.subspan(written);
            m_written += written;
        }
    }

    // In place, the file is the target's: others may open it now, to start it among others.
    void Placed() noexcept { m_file.Reset(); }

    WindowsPendingFile(const Text& target, std::pair<Text, OwnedFile> created)
        : m_target(target), m_path(std::move(created.first)), m_file(std::move(created.second)), m_bytes(m_file.Get())
    {
    }

    Text m_target;
    Text m_path;
    OwnedFile m_file;
    FileBytes m_bytes;
    std::size_t m_written = 0;
};

class WindowsFileLock final : public FileLock {
public:
    explicit WindowsFileLock(OwnedFile file) : m_file(std::move(file)) {}

private:
    OwnedFile m_file;
};

}  // namespace

void WindowsFileOutput::ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check)
{
    const auto pending = BeginReplace(fileName);
    pending->CatchUp(bytes);
    const HeldFile written = pending->Written();
    if (check && !check(written)) {
        throw HostError(ErrorNumber::FileRefused, u"Die Datei hat die Prüfung nicht bestanden");
    }
    pending->Replace();
}

std::unique_ptr<PendingFile> WindowsFileOutput::BeginReplace(const Text& fileName)
{
    return std::make_unique<WindowsPendingFile>(FullPathOf(fileName));
}

void WindowsFileOutput::MoveReplacing(const Text& from, const Text& to)
{
    if (!MoveFileExW(Wide(from), Wide(to), MOVEFILE_REPLACE_EXISTING)) {
        throw ErrorFromLastError(u"Datei kann nicht ersetzt werden");
    }
}

void WindowsFileOutput::Remove(const Text& fileName)
{
    if (DeleteFileW(Wide(fileName))) {
        return;
    }
    DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(Wide(fileName));
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (SetFileAttributesW(Wide(fileName), attributes & ~FILE_ATTRIBUTE_READONLY) && DeleteFileW(Wide(fileName))) {
            return;
        }
        error = GetLastError();
    }
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        throw ErrorFromWin32(error, u"Datei kann nicht gelöscht werden");
    }
}

std::vector<Text> WindowsFileOutput::Leftovers(const Text& fileName)
{
    const Text target = FullPathOf(fileName);
    const Text folder = target.substr(0, target.find_last_of(u"\\/") + 1);
    std::vector<Text> found;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(Wide(target + Mark + u"*"), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        const Text name = FromWide(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && (EndsWith(name, PendingEnd) || EndsWith(name, AsideEnd))) {
            found.push_back(folder + name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

std::unique_ptr<FileLock> WindowsFileOutput::TryLock(const Text& fileName)
{
    const Text lockName = FullPathOf(fileName) + Mark + LockEnd;
    // Shared with nobody, and gone with the last handle: a program that ends
    // in any way lets go of it.
    OwnedFile file(CreateFileW(Wide(lockName), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file) {
        return std::make_unique<WindowsFileLock>(std::move(file));
    }
    const DWORD error = GetLastError();
    const bool exists = GetFileAttributesW(Wide(lockName)) != INVALID_FILE_ATTRIBUTES;
    // Held, or on its way out with its holder's last handle.
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_DELETE_PENDING ||
        (error == ERROR_ACCESS_DENIED && exists)) {
        return nullptr;
    }
    throw ErrorFromWin32(error, u"Die Sperrdatei kann nicht angelegt werden");
}

}  // namespace qv
