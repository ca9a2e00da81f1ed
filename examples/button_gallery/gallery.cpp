// The button gallery: every arrangement and look of the button in one window,
// with a log of the buttons' events and Save and Load of all their
// properties. It uses the button's public face alone: quorvelinde/button.hpp
// and the library, as any program does. Run it with tools/gallery.

#include "GalleryResources.h"

#include <quorvelinde/button.hpp>

#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t WindowClass[] = L"QuorvelindeButtonGallery";
constexpr wchar_t Title[] = L"Quorvelinde \u2013 Schaltflächen";
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
constexpr LRESULT MaxLogLines = 500;
constexpr COLORREF Magenta = RGB(255, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

// The pictures the buttons show. The program owns them and keeps them for
// as long as a button may show them: here, as long as the gallery runs.
struct Pictures {
    HBITMAP arrow = nullptr;
    HICON star = nullptr;
    IPicture* photo = nullptr;
    HBITMAP photoBitmap = nullptr;

    void Load(HINSTANCE instance)
    {
        arrow = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(GalleryArrowBmp), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
        star = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(GalleryStarIco), IMAGE_ICON, 0, 0, 0));
        // A JPEG goes through the platform's picture loader, which keeps the bitmap it decodes.
        const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(GalleryPhotoJpg), MAKEINTRESOURCEW(10));
        const HGLOBAL copy = found ? GlobalAlloc(GMEM_MOVEABLE, SizeofResource(instance, found)) : nullptr;
        if (copy) {
            CopyMemory(GlobalLock(copy), LockResource(LoadResource(instance, found)), SizeofResource(instance, found));
            GlobalUnlock(copy);
            IStream* stream = nullptr;
            if (SUCCEEDED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
                OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&photo));
                stream->Release();
            } else {
                GlobalFree(copy);
            }
        }
        OLE_HANDLE handle = 0;
        if (photo && SUCCEEDED(photo->get_Handle(&handle))) {
            photoBitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        }
    }
    void Free()
    {
        DeleteObject(arrow);
        DestroyIcon(star);
        if (photo) {
            photo->Release();
        }
    }
};

struct Sample {
    const wchar_t* name;
    const wchar_t* caption;
    std::function<void(const quorvelinde::Button&)> look;
};

struct Gallery {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HWND log = nullptr;
    HFONT font = nullptr;
    HFONT titleFont = nullptr;
    Pictures pictures;
    std::vector<quorvelinde::Button> samples;
    std::vector<quorvelinde::ButtonEvents> events;
};

Gallery g_gallery;

