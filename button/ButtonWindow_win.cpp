#include "ButtonWindow_win.h"

#include "host/FileInput_win.h"
#include "host/FileOutput_win.h"
#include "host/FontHandle_win.h"
#include "host/Dpi_win.h"
#include "host/JsonPropertyStore.h"
#include "host/OlePicture_win.h"
#include "host/TopLevelError.h"
#include "host/Win32Error_win.h"

#include <map>

namespace qv {
namespace {

// Sent to child windows after a change of the display's density (Windows 10 1607).
constexpr UINT DpiChangedAfterParent = 0x02E3;

// The tag the button was designed with; its `version` property reads it.
constexpr char16_t DesignTag[] = u"030102-15";

OlePictureLoader g_pictures;

// The button objects, each owned by its window from WM_NCCREATE to WM_NCDESTROY.
std::map<HWND, std::unique_ptr<ButtonWindow>>& OwnedButtons()
{
    static std::map<HWND, std::unique_ptr<ButtonWindow>> buttons;
    return buttons;
}

ButtonCreateParams ParamsOf(const CREATESTRUCTW& create)
{
    // A dialog template's creation data also arrives here: only a block of our size counts.
    const auto* params = static_cast<const ButtonCreateParams*>(create.lpCreateParams);
    if (params && params->cbSize == sizeof(ButtonCreateParams)) {
        return *params;
    }
    ButtonCreateParams plain;
    plain.initDefaults = true;
    return plain;
}

}  // namespace

ButtonWindow::ButtonWindow(HWND window, const ButtonCreateParams& params)
    : m_surface(window, DesignTag), m_painter(m_surface),
      m_ownContainer(params.container ? nullptr : std::make_unique<WindowContainer>(window)),
      m_container(params.container ? *params.container : *m_ownContainer), m_initDefaults(params.initDefaults),
      m_button({m_surface, m_painter, m_container, g_pictures})
{
}

void ButtonWindow::RegisterClass()
{
    WNDCLASSEXW windowClass{};
    // Double-clicks arrive as such, so that the second press of one still presses the button.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &ClassProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ButtonClassName;
    RegisterWindowClass(windowClass);
}

ButtonWindow* ButtonWindow::FromHandle(HWND window) noexcept
{
    const auto found = OwnedButtons().find(window);
    return found == OwnedButtons().end() ? nullptr : found->second.get();
}

ButtonWindow& ButtonWindow::Create(HWND parent, int id, const RECT& bounds, const ButtonCreateParams& params)
{
    RegisterClass();
    const HWND window = CreateWindowExW(0, ButtonClassName, L"", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                        const_cast<ButtonCreateParams*>(&params));
    ButtonWindow* created = window ? FromHandle(window) : nullptr;
    if (!created) {
        throw ErrorFromLastError(u"Die Schaltfläche kann nicht angelegt werden");
    }
    return *created;
}

LRESULT CALLBACK ButtonWindow::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        try {
            auto created = std::make_unique<ButtonWindow>(
                window, ParamsOf(*reinterpret_cast<const CREATESTRUCTW*>(lParam)));
            BindWindow(window, *created);
            OwnedButtons()[window] = std::move(created);
        } catch (...) {
            ReportCurrentErrorToTopLevel();
            return FALSE;
        }
    }
    const LRESULT result = BoundWindowProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        OwnedButtons().erase(window);
    }
    return result;
}

LRESULT ButtonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (m_initDefaults) {
            m_button.InitDefaults();
        }
        return 0;
    case WM_SIZE:
        m_surface.Resized();
        m_button.UserControl_Resize();
        return 0;
    case WM_ERASEBKGND:
        // The image covers every pixel; erasing first would only flicker.
        return 1;
    case WM_PAINT: {
        const PaintDC dc(Handle());
        m_surface.Painted();
        if (dc.Get()) {
            m_surface.PaintTo(dc.Get(), dc.Area());
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(Handle(), &client);
        m_surface.PaintTo(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && m_surface.ApplyCursor()) {
            return TRUE;
        }
        break;
    case WM_SETFONT:
        if (wParam) {
            m_button.SetFont(FontObjectOf(reinterpret_cast<HFONT>(wParam), DpiOfWindow(Handle())));
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_surface.FontHandle());
    case WM_ENABLE:
        m_button.Refresh();
        return 0;
    case WM_SYSCOLORCHANGE:
        // The faces and the edge may be system colours.
        m_button.UserControl_AmbientChanged(u"SystemColors");
        break;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        m_button.UserControl_AmbientChanged(u"Appearance");
        break;
    case DpiChangedAfterParent:
        m_surface.DensityChanged();
        m_button.Refresh();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

void ButtonWindow::LoadPropertiesFromFile(const Text& fileName)
{
    WindowsFileInput files;
    JsonPropertyStore store = JsonPropertyStore::ReadFile(files, fileName, g_pictures);
    m_button.LoadProperties(store);
}

void ButtonWindow::SavePropertiesToFile(const Text& fileName)
{
    JsonPropertyStore store(g_pictures);
    m_button.SaveProperties(store);
    WindowsFileOutput files;
    store.WriteFile(files, fileName);
}

}  // namespace qv
