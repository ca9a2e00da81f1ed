// Stands in for the remote-support client in tests: when started it appends
// one line to "tamorix-started.txt" in its own folder, with the time its
// process was created (Unix milliseconds), its own file version and its
// folder, then exits.

#include "host/base/HostError.h"
#include "host/base/Text.h"
#include "host/base/WideText_win.h"
#include "host/files/FileQueries_win.h"
#include "host/shell/LauncherServices_win.h"

#include "UnixTime_win.h"

#include <windows.h>

#include <string>

namespace {

long long CreationTime()
{
    FILETIME created, exited, kernel, user;
    return GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) ? UnixMilliseconds(created)
                                                                                   : UnixMillisecondsNow();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        wchar_t own[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, own, MAX_PATH);
        const qv::Text path = qv::FromWide(own);
        const qv::Text folder = qv::FolderOfModule(path);
        qv::WindowsFileQueries files;
        const std::string line = std::to_string(CreationTime()) + " version=" +
                                 qv::Utf8FromText(files.GetFileVersion(path)) + " folder=" + qv::Utf8FromText(folder) +
                                 "\n";
        const qv::Text marker = folder + (folder.back() == u'\\' ? u"" : u"\\") + u"tamorix-started.txt";
        HANDLE file = CreateFileW(qv::Wide(marker), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return 2;
        }
        DWORD written = 0;
        const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        return ok && written == line.size() ? 0 : 2;
    } catch (const qv::HostError&) {
        return 3;
    }
}
