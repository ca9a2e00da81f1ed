// Fetches one URL with NetGrab, as the launcher does, and reports what
// happened: progress, outcome, duration and the process's peak working set.
// Usage: netgrab_fetch URL [FILE]   (FILE: where SaveAs puts the bytes)
#include "host/base/ComApartment_win.h"
#include "host/base/TickCounter_win.h"
#include "host/files/FileOutput_win.h"
#include "host/read/UrlMonikerReadService_win.h"
#include "host/window/MessagePump_win.h"
#include "netgrab/NetGrab.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: netgrab_fetch URL [FILE]\n");
        return 2;
    }
    try {
        qv::ComApartment com;
        qv::UrlMonikerReadService reads;
        qv::SystemTickCounter ticks;
        qv::WindowsFileOutput files;
        qv::NetGrab grab(reads, ticks, files);

        LARGE_INTEGER frequency, start, end{};
        QueryPerformanceFrequency(&frequency);
        std::int32_t received = -1;
        int progressEvents = 0;
        ULONGLONG lastEvent = GetTickCount64();
        qv::NetGrabEvents events;
        events.DownloadProgress = [&](std::int32_t) {
            ++progressEvents;
            lastEvent = GetTickCount64();
        };
        events.DownloadComplete = [&](std::int32_t n) {
            QueryPerformanceCounter(&end);
            received = n;
        };
        events.DownloadFailed = [&](std::int32_t number, const qv::Text& description) {
            std::printf("failed error=%ld description=\"%s\"\n", static_cast<long>(number), qv::Utf8FromText(description).c_str());
        };
        grab.SetEvents(events);

        QueryPerformanceCounter(&start);
        grab.DownloadStart(qv::Text(reinterpret_cast<const char16_t*>(argv[1])), qv::NetGrab::ModeNewestVersion);
        // A read the host refuses to start raises no event at all: give up after a minute of silence.
        qv::PumpUntil([&] { return !grab.Busy() || GetTickCount64() - lastEvent > 60'000; }, std::chrono::hours(1));
        if (grab.Busy()) {
            std::printf("failed: no outcome within 60 s\n");
        }
        if (received < 0) {
            return 1;
        }
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        std::printf("complete bytes=%ld seconds=%.4f duration_ms=%ld progress_events=%d peak_working_set=%llu\n",
                    static_cast<long>(received), seconds, static_cast<long>(grab.Duration()), progressEvents,
                    static_cast<unsigned long long>(memory.PeakWorkingSetSize));
        if (argc == 3) {
            const bool saved = grab.SaveAs(qv::Text(reinterpret_cast<const char16_t*>(argv[2])));
            std::printf("saved=%s\n", saved ? "yes" : "no");
            return saved ? 0 : 1;
        }
        return 0;
    } catch (const qv::HostError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
