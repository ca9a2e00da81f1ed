#pragma once
// The platform services the launcher sequence calls, with the platform's own
// argument conventions so that what is passed can be checked as passed.

#include "host/base/NumberFormat.h"
#include "host/base/Text.h"
#include "host/base/WindowHandle.h"
#include "host/files/FileQueries.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

namespace Platform {
constexpr WindowHandle NoTopmostBand = static_cast<WindowHandle>(-2);
constexpr std::uint32_t KeepSizeAndPosition = 0x0001 | 0x0002;
constexpr std::int32_t ShowNormal = 1;
constexpr std::uint32_t ExclamationWithOk = 48;
}  // namespace Platform

class LauncherServices {
public:
    virtual ~LauncherServices() = default;

    // The folder that holds the running executable, with no trailing
    // separator except at a drive root.
    virtual Text ProgramPath() = 0;

    virtual std::unique_ptr<FileQueries> CreateFileSystemObject() = 0;

    // Through the system's ANSI code page: every byte counts, NULs included.
    virtual Text TextFromAnsiBytes(const std::vector<std::uint8_t>& bytes) = 0;

    virtual NumberSeparators UserNumberSeparators() = 0;

    // Hands a file to the shell; returns the shell's answer (above 32: it
    // started), which the sequence only records.
    virtual std::intptr_t ShellExecuteFile(WindowHandle owner, const Text& verb, const Text& file, const Text& parameters,
                                  const Text& directory, std::int32_t showCommand) = 0;

    virtual void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                              std::int32_t cx, std::int32_t cy, std::uint32_t flags) = 0;

    // Modal: returns when the user has closed the box.
    virtual void ShowMessageBox(WindowHandle owner, const Text& prompt, std::uint32_t style, const Text& title) = 0;

    virtual void Sleep(std::int32_t milliseconds) = 0;

    // Does not return on the platform, and the window is not closed first.
    virtual void EndProcess(std::uint32_t exitCode) = 0;
};

// The folder of a module path, by the rule of ProgramPath.
Text FolderOfModule(const Text& modulePath);
// A folder ready to have a name appended: with a separator at its end.
Text WithTrailingSeparator(const Text& folder);

}  // namespace qv
