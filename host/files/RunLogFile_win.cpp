#include "host/files/RunLogFile_win.h"

#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/files/OpenFileRename_win.h"
#include "host/files/OwnedFile_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace qv {
namespace {

std::string TimeAndProcess()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                  static_cast<unsigned long>(GetCurrentProcessId()));
    return stamp;
}

// Whether `path` still names the file `file` holds, or another run has rotated it meanwhile.
bool StillNamed(HANDLE file, const Text& path)
{
    const OwnedFile named(CreateFileW(Wide(path), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION held{};
    BY_HANDLE_FILE_INFORMATION found{};
    return named && GetFileInformationByHandle(file, &held) && GetFileInformationByHandle(named.Get(), &found) &&
           held.dwVolumeSerialNumber == found.dwVolumeSerialNumber && held.nFileIndexHigh == found.nFileIndexHigh &&
           held.nFileIndexLow == found.nFileIndexLow;
}

// An append is not one step everywhere (Wine, some network shares): a run
// that finds the end while another writes there overwrites its line. Writers
// take turns on one byte far past any end, which no reader ever touches.
OVERLAPPED AppendLockPlace()
{
    OVERLAPPED at{};
    at.OffsetHigh = 0x40000000;
    return at;
}

// Whether the turn was taken; a writer that does not get it within a moment writes without it.
bool LockForAppend(HANDLE file)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        OVERLAPPED at = AppendLockPlace();
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
            return true;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION) {
            return false;
        }
        Sleep(5);
    }
    return false;
}

}  // namespace

RunLogFile::RunLogFile(Text path, std::uint64_t mostBytes) : m_path(std::move(path))
{
    // The log is a help, never a condition: a log that cannot be rotated stays as it is.
    try {
        if (!m_path.empty()) {
            RotateIfLarger(OpenForRotation(m_path), m_path, mostBytes);
        }
    } catch (...) {
        return;
    }
}

OwnedFile RunLogFile::OpenForRotation(const Text& path)
{
    constexpr DWORD Sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    OwnedFile file(CreateFileW(Wide(path), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_DATA, Sharing, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() == ERROR_SHARING_VIOLATION) {
        // Held by a program that lets nobody rename it: it can still be emptied.
        file = OwnedFile(CreateFileW(Wide(path), FILE_READ_ATTRIBUTES | FILE_WRITE_DATA, Sharing, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return file;
}

void RunLogFile::RotateIfLarger(const OwnedFile& log, const Text& path, std::uint64_t mostBytes)
{
    LARGE_INTEGER size{};
    if (!log || !GetFileSizeEx(log.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) <= mostBytes ||
        !StillNamed(log.Get(), path)) {
        return;
    }
    try {
        RenameOpenFile(log.Get(), path + u".1");
        return;
    } catch (const HostError&) {
        // Not renamed: begun anew rather than grown without bound.
    }
    LARGE_INTEGER start{};
    if (SetFilePointerEx(log.Get(), start, nullptr, FILE_BEGIN)) {
        SetEndOfFile(log.Get());
    }
}

Text RunLogFile::DefaultPath()
{
    PWSTR folder = nullptr;
    Text path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder))) {
        const Text own = FromWide(folder) + u"\\Quorvelinde";
        CreateDirectoryW(Wide(own), nullptr);
        path = own + u"\\Quorvelinde.log";
    }
    CoTaskMemFree(folder);
    return path;
}

void RunLogFile::Write(const Text& line)
{
    if (m_path.empty()) {
        return;
    }
    const std::string text = TimeAndProcess() + Utf8FromText(line) + "\r\n";
    // Read access only so that the file can be locked; without write access every write is an append.
    const OwnedFile file(CreateFileW(Wide(m_path), FILE_APPEND_DATA | FILE_READ_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    const bool locked = LockForAppend(file.Get());
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (locked) {
        OVERLAPPED at = AppendLockPlace();
        UnlockFileEx(file.Get(), 0, 1, 0, &at);
    }
}

}  // namespace qv
