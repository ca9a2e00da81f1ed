// Loads the costliest property store files the button accepts, each into a
// 200 x 60 button under the platform's own picture loader, and times the
// load and the redraw that follows; files just beyond a limit are timed too,
// as what it costs to refuse them.
//
// Last line: worst_load_ms=N worst_redraw_ms=M

#include "button/ButtonWindow_win.h"
#include "host/base/Base64.h"
#include "host/base/ComApartment_win.h"
#include "host/base/HostError.h"
#include "host/gdi/OlePicture_win.h"
#include "host/gdi/PictureFormat.h"
#include "host/store/JsonPropertyStore.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// An 8-bit run-length bitmap of that size whose data ends at once: a few
// bytes that decode into width x height pixels.
Bytes RunLengthBitmap(int width, int height)
{
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 8, BI_RLE8, 2, 0, 0, 2, 0};
    const RGBQUAD palette[2] = {{0, 0, 255, 0}, {255, 255, 255, 0}};
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof file + sizeof info + sizeof palette};
    const std::uint8_t endOfBitmap[] = {0, 1};
    file.bfSize = static_cast<DWORD>(file.bfOffBits + sizeof endOfBitmap);
    Bytes data(file.bfSize);
    std::memcpy(data.data(), &file, sizeof file);
    std::memcpy(data.data() + sizeof file, &info, sizeof info);
    std::memcpy(data.data() + sizeof file + sizeof info, palette, sizeof palette);
    std::memcpy(data.data() + file.bfOffBits, endOfBitmap, sizeof endOfBitmap);
    return data;
}

std::string Picture(const Bytes& file)
{
    return R"({"type": "picture", "data": ")" + qv::Base64Encode(file) + R"("})";
}

std::string Words(std::size_t characters)
{
    std::string text;
    while (text.size() < characters) {
        text += "Wort ";
    }
    text.resize(characters);
    return text;
}

struct Case {
    const char* name;
    std::string document;
};

std::vector<Case> Cases()
{
    const std::size_t most = qv::JsonPropertyStore::MostDocumentBytes;
    const Bytes largest = RunLengthBitmap(2048, 2048);
    std::string members = "{";
    while (members.size() < most - 16) {
        members += "\"k" + std::to_string(members.size()) + "\":1,";
    }
    members += "\"z\":1}";
    std::string list = "{\"Liste\": [";
    while (list.size() < most - 16) {
        list += "[1,[2]],";
    }
    list += "0]}";
    return {
        {"caption of 4096 characters", "{\"Caption\": \"" + Words(4096) + "\"}"},
        {"two 2048 x 2048 pictures drawn at 2048 x 2048",
         "{\"Caption\": \"OK\", \"PicturePosition\": 0, \"Picture\": " + Picture(largest) +
             ", \"PictureWidth\": 2048, \"PictureHeight\": 2048, \"OriginalPicSizeW\": 2048, "
             "\"OriginalPicSizeH\": 2048, \"PictureHover\": " + Picture(largest) + "}"},
        {"8 MiB of members", members},
        {"8 MiB of lists", list},
        {"refused: caption of 4097 characters", "{\"Caption\": \"" + Words(4097) + "\"}"},
        {"refused: picture of 2049 x 2048", "{\"Picture\": " + Picture(RunLengthBitmap(2049, 2048)) + "}"},
        {"refused: picture claiming 16000 x 16000", "{\"Picture\": " + Picture(RunLengthBitmap(16000, 16000)) + "}"},
        {"refused: nested 100000 deep", std::string(100000, '[') + std::string(100000, ']')},
        {"refused: 9 MiB", "{\"Caption\": \"" + std::string(9 * 1024 * 1024, 'x') + "\"}"},
    };
}

double Milliseconds(const std::function<void()>& step)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    step();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain()
{
    qv::ComApartment com;
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    qv::OlePictureLoader pictures;
    double worstLoad = 0;
    double worstRedraw = 0;
    for (const Case& c : Cases()) {
        qv::ButtonCreateParams params;
        params.initDefaults = true;
        qv::ButtonWindow& window = qv::ButtonWindow::Create(parent, 1, {0, 0, 200, 60}, params);
        std::string outcome = "loaded";
        const double load = Milliseconds([&] {
            try {
                const Bytes document(c.document.begin(), c.document.end());
                qv::JsonPropertyStore store = qv::JsonPropertyStore::Parse(document, pictures);
                window.Control().LoadProperties(store);
            } catch (const qv::HostError& error) {
                outcome = "refused with " + std::to_string(error.Number());
            }
        });
        const double redraw = Milliseconds([&] { window.Control().Refresh(); });
        std::printf("%-45s %8zu bytes  load %8.1f ms  redraw %7.1f ms  %s\n", c.name, c.document.size(), load, redraw,
                    outcome.c_str());
        worstLoad = std::max(worstLoad, load);
        worstRedraw = std::max(worstRedraw, redraw);
        DestroyWindow(window.Handle());
    }
    std::printf("worst_load_ms=%.1f worst_redraw_ms=%.1f\n", worstLoad, worstRedraw);
    return 0;
}
