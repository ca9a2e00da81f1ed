#include "GalleryWindow_win.h"

#include "GalleryResources.h"

#include "button/ButtonWindow_win.h"
#include "host/base/HostError.h"
#include "host/base/ResourceData_win.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/shell/LauncherServices_win.h"

#include <functional>
#include <sstream>

namespace qv {
namespace {

constexpr wchar_t WindowClass[] = L"QuorvelindeButtonGallery";
constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 64;
constexpr int Gap = 16;
constexpr int Top = 48;
constexpr int Columns = 3;
constexpr int Rows = 5;
constexpr int GridWidth = Gap + Columns * (ButtonWidth + Gap);
constexpr int GridHeight = Top + Rows * (ButtonHeight + Gap);
constexpr int PanelWidth = 300;
constexpr int FirstSampleId = 100;
constexpr int LogId = 200;
constexpr int SaveId = 201;
constexpr int LoadId = 202;
constexpr int MaxLogLines = 500;
constexpr OleColor Magenta = RgbColour(255, 0, 255);
constexpr OleColor White = RgbColour(255, 255, 255);
constexpr wchar_t StoreFolder[] = L"Galerie-Einstellungen";

PictureRef PictureResource(HINSTANCE instance, int id)
{
    return OlePicture::Load(RawResource(instance, id));
}

Text StoreFolderPath()
{
    return WithTrailingSeparator(WindowsLauncherServices().ProgramPath()) + FromWide(StoreFolder);
}

struct Sample {
    const wchar_t* name;
    const wchar_t* caption;
    std::function<void(button&)> look;
};

std::wstring Number(float value)
{
    std::wostringstream out;
    out << value;
    return out.str();
}

std::wstring Mouse(const wchar_t* event, std::int16_t button, std::int16_t shift, float x, float y)
{
    return std::wstring(event) + L"(" + std::to_wstring(button) + L", " + std::to_wstring(shift) + L", " + Number(x) +
           L", " + Number(y) + L")";
}

// A button as a plain Win32 parent places it: by class name, its caption as the window text.
ButtonWindow& PlaceButton(HWND parent, HINSTANCE instance, int id, const wchar_t* caption, int x, int y, int width,
                          int height)
{
    const HWND window = CreateWindowExW(0, ButtonClassName, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width,
                                        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                        nullptr);
    if (!window) {
        throw ErrorFromLastError(u"Eine Schaltfläche kann nicht angelegt werden");
    }
    return *ButtonWindow::FromHandle(window);
}

}  // namespace

GalleryWindow::GalleryWindow(HINSTANCE instance)
{
    RegisterPlainWindowClass(WindowClass);
    ButtonWindow::Register();

    m_font.Reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    m_titleFont.Reset(CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));

