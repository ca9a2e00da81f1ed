// Times the button's redraw against the least a redraw can do (fill the face
// and draw the caption into the same kind of off-screen image), and checks
// that 10,000 redraws leave no GDI object behind.
//
// Last line: refresh_us=N baseline_us=M ratio=R gdi_leak=K

#include "button/ButtonWindow_win.h"
#include "host/base/ComApartment_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/OlePicture_win.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int Width = 200;
constexpr int Height = 60;
constexpr int TimedRedraws = 3000;
constexpr int LeakRedraws = 10000;
constexpr wchar_t Caption[] = L"Änderungen speichern und das Fenster schließen";

class BenchContainer final : public qv::ContainerServices {
public:
    qv::Text DisplayName() override { return u"cmdBench"; }
    qv::FontRef AmbientFont() override
    {
        auto font = std::make_shared<qv::FontObject>();
        font->SetName(u"Tahoma");
        font->SetSize(qv::FontSize::FromPoints(9));
        return font;
    }
    void PropertyChanged(const qv::Text&) override {}
};

// A 32 x 32 BMP: a blue square with a white cross on the key colour magenta.
std::vector<std::uint8_t> KeyedPicture()
{
    const int size = 32;
    BITMAPINFOHEADER info{sizeof info, size, size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof file + sizeof info};
    std::vector<std::uint32_t> pixels(size * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool inside = x >= 4 && x < 28 && y >= 4 && y < 28;
            const bool cross = (x >= 14 && x < 18) || (y >= 14 && y < 18);
            pixels[y * size + x] = !inside ? 0xFF00FF : cross ? 0xFFFFFF : 0x1E50C8;
        }
    }
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size() * 4);
    std::vector<std::uint8_t> data(file.bfSize);
    std::memcpy(data.data(), &file, sizeof file);
    std::memcpy(data.data() + sizeof file, &info, sizeof info);
    std::memcpy(data.data() + file.bfOffBits, pixels.data(), pixels.size() * 4);
    return data;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Step>
double MicrosecondsPerStep(int steps, Step&& step)
{
    for (int i = 0; i < steps / 10; ++i) {
        step();
    }
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < steps; ++i) {
        step();
    }
    QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e6 / steps;
}

// Live GDI objects as the system counts them; where it does not (Wine reports
// 0), as the number of objects that can no longer be created: the process's
// handle table is fixed, so every live object takes one of its places.
long LiveGdiObjects(bool& counted)
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counted = reported != 0;
    if (counted) {
        return static_cast<long>(reported);
    }
    std::vector<qv::OwnedBrush> probes;
    for (;;) {
        qv::OwnedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        if (!brush) {
            break;
        }
        probes.push_back(std::move(brush));
    }
    return -static_cast<long>(probes.size());
}

}  // namespace

int wmain()
{
    qv::ComApartment com;
    qv::ButtonWindow::Register();
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    BenchContainer container;
    qv::ButtonCreateParams params;
    params.container = &container;
    qv::ButtonWindow& window = qv::ButtonWindow::Create(parent, 1, {0, 0, Width, Height}, params);
    qv::button& b = window.Control();
    b.InitDefaults();
    b.SetCaption(qv::Text(reinterpret_cast<const char16_t*>(Caption)));
    b.SetMaskColor(qv::RgbColour(255, 0, 255));
    b.SetPicture(qv::OlePicture::Load(KeyedPicture()));
    b.SetPicturePosition(1);
    const qv::Rect caption = b.CaptionRect();
    const int lines = (caption.bottom - caption.top) / 14;
    std::printf("button %dx%d, picture %dx%d, caption %dx%d (%d lines at 14 px)\n", Width, Height, b.PictureWidth(),
                b.PictureHeight(), caption.right - caption.left, caption.bottom - caption.top, lines);

    const double refresh = MicrosecondsPerStep(TimedRedraws, [&b] { b.Refresh(); });

    // The baseline: the same image kind, the same font and the same caption call.
    const qv::WindowDC screen(window.Handle());
    const qv::OwnedMemoryDC image(CreateCompatibleDC(screen.Get()));
    const qv::OwnedBitmap pixels(CreateCompatibleBitmap(screen.Get(), Width, Height));
    const qv::Selection intoImage(image.Get(), pixels.Get());
    const qv::Selection withFont(image.Get(), reinterpret_cast<HFONT>(SendMessageW(window.Handle(), WM_GETFONT, 0, 0)));
    SetBkMode(image.Get(), TRANSPARENT);
    const double baseline = MicrosecondsPerStep(TimedRedraws, [&] {
        const qv::OwnedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        const RECT all{0, 0, Width, Height};
        FillRect(image.Get(), &all, face.Get());
        std::wstring text(Caption);
        RECT rect{caption.left, caption.top, caption.right, caption.bottom};
        DRAWTEXTPARAMS textParams{sizeof(DRAWTEXTPARAMS), 1, 1, 1, 0};
        DrawTextExW(image.Get(), text.data(), static_cast<int>(text.size()), &rect, 0x15, &textParams);
    });

    bool counted = false;
    const long before = LiveGdiObjects(counted);
    for (int i = 0; i < LeakRedraws; ++i) {
        b.Refresh();
    }
    const long after = LiveGdiObjects(counted);
    std::printf("GDI objects %s: %ld before, %ld after %d redraws\n",
                counted ? "(GetGuiResources)" : "(places taken in the handle table)", before, after, LeakRedraws);

    std::printf("refresh_us=%.1f baseline_us=%.1f ratio=%.2f gdi_leak=%ld\n", refresh, baseline, refresh / baseline,
                after - before);
    DestroyWindow(parent);
    return 0;
}
