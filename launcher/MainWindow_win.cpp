#include "MainWindow_win.h"

#include "host/TopLevelError.h"
#include "host/Win32Error_win.h"
#include "host/WindowClass_win.h"

namespace qv {
namespace {

constexpr wchar_t WindowClass[] = L"QuorvelindeMain";
constexpr wchar_t WindowTitle[] = L"Quorvelinde";
// Activation is handled from the queue, not inside WM_ACTIVATE: the sequence
// pumps messages, which must not happen inside a message another caller is
// still sending.
constexpr UINT RunActivationHandler = WM_APP + 1;

constexpr int ClientWidth = 505;
constexpr int ClientHeight = 281;
constexpr int LabelLeft = 24;
constexpr int LabelWidth = 456;
constexpr int LabelHeight = 23;

enum LabelId { TitleId = 101, HintId = 102, StatusId = 103 };

constexpr COLORREF TitleColour = RGB(21, 78, 157);
constexpr COLORREF StatusColour = RGB(192, 192, 192);

}  // namespace

MainWindow::MainWindow(const Text& server)
{
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = WindowClass;
    RegisterWindowClass(windowClass);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    // WM_NCCREATE binds this object and sets m_window.
    CreateWindowExW(0, WindowClass, WindowTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                    frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window) {
        throw ErrorFromLastError(u"Das Fenster kann nicht angelegt werden");
    }
    CreateLabel(TitleId, L"Die Quorvelinde wird gestartet.", 24);
    CreateLabel(HintId, L"Bitte haben Sie einen Moment Geduld.", 56);
    m_status.emplace(CreateLabel(StatusId, L"<Status>", 240));

    const win_MainHost host{m_platform, m_pump, m_ticks, m_files, m_readsOfNetGrab1, m_readsOfNetGrab2};
    m_main = std::make_unique<win_Main>(host, *m_status, reinterpret_cast<WindowHandle>(m_window), server);
}

MainWindow::~MainWindow()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

HWND MainWindow::CreateLabel(int id, const wchar_t* text, int top)
{
    HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, LabelLeft, top,
                                 LabelWidth, LabelHeight, m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!label) {
        throw ErrorFromLastError(u"Ein Feld des Fensters kann nicht angelegt werden");
    }
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return label;
}

void MainWindow::LoadAndShow()
{
    m_main->Form_Load();

    RECT frame;
    GetWindowRect(m_window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(m_window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    // When another program holds the foreground, the system may not activate
    // this window at all; its first show counts as the first activation.
    PostMessageW(m_window, RunActivationHandler, 0, 0);
}

int MainWindow::RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<MainWindow*>(create->lpCreateParams)->m_window = window;
    }
    auto self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentErrorToTopLevel();
        return 0;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            PostMessageW(m_window, RunActivationHandler, 0, 0);
        }
        break;
    case RunActivationHandler:
        m_main->Form_Activate();
        return 0;
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const bool isStatus = m_status && reinterpret_cast<HWND>(lParam) == m_status->Handle();
        SetTextColor(dc, isStatus ? StatusColour : TitleColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_CLOSE:
        // The client file is only ever replaced in one step, so ending here leaves it whole.
        m_platform.EndProcess();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

}  // namespace qv