    RECT frame{0, 0, GridWidth + PanelWidth + Gap, GridHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    CreateWindowExW(WS_EX_CONTROLPARENT, WindowClass, L"Quorvelinde \u2013 Schaltflächen", style, CW_USEDEFAULT,
                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    static_cast<BoundWindow*>(this));
    if (!Handle()) {
        throw ErrorFromLastError(u"Das Fenster kann nicht angelegt werden");
    }
    PlacePanel(instance);
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
        {L"Oben", L"Bild oben (0)", keyed(0)},
        {L"Links", L"Bild links (1)",
         [keyed, star](button& b) {
             keyed(1)(b);
             b.SetPictureHover(star);
         }},
        {L"Rechts", L"Bild rechts (2)", keyed(2)},
        {L"Unten", L"Symbol unten (3)",
         [star, arrow](button& b) {
             b.SetPicture(star);
             b.SetPicturePosition(3);
             b.SetPictureWidth(24);
             b.SetPictureHeight(24);
             b.SetPictureHover(arrow);
         }},
        {L"Foto", L"", [photo](button& b) {
             b.SetCaption(u"");
             b.SetPicture(photo);
         }},
        {L"Text", L"Nur Text", nullptr},
        {L"Lang", L"Ein langer Text bricht an Wortgrenzen um und bleibt in der Mitte", nullptr},
        {L"Sprachen", L"Grüße \u00B7 \u03A9\u03BC\u03AD\u03B3\u03B1 \u00B7 \u041F\u0440\u0438\u0432\u0435\u0442", nullptr},
        {L"Rand", L"Mit Rand", [](button& b) { b.SetXPShowBorderAlways(true); }},
        {L"Fokus", L"Mit Fokusrahmen", [](button& b) { b.PreviewState(false, false, true); }},
        {L"Gesperrt", L"Gesperrt",
         [keyed](button& b) {
             keyed(1)(b);
             b.SetXPShowBorderAlways(true);
             b.SetEnabled(false);
         }},
        {L"Leer", L"", [](button& b) {
             b.SetCaption(u"");
             b.SetXPShowBorderAlways(true);
         }},
        {L"Darüber", L"Zeiger darüber",
         [keyed](button& b) {
             keyed(1)(b);
             b.SetForeColor(White);
             b.PreviewState(true, false, false);
         }},
        {L"Gedrückt", L"Gedrückt",
         [keyed](button& b) {
             keyed(1)(b);
             b.PreviewState(true, true, false);
         }},
        {L"Farben", L"Eigene Farben",
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
        ButtonWindow& sample =
            PlaceButton(Handle(), instance, FirstSampleId + i, samples[i].caption, x, y, ButtonWidth, ButtonHeight);
        m_samples.push_back(sample.Handle());
        button& b = sample.Control();
        if (samples[i].look) {
            samples[i].look(b);
        }
        // Some settings (the edge among them) show only from the next redraw.
        b.Refresh();

        const auto log = [this, name = std::wstring(samples[i].name)](const std::wstring& event) {
            Log(FromWide((name + L": " + event).c_str()));
        };
        ButtonEvents events;
        events.Click = [log] { log(L"Click"); };
        events.KeyDown = [log](std::int16_t code, std::int16_t shift) {
            log(L"KeyDown(" + std::to_wstring(code) + L", " + std::to_wstring(shift) + L")");
        };
        events.KeyPress = [log](std::int16_t ascii) { log(L"KeyPress(" + std::to_wstring(ascii) + L")"); };
        events.KeyUp = [log](std::int16_t code, std::int16_t shift) {
            log(L"KeyUp(" + std::to_wstring(code) + L", " + std::to_wstring(shift) + L")");
        };
        events.MouseDown = [log](std::int16_t button, std::int16_t shift, float x, float y) {
            log(Mouse(L"MouseDown", button, shift, x, y));
        };
        events.MouseUp = [log](std::int16_t button, std::int16_t shift, float x, float y) {
            log(Mouse(L"MouseUp", button, shift, x, y));
        };
        events.MouseIn = [log](std::int16_t shift) { log(L"MouseIn(" + std::to_wstring(shift) + L")"); };
        events.MouseOut = [log](std::int16_t shift) { log(L"MouseOut(" + std::to_wstring(shift) + L")"); };
        // Moves come with every pixel: shown in the log they would bury the rest.
        sample.SetEvents(std::move(events));
    }
}

void GalleryWindow::PlacePanel(HINSTANCE instance)
{
    const int left = GridWidth;
    const int bottom = GridHeight - Gap;
    m_log = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                            left, Top, PanelWidth, bottom - Top - 40 - Gap, Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(LogId)), instance, nullptr);
    if (!m_log) {
        throw ErrorFromLastError(u"Das Ereignisprotokoll kann nicht angelegt werden");
    }
    SendMessageW(m_log, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    const int width = (PanelWidth - Gap) / 2;
    const struct {
        int id;
        const wchar_t* caption;
        int x;
    } commands[] = {{SaveId, L"Speichern", left}, {LoadId, L"Laden", left + width + Gap}};
    for (const auto& command : commands) {
        button& b = PlaceButton(Handle(), instance, command.id, command.caption, command.x, bottom - 40, width, 40).Control();
        b.SetXPShowBorderAlways(true);
        b.Refresh();
    }
}

void GalleryWindow::Log(const Text& line)
{
    if (SendMessageW(m_log, LB_GETCOUNT, 0, 0) >= MaxLogLines) {
        SendMessageW(m_log, LB_DELETESTRING, 0, 0);
    }
    const LRESULT index = SendMessageW(m_log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line)));
    SendMessageW(m_log, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

Text GalleryWindow::StoreFile(int id) const
{
    return StoreFolderPath() + u"\\knopf-" + DecimalText(id) + u".json";
}

void GalleryWindow::SaveAll()
{
    const Text folder = StoreFolderPath();
    CreateDirectoryW(Wide(folder), nullptr);
    for (const HWND sample : m_samples) {
        ButtonWindow::FromHandle(sample)->SavePropertiesToFile(StoreFile(GetDlgCtrlID(sample)));
    }
    Log(u"Gespeichert: " + DecimalText(static_cast<std::int64_t>(m_samples.size())) + u" Schaltflächen in " + folder);
}

void GalleryWindow::LoadAll()
{
    int loaded = 0;
    for (const HWND sample : m_samples) {
        const Text file = StoreFile(GetDlgCtrlID(sample));
        if (GetFileAttributesW(Wide(file)) != INVALID_FILE_ATTRIBUTES) {
            ButtonWindow::FromHandle(sample)->LoadPropertiesFromFile(file);
            ++loaded;
        }
    }
    Log(loaded ? u"Geladen: " + DecimalText(loaded) + u" Schaltflächen" : Text(u"Noch nichts gespeichert"));
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
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            try {
                if (LOWORD(wParam) == SaveId) {
                    SaveAll();
                } else if (LOWORD(wParam) == LoadId) {
                    LoadAll();
                }
            } catch (const HostError& error) {
                // A store that cannot be written or read is the user's to know, not the end of the gallery.
                Log(u"Fehler " + DecimalText(error.Number()) + u": " + error.Description());
                MessageBoxW(Handle(), Wide(error.Description()), L"Schaltflächen-Galerie", MB_OK | MB_ICONWARNING);
            }
        }
        return 0;
    case WM_PAINT: {
        const PaintDC dc(Handle());
        const Selection font(dc.Get(), m_titleFont.Get());
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), RGB(21, 78, 157));
        RECT title{Gap, 12, GridWidth + PanelWidth, Top};
        DrawTextW(dc.Get(), L"Die Schaltfläche in ihren Anordnungen und Zuständen \u2013 Ereignisse rechts", -1, &title,
                  DT_LEFT | DT_TOP);
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
