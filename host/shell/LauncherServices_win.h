#pragma once

#include "host/shell/LauncherServices.h"

namespace qv {

class WindowsLauncherServices final : public LauncherServices {
public:
    Text ProgramPath() override;
    std::unique_ptr<FileQueries> CreateFileSystemObject() override;
    Text TextFromAnsiBytes(const std::vector<std::uint8_t>& bytes) override;
    NumberSeparators UserNumberSeparators() override;
    std::intptr_t ShellExecuteFile(WindowHandle owner, const Text& verb, const Text& file, const Text& parameters,
                          const Text& directory, std::int32_t showCommand) override;
    void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                      std::int32_t cy, std::uint32_t flags) override;
    void ShowMessageBox(WindowHandle owner, const Text& prompt, std::uint32_t style, const Text& title) override;
    void Sleep(std::int32_t milliseconds) override;
    void EndProcess(std::uint32_t exitCode) override;
};

// The decimal and grouping separators of a locale ("de-DE"; null for the
// user's), the standard ones where the locale has none.
NumberSeparators NumberSeparatorsOf(const wchar_t* localeName);

}  // namespace qv
