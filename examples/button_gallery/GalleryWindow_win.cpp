#include "GalleryWindow_win.h"

#include "GalleryResources.h"

#include "button/ButtonWindow_win.h"
#include "host/HostError.h"
#include "host/OlePicture_win.h"
#include "host/Win32Error_win.h"

#include <functional>

namespace qv {
namespace {

constexpr wchar_t WindowClass[] = L"QuorvelindeButtonGallery";
constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 64;
constexpr int Gap = 16;
constexpr int Top = 48;
constexpr int Columns = 3;
constexpr int Rows = 5;
constexpr OleColor Magenta = RgbColour(255, 0, 255);
constexpr OleColor White = RgbColour(255, 255, 255);

PictureRef PictureResource(HINSTANCE instance, int id)
{
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        throw ErrorFromLastError(u"Ein Bild fehlt im Programm");
    }
    return OlePicture::Load({static_cast<const std::uint8_t*>(data), SizeofResource(instance, found)});
}

struct Sample {
    const wchar_t* caption;
    std::function<void(button&)> look;
};

}  // namespace

GalleryWindow::GalleryWindow(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = &BoundWindowProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = WindowClass;
    RegisterWindowClass(windowClass);
    ButtonWindow::RegisterClass();

    m_font.Reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    m_titleFont.Reset(CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));

    RECT frame{0, 0, Gap + Columns * (ButtonWidth + Gap), Top + Rows * (ButtonHeight + Gap)};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    CreateWindowExW(0, WindowClass, L"Quorvelinde \u2013 Schaltflächen", style, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    static_cast<BoundWindow*>(this));
    if (!Handle()) {
        throw ErrorFromLastError(u"Das Fenster kann nicht angelegt werden");
    }
    PlaceButtons(instance);
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

GalleryWindow::~GalleryWindow()
{
    if (Handle()) {
        DestroyWindow(Handle());
    }
}

void GalleryWindow::PlaceButtons(HINSTANCE instance)
{
    const PictureRef arrow = PictureResource(instance, GalleryArrowBmp);
    const PictureRef star = PictureResource(instance, GalleryStarIco);
    const PictureRef photo = PictureResource(instance, GalleryPhotoJpg);
    const auto keyed = [arrow](std::int32_t position) {
        return [arrow, position](button& b) {
            b.SetMaskColor(Magenta);
            b.SetPicture(arrow);
            b.SetPicturePosition(position);
        };
    };
    const Sample samples[Columns * Rows] = {
        {L"Bild oben (0)", keyed(0)},
        {L"Bild links (1)", keyed(1)},
        {L"Bild rechts (2)", keyed(2)},
        {L"Symbol unten (3)",
         [star](button& b) {
             b.SetPicture(star);
             b.SetPicturePosition(3);
             b.SetPictureWidth(24);
             b.SetPictureHeight(24);
         }},
        {L"", [photo](button& b) {
             b.SetCaption(u"");
             b.SetPicture(photo);
         }},
        {L"Nur Text", nullptr},
        {L"Ein langer Text bricht an Wortgrenzen um und bleibt in der Mitte", nullptr},
        {L"Grüße \u00B7 \u03A9\u03BC\u03AD\u03B3\u03B1 \u00B7 \u041F\u0440\u0438\u0432\u0435\u0442", nullptr},
        {L"Mit Rand", [](button& b) { b.SetXPShowBorderAlways(true); }},
        {L"Mit Fokusrahmen", [](button& b) { b.PreviewState(false, false, true); }},
        {L"Gesperrt",
         [keyed](button& b) {
             keyed(1)(b);
             b.SetXPShowBorderAlways(true);
             b.SetEnabled(false);
         }},
        {L"", [](button& b) {
             b.SetCaption(u"");
             b.SetXPShowBorderAlways(true);
         }},
        {L"Zeiger darüber",
         [keyed](button& b) {
             keyed(1)(b);
             b.SetForeColor(White);
             b.PreviewState(true, false, false);
         }},
        {L"Gedrückt",
         [keyed](button& b) {
             keyed(1)(b);
             b.PreviewState(true, true, false);
         }},
        {L"Eigene Farben",
         [star](button& b) {
             b.SetBackColor(RgbColour(21, 78, 157));
             b.SetForeColor(White);
             b.SetPicture(star);
             b.SetPictureWidth(24);
             b.SetPictureHeight(24);
         }},
    };
    for (int i = 0; i < Columns * Rows; ++i) {
        const int x = Gap + (i % Columns) * (ButtonWidth + Gap);
        const int y = Top + (i / Columns) * (ButtonHeight + Gap);
        const HWND window = CreateWindowExW(0, ButtonClassName, samples[i].caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                            x, y, ButtonWidth, ButtonHeight, Handle(),
                                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance, nullptr);
        if (!window) {
            throw ErrorFromLastError(u"Eine Schaltfläche kann nicht angelegt werden");
        }
        button& b = ButtonWindow::FromHandle(window)->Control();
        if (samples[i].look) {
            samples[i].look(b);
        }
        // Some settings (the edge among them) show only from the next redraw.
        b.Refresh();
    }
}

int GalleryWindow::RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

LRESULT GalleryWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETFONT:
        // The buttons take this as their ambient font.
        return reinterpret_cast<LRESULT>(m_font.Get());
    case WM_PAINT: {
        const PaintDC dc(Handle());
        const Selection font(dc.Get(), m_titleFont.Get());
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), RGB(21, 78, 157));
        RECT title{Gap, 12, Gap + Columns * (ButtonWidth + Gap), Top};
        DrawTextW(dc.Get(), L"Die Schaltfläche in ihren Anordnungen und Zuständen", -1, &title, DT_LEFT | DT_TOP);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace qv