void Log(const std::wstring& line)
{
    if (SendMessageW(g_gallery.log, LB_GETCOUNT, 0, 0) >= MaxLogLines) {
        SendMessageW(g_gallery.log, LB_DELETESTRING, 0, 0);
    }
    const LRESULT index = SendMessageW(g_gallery.log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(g_gallery.log, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

std::wstring Number(float value)
{
    std::wstring text = std::to_wstring(value);
    text.erase(text.find_last_not_of(L'0') + 1);
    if (!text.empty() && text.back() == L'.') {
        text.pop_back();
    }
    return text;
}

std::wstring Mouse(const wchar_t* event, int button, int shift, float x, float y)
{
    return std::wstring(event) + L"(" + std::to_wstring(button) + L", " + std::to_wstring(shift) + L", " + Number(x) +
           L", " + Number(y) + L")";
}

// A button as a plain Win32 parent places it: by class name, its caption as the window text.
HWND PlaceButton(int id, const wchar_t* caption, int x, int y, int width, int height)
{
    return CreateWindowExW(0, QV_BUTTON_CLASS, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height,
                           g_gallery.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_gallery.instance,
                           nullptr);
}

quorvelinde::ButtonEvents LoggedEvents(const std::wstring& name)
{
    const auto log = [name](const std::wstring& event) { Log(name + L": " + event); };
    quorvelinde::ButtonEvents events;
    events.Click = [log] { log(L"Click"); };
    events.KeyDown = [log](int code, int shift) {
        log(L"KeyDown(" + std::to_wstring(code) + L", " + std::to_wstring(shift) + L")");
    };
    events.KeyPress = [log](int character) { log(L"KeyPress(" + std::to_wstring(character) + L")"); };
    events.KeyUp = [log](int code, int shift) {
        log(L"KeyUp(" + std::to_wstring(code) + L", " + std::to_wstring(shift) + L")");
    };
    events.MouseDown = [log](int button, int shift, float x, float y) { log(Mouse(L"MouseDown", button, shift, x, y)); };
    events.MouseUp = [log](int button, int shift, float x, float y) { log(Mouse(L"MouseUp", button, shift, x, y)); };
    events.MouseIn = [log](int shift) { log(L"MouseIn(" + std::to_wstring(shift) + L")"); };
    events.MouseOut = [log](int shift) { log(L"MouseOut(" + std::to_wstring(shift) + L")"); };
    // Moves come only when a button is asked for them: shown in the log they would bury the rest.
    return events;
}

void PlaceSamples()
{
    const Pictures& p = g_gallery.pictures;
    const auto keyed = [&p](int position) {
        return [&p, position](const quorvelinde::Button& b) {
            b.SetColor(QVBC_MASK, Magenta);
            b.SetPicture(p.arrow);
            b.SetPicturePosition(position);
        };
    };
    const Sample samples[Columns * Rows] = {
        {L"Oben", L"Bild oben (0)", keyed(0)},
        {L"Links", L"Bild links (1)",
         [&](const quorvelinde::Button& b) {
             keyed(1)(b);
             b.SetHoverPicture(p.star);
         }},
        {L"Rechts", L"Bild rechts (2)", keyed(2)},
        {L"Unten", L"Symbol unten (3)",
         [&p](const quorvelinde::Button& b) {
             b.SetPicture(p.star);
             b.SetPicturePosition(3);
             b.SetPictureSize(24, 24);
             b.SetHoverPicture(p.arrow);
         }},
        // Made without a caption, a button takes its name, "button104": a picture alone needs an empty one.
        {L"Foto", L"",
         [&p](const quorvelinde::Button& b) {
             b.SetCaption(L"");
             b.SetPicture(p.photoBitmap);
         }},
        {L"Text", L"Nur Text", nullptr},
        {L"Lang", L"Ein langer Text bricht an Wortgrenzen um und bleibt in der Mitte", nullptr},
        {L"Sprachen", L"Grüße \u00B7 \u03A9\u03BC\u03AD\u03B3\u03B1 \u00B7 \u041F\u0440\u0438\u0432\u0435\u0442", nullptr},
        {L"Rand", L"Mit Rand", [](const quorvelinde::Button& b) { b.SetFlag(QVBF_EDGE, true); }},
        {L"Fokus", L"Mit Fokusrahmen", [](const quorvelinde::Button& b) { b.Preview(QVBP_FOCUS); }},
        {L"Gesperrt", L"Gesperrt",
         [&](const quorvelinde::Button& b) {
             keyed(1)(b);
             b.SetFlag(QVBF_EDGE, true);
             EnableWindow(b.Handle(), FALSE);
         }},
        {L"Leer", L"",
         [](const quorvelinde::Button& b) {
             b.SetCaption(L"");
             b.SetFlag(QVBF_EDGE, true);
         }},
        {L"Darüber", L"Zeiger darüber",
         [&](const quorvelinde::Button& b) {
             keyed(1)(b);
             b.SetColor(QVBC_FORE, White);
             b.Preview(QVBP_HOVER);
         }},
        {L"Gedrückt", L"Gedrückt",
         [&](const quorvelinde::Button& b) {
             keyed(1)(b);
             b.Preview(QVBP_HOVER | QVBP_PRESSED);
         }},
        {L"Farben", L"Eigene Farben",
         [&p](const quorvelinde::Button& b) {
             b.SetColor(QVBC_BACK, RGB(21, 78, 157));
             b.SetColor(QVBC_FORE, White);
             b.SetPicture(p.star);
             b.SetPictureSize(24, 24);
         }},
    };
    for (int i = 0; i < Columns * Rows; ++i) {
        const int x = Gap + (i % Columns) * (ButtonWidth + Gap);
        const int y = Top + (i / Columns) * (ButtonHeight + Gap);
        const quorvelinde::Button sample(PlaceButton(FirstSampleId + i, samples[i].caption, x, y, ButtonWidth, ButtonHeight));
        if (samples[i].look) {
            samples[i].look(sample);
        }
        g_gallery.samples.push_back(sample);
        g_gallery.events.push_back(LoggedEvents(samples[i].name));
    }
}

void PlacePanel()
{
    const int left = GridWidth;
    const int bottom = GridHeight - Gap;
    g_gallery.log = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                    left, Top, PanelWidth, bottom - Top - 40 - Gap, g_gallery.window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(LogId)), g_gallery.instance, nullptr);
    SendMessageW(g_gallery.log, WM_SETFONT, reinterpret_cast<WPARAM>(g_gallery.font), FALSE);
    const int width = (PanelWidth - Gap) / 2;
    for (const auto& [id, caption, x] : {std::tuple{SaveId, L"Speichern", left}, std::tuple{LoadId, L"Laden", left + width + Gap}}) {
        quorvelinde::Button(PlaceButton(id, caption, x, bottom - 40, width, 40)).SetFlag(QVBF_EDGE, true);
    }
}

// One file per sample in a folder beside the program.
std::wstring StoreFolder()
{
    wchar_t program[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"Galerie-Einstellungen";
}

std::wstring StoreFile(const quorvelinde::Button& sample)
{
    return StoreFolder() + L"\\knopf-" + std::to_wstring(GetDlgCtrlID(sample.Handle())) + L".json";
}

void SaveAll()
{
    CreateDirectoryW(StoreFolder().c_str(), nullptr);
    for (const quorvelinde::Button& sample : g_gallery.samples) {
        const HRESULT result = sample.SaveProperties(StoreFile(sample).c_str());
        if (FAILED(result)) {
            Log(L"Nicht gespeichert: Fehler 0x" + std::to_wstring(static_cast<unsigned long>(result)));
            return;
        }
    }
    Log(L"Gespeichert: " + std::to_wstring(g_gallery.samples.size()) + L" Schaltflächen in " + StoreFolder());
}

void LoadAll()
{
    int loaded = 0;
    for (const quorvelinde::Button& sample : g_gallery.samples) {
        const std::wstring file = StoreFile(sample);
        if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES && SUCCEEDED(sample.LoadProperties(file.c_str()))) {
            ++loaded;
        }
    }
    Log(loaded ? L"Geladen: " + std::to_wstring(loaded) + L" Schaltflächen" : std::wstring(L"Noch nichts gespeichert"));
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETFONT:
        // The buttons take this as their font when they are made.
        return reinterpret_cast<LRESULT>(g_gallery.font);
    case WM_NOTIFY:
        for (std::size_t i = 0; i < g_gallery.samples.size(); ++i) {
            if (g_gallery.events[i].Dispatch(g_gallery.samples[i], message, lParam)) {
                return 0;
            }
        }
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == SaveId) {
            SaveAll();
        } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == LoadId) {
            LoadAll();
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        const HGDIOBJ before = SelectObject(dc, g_gallery.titleFont);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(21, 78, 157));
        RECT title{Gap, 12, GridWidth + PanelWidth, Top};
        DrawTextW(dc, L"Die Schaltfläche in ihren Anordnungen und Zuständen \u2013 Ereignisse rechts", -1, &title,
                  DT_LEFT | DT_TOP);
        SelectObject(dc, before);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (FAILED(OleInitialize(nullptr)) || !quorvelinde::RegisterButtonClass(instance)) {
        MessageBoxW(nullptr, L"Die Schaltfläche kann nicht angemeldet werden.", Title, MB_OK | MB_ICONERROR);
        return 1;
    }
    g_gallery.instance = instance;
    g_gallery.font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    g_gallery.titleFont = CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    g_gallery.pictures.Load(instance);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &GalleryProc;
    windowClass.hInstance = instance;
    // IDC_ARROW, in its wide form whether or not UNICODE is defined.
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = WindowClass;
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, GridWidth + PanelWidth + Gap, GridHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    g_gallery.window = CreateWindowExW(WS_EX_CONTROLPARENT, WindowClass, Title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                       frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                       nullptr);
    if (!g_gallery.window) {
        return 1;
    }
    PlacePanel();
    PlaceSamples();
    ShowWindow(g_gallery.window, SW_SHOWNORMAL);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab among the buttons, as in a dialog.
        if (!IsDialogMessageW(g_gallery.window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    g_gallery.pictures.Free();
    DeleteObject(g_gallery.font);
    DeleteObject(g_gallery.titleFont);
    OleUninitialize();
    return static_cast<int>(msg.wParam);
}
