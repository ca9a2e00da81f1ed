#include "Console_win.h"

#include "host/base/WideText_win.h"

#include <windows.h>

#include <cstdio>

namespace qv {

void Say(const Text& line)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        const Text withEnd = line + u"\r\n";
        DWORD written = 0;
        WriteConsoleW(out, Wide(withEnd), static_cast<DWORD>(withEnd.size()), &written, nullptr);
        return;
    }
    std::fputs((Utf8FromText(line) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace qv
