// Stands in for the remote-support client in tests: when started it appends
// one line to "tamorix-started.txt" in its own folder (or to the file that
// QV_STUB_STARTS names), with the time its process was created (Unix
// milliseconds), its own file version and its folder, then exits.
//
// Started with "--stay", it is a running client instead, as an open support
// session is: it writes "tamorix-running.txt" in its folder and runs until
// "tamorix-stop.txt" appears there, or for three minutes at most.

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

bool Exists(const qv::Text& path)
{
    return GetFileAttributesW(qv::Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

int StayRunning(const qv::Text& folder)
{
    const HANDLE running = CreateFileW(qv::Wide(folder + u"tamorix-running.txt"), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (running == INVALID_HANDLE_VALUE) {
        return 2;
    }
    CloseHandle(running);
    for (int step = 0; step < 1800 && !Exists(folder + u"tamorix-stop.txt"); ++step) {
        Sleep(100);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    try {
        wchar_t own[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, own, MAX_PATH);
        const qv::Text path = qv::FromWide(own);
        const qv::Text folder = qv::FolderOfModule(path);
        const qv::Text withEnd = folder + (folder.back() == u'\\' ? u"" : u"\\");
        if (std::wstring(commandLine).find(L"--stay") != std::wstring::npos) {
            return StayRunning(withEnd);
        }
        qv::WindowsFileQueries files;
        const std::string line = std::to_string(CreationTime()) + " version=" +
                                 qv::Utf8FromText(files.GetFileVersion(path)) + " folder=" + qv::Utf8FromText(folder) +
                                 "\n";
        wchar_t named[MAX_PATH] = {};
        const qv::Text marker = GetEnvironmentVariableW(L"QV_STUB_STARTS", named, MAX_PATH) > 0
                                    ? qv::FromWide(named)
                                    : withEnd + u"tamorix-started.txt";
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
