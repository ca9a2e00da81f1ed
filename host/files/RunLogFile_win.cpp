#include "host/files/RunLogFile_win.h"

#include "host/base/WideText_win.h"
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

}  // namespace

RunLogFile::RunLogFile(Text path, std::uint64_t mostBytes) : m_path(std::move(path))
{
    // The log is a help, never a condition: whatever fails here leaves the file as it is.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!m_path.empty() && GetFileAttributesExW(Wide(m_path), GetFileExInfoStandard, &attributes)) {
        const std::uint64_t size = (static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
        if (size > mostBytes) {
            MoveFileExW(Wide(m_path), Wide(m_path + u".1"), MOVEFILE_REPLACE_EXISTING);
        }
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

void RunLogFile::Record(const Text& line) noexcept
{
    // A line that cannot be written is left out: the launcher must do the same with a log as without one.
    try {
        if (m_path.empty()) {
            return;
        }
        const std::string text = TimeAndProcess() + Utf8FromText(line) + "\r\n";
        const OwnedFile file(CreateFileW(Wide(m_path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) {
            WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
    } catch (...) {
        return;
    }
}

}  // namespace qv
