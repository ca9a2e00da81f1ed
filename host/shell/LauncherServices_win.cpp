#include "host/shell/LauncherServices_win.h"

#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/FileQueries_win.h"

#include <windows.h>
#include <shellapi.h>

namespace qv {
namespace {

HWND AsWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

Text LocaleText(const wchar_t* localeName, LCTYPE what, const Text& fallback)
{
    wchar_t buffer[16];
    const int length = GetLocaleInfoEx(localeName, what, buffer, static_cast<int>(std::size(buffer)));
    return length > 1 ? FromWide(buffer) : fallback;
}

Text ModulePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            throw ErrorFromLastError(u"Der Programmpfad kann nicht ermittelt werden");
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return FromWide(buffer.c_str());
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

NumberSeparators NumberSeparatorsOf(const wchar_t* localeName)
{
    const NumberSeparators standard;
    return {LocaleText(localeName, LOCALE_SDECIMAL, standard.decimal),
            LocaleText(localeName, LOCALE_STHOUSAND, standard.group)};
}

Text WindowsLauncherServices::ProgramPath()
{
    return FolderOfModule(ModulePath());
}

std::unique_ptr<FileQueries> WindowsLauncherServices::CreateFileSystemObject()
{
    return std::make_unique<WindowsFileQueries>();
}

Text WindowsLauncherServices::TextFromAnsiBytes(const std::vector<std::uint8_t>& bytes)
{
    return TextFromAnsi(bytes);
}

NumberSeparators WindowsLauncherServices::UserNumberSeparators()
{
    return NumberSeparatorsOf(LOCALE_NAME_USER_DEFAULT);
}

std::intptr_t WindowsLauncherServices::ShellExecuteFile(WindowHandle owner, const Text& verb, const Text& file,
                                                        const Text& parameters, const Text& directory,
                                                        std::int32_t showCommand)
{
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteW(AsWindow(owner), Wide(verb), Wide(file), Wide(parameters), Wide(directory), showCommand));
}

void WindowsLauncherServices::SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x,
                                           std::int32_t y, std::int32_t cx, std::int32_t cy, std::uint32_t flags)
{
    ::SetWindowPos(AsWindow(window), AsWindow(insertAfter), x, y, cx, cy, flags);
}

void WindowsLauncherServices::ShowMessageBox(WindowHandle owner, const Text& prompt, std::uint32_t style,
                                             const Text& title)
{
    MessageBoxW(AsWindow(owner), Wide(prompt), Wide(title), style);
}

void WindowsLauncherServices::Sleep(std::int32_t milliseconds)
{
    ::Sleep(static_cast<DWORD>(milliseconds));
}

void WindowsLauncherServices::EndProcess(std::uint32_t exitCode)
{
    ExitProcess(exitCode);
}

}  // namespace qv
