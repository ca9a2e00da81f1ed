// Times the platform's own blocking download of a URL into a file, for
// comparison with NetGrab. Usage: platform_download_bench URL FILE
#include "host/base/ComApartment_win.h"

#include <windows.h>
#include <urlmon.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: platform_download_bench URL FILE\n");
        return 2;
    }
    qv::ComApartment com;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const HRESULT hr = URLDownloadToFileW(nullptr, argv[1], argv[2], 0, nullptr);
    QueryPerformanceCounter(&end);
    if (FAILED(hr)) {
        std::fprintf(stderr, "download failed: 0x%08lX\n", static_cast<unsigned long>(hr));
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(argv[2], GetFileExInfoStandard, &data);
    const unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("platform bytes=%llu seconds=%.4f\n", bytes, seconds);
    return 0;
}
