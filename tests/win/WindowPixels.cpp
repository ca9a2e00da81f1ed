#include "WindowPixels.h"

#include "TestSupport.h"

#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/PixelImage_win.h"
#include "host/shell/LauncherServices_win.h"

#include "quorvelinde/button.h"

#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>

namespace qv::test {
namespace {

constexpr wchar_t ParentClass[] = L"QuorvelindeTestParent";
constexpr wchar_t FontProperty[] = L"QuorvelindeTestFont";
constexpr wchar_t ParentProperty[] = L"QuorvelindeTestParent";

std::string Heard(const NMQVBUTTON& told)
{
    static const char* const names[] = {"QVBN_CLICK",     "QVBN_KEYDOWN",   "QVBN_KEYPRESS",
                                        "QVBN_KEYUP",     "QVBN_MOUSEDOWN", "QVBN_MOUSEMOVE",
                                        "QVBN_MOUSEUP",   "QVBN_MOUSEIN",   "QVBN_MOUSEOUT"};
    const UINT index = QVBN_FIRST - told.hdr.code;
    std::ostringstream line;
    line << (index < std::size(names) ? names[index] : "WM_NOTIFY") << " " << told.hdr.idFrom << " button=" << told.button
         << " shift=" << told.shift << " x=" << told.x << " y=" << told.y << " key=" << told.keyCode
         << " char=" << told.character;
    return line.str();
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT:
        SetPropW(window, FontProperty, reinterpret_cast<HANDLE>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetPropW(window, FontProperty));
    case WM_COMMAND:
        if (auto* parent = static_cast<TestParent*>(GetPropW(window, ParentProperty))) {
            parent->commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam), GetCapture()});
            parent->heard.push_back(HIWORD(wParam) == BN_CLICKED ? "BN_CLICKED " + std::to_string(LOWORD(wParam))
                                                                 : "WM_COMMAND " + std::to_string(HIWORD(wParam)));
            if (parent->onCommand) {
                const auto handler = parent->onCommand;
                handler(parent->commands.back());
            }
        }
        return 0;
    case WM_NOTIFY:
        if (auto* parent = static_cast<TestParent*>(GetPropW(window, ParentProperty))) {
            parent->heard.push_back(Heard(*reinterpret_cast<const NMQVBUTTON*>(lParam)));
        }
        return 0;
    case WM_NCDESTROY:
        RemovePropW(window, FontProperty);
        RemovePropW(window, ParentProperty);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TestParent::TestParent()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ParentClass;
    RegisterClassExW(&windowClass);
    // A control parent, so that Tab moves the focus among its children in a dialog loop.
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, ParentClass, L"Testfenster", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_window) {
        throw std::runtime_error("the test parent window cannot be created, error " + std::to_string(GetLastError()));
    }
    SetPropW(m_window, ParentProperty, this);
}

TestParent::~TestParent()
{
    DestroyWindow(m_window);
}

FontRef TestContainer::AmbientFont()
{
    auto font = std::make_shared<FontObject>();
    font->SetName(u"Tahoma");
    font->SetSize(FontSize::FromPoints(m_points));
    return font;
}

PixelImage DrawnPixels(int width, int height, const std::function<void(HDC)>& draw)
{
    PixelImage image{width, height, {}};
    const BITMAPINFO format = DibFormat(width, height);
    void* bits = nullptr;
    const OwnedBitmap section(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    const OwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!section || !dc) {
        throw std::runtime_error("no memory surface for the pixels");
    }
    {
        const Selection selected(dc.Get(), section.Get());
        draw(dc.Get());
        GdiFlush();
        image.pixels.resize(static_cast<std::size_t>(width) * height);
        std::memcpy(image.pixels.data(), bits, image.pixels.size() * 4);
    }
    for (std::uint32_t& pixel : image.pixels) {
        pixel &= 0xFFFFFF;
    }
    return image;
}

PixelImage PrintClient(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return DrawnPixels(client.right, client.bottom, [window](HDC dc) {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

std::filesystem::path TestPictureFolder()
{
    return std::filesystem::path(AsWide(WindowsLauncherServices().ProgramPath())) / L"test-pictures";
}

}  // namespace qv::test
