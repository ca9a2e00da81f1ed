// Starts a program the way a double-click does (its folder as the current
// folder), then watches its windows as another program sees them: it logs
// every window and control with class, id, text and screen rectangle whenever
// one of them changes, presses OK on each message box after logging it, and
// logs the program's exit. Rectangles are in the display's pixels; a top-level
// window also has its client area and styles.
//
//   window_probe.exe LOG SECONDS PROGRAM [read:FILE | none:FILE | close:MS | scan:FOLDER]
//
// LOG gets one JSON object per line (UTF-8). After SECONDS the program is
// killed and the probe exits with 2. With a FILE the probe holds that file
// open for reading while the program runs, sharing it for reading only (as a
// running program holds its executable) or not at all. With close:MS it asks
// the program's first visible window to close (as Alt+F4 does) MS
// milliseconds after that window showed. With scan:FOLDER it behaves as a
// virus scanner does: each program file that appears in FOLDER, under a new
// name or with new contents, it opens as soon as it can, sharing it with
// nobody, and holds for 1.5 s.

#include "UnixTime_win.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}

std::string Json(const std::wstring& text)
{
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string Json(const RECT& r)
{
    std::string out = "[";
    out += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ",";
    out += std::to_string(r.bottom) + "]";
    return out;
}

std::string Handle(HWND window) { return std::to_string(reinterpret_cast<std::uintptr_t>(window)); }

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// Read without sending a message, so a busy program never blocks the probe.
std::wstring TextOf(HWND window)
{
    std::vector<wchar_t> buffer(4096);
    const int length = InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

RECT ClientOnScreen(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

class Log {
public:
    explicit Log(const wchar_t* path) : m_file(_wfopen(path, L"wb")) {}
    ~Log()
    {
        if (m_file) {
            std::fclose(m_file);
        }
    }
    bool Open() const { return m_file != nullptr; }
    void Write(const std::string& event, const std::string& fields)
    {
        std::fprintf(m_file, "{\"t\":%lld,\"event\":\"%s\"%s}\n", UnixMillisecondsNow(), event.c_str(), fields.c_str());
        std::fflush(m_file);
    }

private:
    FILE* m_file;
};

// Opens each new program file of a folder for a moment, sharing it with
// nobody. A scanner sits in the file system and gets there first; this one
// looks every millisecond on a thread of its own, to come close.
class Scanner {
public:
    static constexpr ULONGLONG HoldMs = 1500;

    Scanner(std::wstring folder, Log& log) : m_folder(std::move(folder)), m_log(log)
    {
        Look(true);
        m_thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
    }
    ~Scanner()
    {
        InterlockedExchange(&m_stop, 1);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        for (const auto& hold : m_held) {
            CloseHandle(hold.file);
        }
    }
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

private:
    static DWORD WINAPI Run(void* self)
    {
        auto* scanner = static_cast<Scanner*>(self);
        while (InterlockedCompareExchange(&scanner->m_stop, 0, 0) == 0) {
            scanner->Look();
            Sleep(1);
        }
        return 0;
    }

    void Look(bool first = false)
    {
        const ULONGLONG now = GetTickCount64();
        for (auto it = m_held.begin(); it != m_held.end();) {
            if (now >= it->until) {
                CloseHandle(it->file);
                it = m_held.erase(it);
            } else {
                ++it;
            }
        }
        WIN32_FIND_DATAW entry;
        const HANDLE search = FindFirstFileW((m_folder + L"\\*.exe*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                continue;
            }
            const std::wstring signature = std::to_wstring(entry.nFileSizeLow) + L"/" +
                                           std::to_wstring(entry.ftLastWriteTime.dwLowDateTime);
            auto& known = m_known[entry.cFileName];
            if (known == signature) {
                continue;
            }
            if (first) {
                known = signature;
                continue;
            }
            const HANDLE file = CreateFileW((m_folder + L"\\" + entry.cFileName).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
            // Held by its writer still: tried again at the next look.
            if (file != INVALID_HANDLE_VALUE) {
                known = signature;
                m_held.push_back({file, now + HoldMs});
                m_log.Write("scanned", ",\"file\":" + Json(entry.cFileName));
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }

    struct Hold {
        HANDLE file;
        ULONGLONG until;
    };
    std::wstring m_folder;
    Log& m_log;
    std::map<std::wstring, std::wstring> m_known;
    std::vector<Hold> m_held;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
};

struct Watch {
    DWORD processId;
    Log& log;
    std::map<HWND, std::string> seen;
    std::set<HWND> pressed;
    std::vector<HWND> topLevel;
    long long closeAfterMs = -1;
    HWND shown = nullptr;
    ULONGLONG shownAt = 0;
};

std::string Describe(HWND window, bool child)
{
    RECT r{};
    GetWindowRect(window, &r);
    std::string fields;
    fields += ",\"hwnd\":" + Handle(window);
    fields += ",\"class\":" + Json(ClassOf(window));
    // Visible only when it was so before and after the text was read: the
    // program may set the text and show the window between two reads.
    const bool visibleBefore = IsWindowVisible(window) != FALSE;
    fields += ",\"text\":" + Json(TextOf(window));
    fields += ",\"rect\":" + Json(r);
    fields += visibleBefore && IsWindowVisible(window) ? ",\"visible\":true" : ",\"visible\":false";
    if (child) {
        fields += ",\"id\":" + std::to_string(GetDlgCtrlID(window));
        fields += ",\"parent\":" + Handle(GetParent(window));
    } else {
        fields += ",\"client\":" + Json(ClientOnScreen(window));
        fields += ",\"style\":" + std::to_string(GetWindowLongW(window, GWL_STYLE));
        fields += ",\"exstyle\":" + std::to_string(GetWindowLongW(window, GWL_EXSTYLE));
    }
    return fields;
}

void Note(Watch& watch, HWND window, bool child)
{
    std::string fields = Describe(window, child);
    // A window destroyed while it was being read gives empty answers: not a change worth logging.
    if (!IsWindow(window) || ClassOf(window).empty()) {
        return;
    }
    auto& last = watch.seen[window];
    if (last != fields) {
        last = fields;
        watch.log.Write(child ? "control" : "window", fields);
    }
}

BOOL CALLBACK NoteChild(HWND window, LPARAM watch)
{
    Note(*reinterpret_cast<Watch*>(watch), window, true);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context)
{
    auto& watch = *reinterpret_cast<Watch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == watch.processId) {
        watch.topLevel.push_back(window);
    }
    return TRUE;
}

void PressOk(Watch& watch, HWND box)
{
    if (watch.pressed.count(box) || !IsWindowVisible(box)) {
        return;
    }
    watch.pressed.insert(box);
    // Logged once more as it is now: the box may have become visible since the look.
    Note(watch, box, false);
    EnumChildWindows(box, &NoteChild, reinterpret_cast<LPARAM>(&watch));
    HWND ok = GetDlgItem(box, IDOK);
    std::string fields = ",\"hwnd\":" + Handle(box);
    fields += ",\"button\":" + Json(ok ? TextOf(ok) : std::wstring());
    watch.log.Write("press", fields);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
}

void Look(Watch& watch)
{
    watch.topLevel.clear();
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&watch));
    for (HWND window : watch.topLevel) {
        Note(watch, window, false);
        EnumChildWindows(window, &NoteChild, reinterpret_cast<LPARAM>(&watch));
    }
    // Pressed only after every window of this look is logged, so the log holds the box's texts.
    for (HWND window : watch.topLevel) {
        if (ClassOf(window) == L"#32770") {
            PressOk(watch, window);
        }
    }
    if (watch.closeAfterMs >= 0) {
        for (HWND window : watch.topLevel) {
            if (!watch.shown && IsWindowVisible(window) && GetWindowTextLengthW(window) > 0) {
                watch.shown = window;
                watch.shownAt = GetTickCount64();
            }
        }
        if (watch.shown && GetTickCount64() - watch.shownAt >= static_cast<ULONGLONG>(watch.closeAfterMs)) {
            watch.log.Write("close", ",\"hwnd\":" + Handle(watch.shown));
            PostMessageW(watch.shown, WM_SYSCOMMAND, SC_CLOSE, 0);
            watch.closeAfterMs = -1;
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: window_probe LOG SECONDS PROGRAM [read:FILE | none:FILE | close:MS | scan:FOLDER]\n");
        return 64;
    }
    // Rectangles in the display's own pixels, whatever the density.
    SetProcessDPIAware();
    Log log(argv[1]);
    if (!log.Open()) {
        std::fprintf(stderr, "cannot write the log\n");
        return 65;
    }
    const ULONGLONG limit = static_cast<ULONGLONG>(_wtoi(argv[2])) * 1000;
    std::wstring program = argv[3];
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    std::wstring commandLine = L"\"" + program + L"\"";

    HANDLE held = INVALID_HANDLE_VALUE;
    long long closeAfterMs = -1;
    std::unique_ptr<Scanner> scanner;
    if (argc == 5 && std::wstring(argv[4]).rfind(L"close:", 0) == 0) {
        closeAfterMs = _wtoi(argv[4] + 6);
    } else if (argc == 5 && std::wstring(argv[4]).rfind(L"scan:", 0) == 0) {
        scanner = std::make_unique<Scanner>(argv[4] + 5, log);
    } else if (argc == 5) {
        const std::wstring hold = argv[4];
        const DWORD share = hold.rfind(L"read:", 0) == 0 ? FILE_SHARE_READ : 0;
        held = CreateFileW(hold.substr(5).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE) {
            log.Write("failed", ",\"hold_error\":" + std::to_string(GetLastError()));
            return 1;
        }
        log.Write("holding", share ? ",\"share\":\"read\"" : ",\"share\":\"none\"");
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        log.Write("failed", ",\"error\":" + std::to_string(GetLastError()));
        return 1;
    }
    CloseHandle(process.hThread);
    log.Write("started", ",\"pid\":" + std::to_string(process.dwProcessId));

    Watch watch{process.dwProcessId, log, {}, {}, {}};
    watch.closeAfterMs = closeAfterMs;
    const ULONGLONG start = GetTickCount64();
    while (WaitForSingleObject(process.hProcess, 15) == WAIT_TIMEOUT) {
        if (GetTickCount64() - start > limit) {
            TerminateProcess(process.hProcess, 255);
            log.Write("timeout", "");
            return 2;
        }
        Look(watch);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    log.Write("exit", ",\"code\":" + std::to_string(code));
    CloseHandle(process.hProcess);
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    return 0;
}
