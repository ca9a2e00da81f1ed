#include "LauncherWindow_win.h"

#include "PictureResource_win.h"
#include "ResourceIds.h"

#include "host/base/TopLevelError.h"
#include "host/base/Win32Error_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/PixelImage_win.h"
#include "host/window/Dpi_win.h"

namespace qv {
namespace {

constexpr wchar_t WindowClass[] = L"QuorvelindeMain";
constexpr wchar_t WindowTitle[] = L"Quorvelinde";
// Activation is handled from the queue, not inside WM_ACTIVATE: the sequence
// pumps messages, which must not happen inside a message another caller is
// still sending.
constexpr UINT RunActivationHandler = WM_APP + 1;

// No caption bar or border: the layout draws its own frame. The system menu
// keeps Alt+F4 and the taskbar's close working; the window cannot be dragged or sized.
constexpr DWORD WindowStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD WindowExStyle = WS_EX_APPWINDOW;

constexpr COLORREF TitleColour = RGB(21, 78, 157);
constexpr COLORREF StatusColour = RGB(192, 192, 192);
constexpr COLORREF FrameColour = RGB(224, 224, 224);
constexpr wchar_t LabelFontName[] = L"Calibri";

OwnedFont LabelFontFor(const WindowLayout& layout)
{
    OwnedFont font(CreateFontW(-layout.fontPixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, LabelFontName));
    if (!font) {
        throw ErrorFromGdiFailure(u"Die Schrift des Fensters kann nicht angelegt werden");
    }
    return font;
}

OwnedIcon IconOfSize(HMODULE resources, int width, int height)
{
    OwnedIcon icon(static_cast<HICON>(
        LoadImageW(resources, MAKEINTRESOURCEW(QV_ICON_GROUP), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
    if (!icon.Get()) {
        throw ErrorFromLastError(u"Das Symbol des Fensters fehlt im Programm");
    }
    return icon;
}

// What every request of the launcher tells the server, so that its access
// log can show which launchers and client versions are in the field:
// "X-Quorvelinde: Quorvelinde/1.00 tamorix/5.2.0.14" (or "tamorix/keiner").
Text RequestHeaders(WindowsLauncherServices& platform)
{
    const Text client = ClientInFolder(WithTrailingSeparator(platform.ProgramPath()));
    Text version = u"keiner";
    try {
        const std::unique_ptr<FileQueries> files = platform.CreateFileSystemObject();
        if (files->FileExists(client)) {
            const Text found = files->GetFileVersion(client);
            version = found.empty() ? u"ohne-Version" : found;
        }
    } catch (const HostError&) {
        // Unreadable here means unreadable for the sequence too, which reports it; the header just says so.
        version = u"unlesbar";
    }
    return u"X-Quorvelinde: Quorvelinde/" + Text(LauncherVersion) + u" tamorix/" + version + u"\r\n";
}

}  // namespace

LauncherWindow::LauncherWindow(const Text& server, std::vector<KeyHash> signerPins, HMODULE resources, RunLog& log)
    : m_log(log)
{
    RegisterPlainWindowClass(WindowClass);
    m_logoPicture = LoadPictureResource(resources, QV_LOGO_JPEG);

    // The size follows from the display's density below.
    CreateWindowExW(WindowExStyle, WindowClass, WindowTitle, WindowStyle, 0, 0, 0, 0, nullptr, nullptr,
                    GetModuleHandleW(nullptr), static_cast<BoundWindow*>(this));
    if (!Handle()) {
        throw ErrorFromLastError(u"Das Fenster kann nicht angelegt werden");
    }
    lbl_Titel2.emplace(Handle(), TitleId, L"Die Quorvelinde wird gestartet.");
    Label1.emplace(Handle(), HintId, L"Bitte haben Sie einen Moment Geduld.");
    lbl_Status.emplace(Handle(), StatusId, L"<Status>");
    ApplyLayout(DpiOfWindow(Handle()));

    // The big icon is the image at its own size; the small one is made from it by the system.
    m_bigIcon = IconOfSize(resources, 0, 0);
    m_smallIcon = IconOfSize(resources, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));

    const Text headers = RequestHeaders(m_platform);
    m_readsOfNetGrab1.SetRequestHeaders(headers);
    m_readsOfNetGrab2.SetRequestHeaders(headers);
    const win_MainHost host{m_platform,        m_pump,           m_ticks,      m_files,        m_readsOfNetGrab1,
                            m_readsOfNetGrab2, m_signatures,     m_log,        m_savedClients};
    m_main = std::make_unique<win_Main>(host, *lbl_Status, reinterpret_cast<WindowHandle>(Handle()), server,
                                        std::move(signerPins));
}

LauncherWindow::~LauncherWindow()
{
    if (Handle()) {
        DestroyWindow(Handle());
    }
}

void LauncherWindow::ApplyLayout(int dpi)
{
    m_layout = LayoutForDpi(dpi);
    OwnedFont font = LabelFontFor(m_layout);
    lbl_Titel2->Place(m_layout.lbl_Titel2, m_layout.lbl_Titel2, font.Get());
    Label1->Place(m_layout.Label1, m_layout.Label1, font.Get());
    lbl_Status->Place(m_layout.lbl_Status, m_layout.statusRoom, font.Get());
    // The labels use the new font now, so the old one can go.
    m_labelFont = std::move(font);
    img_Logo = ScaleSmooth(m_logoPicture, m_layout.img_Logo.width, m_layout.img_Logo.height);

    // The window has no frame of its own, so its size is the client area's.
    SetWindowPos(Handle(), nullptr, 0, 0, m_layout.client.width, m_layout.client.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void LauncherWindow::LoadAndShow()
{
    m_main->Form_Load();

    const int left = (GetSystemMetrics(SM_CXSCREEN) - m_layout.client.width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - m_layout.client.height) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    // When another program holds the foreground, the system may not activate
    // this window at all; its first show counts as the first activation.
    PostMessageW(Handle(), RunActivationHandler, 0, 0);
}

void LauncherWindow::RunMessageLoop()
{
    for (;;) {
        MSG msg;
        // Nothing here asks to quit; a quit from outside is not a way to end
        // in the middle of a download, so it is taken from the queue and dropped.
        if (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void LauncherWindow::Paint(HDC dc) const
{
    const OwnedBrush frame(CreateSolidBrush(FrameColour));
    const PixelBox& client = m_layout.client;
    const int edge = m_layout.frameWidth;
    const RECT edges[] = {
        {client.left, client.top, client.Right(), client.top + edge},
        {client.left, client.Bottom() - edge, client.Right(), client.Bottom()},
        {client.left, client.top, client.left + edge, client.Bottom()},
        {client.Right() - edge, client.top, client.Right(), client.Bottom()},
    };
    for (const RECT& side : edges) {
        FillRect(dc, &side, frame.Get());
    }

    const BITMAPINFO format = DibFormatOf(img_Logo);
    SetDIBitsToDevice(dc, m_layout.img_Logo.left, m_layout.img_Logo.top, static_cast<DWORD>(img_Logo.width),
                      static_cast<DWORD>(img_Logo.height), 0, 0, 0, static_cast<UINT>(img_Logo.height),
                      img_Logo.pixels.data(), &format, DIB_RGB_COLORS);
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            PostMessageW(Handle(), RunActivationHandler, 0, 0);
        }
        break;
    case RunActivationHandler:
        m_main->Form_Activate();
        return 0;
    case WM_PAINT: {
        const PaintDC dc(Handle());
        if (dc.Get()) {
            Paint(dc.Get());
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // The labels leave the white window showing around their text; the
        // grey status text would not be readable on a grey label.
        const auto dc = reinterpret_cast<HDC>(wParam);
        const bool isStatus = lbl_Status && reinterpret_cast<HWND>(lParam) == lbl_Status->Handle();
        SetTextColor(dc, isStatus ? StatusColour : TitleColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_DPICHANGED: {
        // Moved to a display of another density: lay out anew where the system suggests.
        const auto suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyLayout(HIWORD(wParam));
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        // The client file is only ever replaced in one step, so ending here leaves it whole.
        // Behind an error report the report ends the process.
        if (!ErrorReportBegun()) {
            m_log.Record(u"Fenster geschlossen; Ende mit Code 0");
            m_platform.EndProcess(0);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace qv
