#include "ButtonWindow_win.h"

#include "ButtonAccessible_win.h"
#include "ButtonLimits.h"

#include "host/base/TopLevelError.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/gdi/GdiFont_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/shell/SoundPlayer_win.h"
#include "host/window/Dpi_win.h"
#include "host/window/PointerServices_win.h"

#include <oleacc.h>
#include <windowsx.h>

#include <optional>
#include <utility>


namespace qv {
namespace {

// Sent to child windows after a change of the display's density (Windows 10 1607).
constexpr UINT DpiChangedAfterParent = 0x02E3;

// The tag the button was designed with; its `version` property reads it.
constexpr char16_t DesignTag[] = u"030102-15";

constexpr UINT_PTR OverTimerId = 1;

OlePictureLoader g_pictures;
WindowsPointerServices g_pointer;
WaveSoundPlayer g_sound;

// The parameters that Create passes while it creates a window; any other
// creation data (a dialog template's, a caller's own) is not the button's.
const ButtonCreateParams* g_creating = nullptr;

// Why the last window of this class could not be created: Create throws it,
// CreateWindowEx of other callers just fails, as it does for stock controls.
std::optional<HostError> g_creationError;

void NoteCreationError() noexcept
{
    try {
        g_creationError = CurrentErrorAsHostError();
        SetLastError(g_creationError->Number() == ErrorNumber::OutOfMemory ? ERROR_NOT_ENOUGH_MEMORY
                                                                            : ERROR_CANNOT_MAKE);
    } catch (...) {
        // Out of memory even for the report: the creation fails all the same.
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
}

WPARAM HeldFlag(std::int16_t button)
{
    return button == MouseButton::Left ? MK_LBUTTON : button == MouseButton::Right ? MK_RBUTTON : MK_MBUTTON;
}

// The mouse button of a button-down, button-up or double-click message.
std::int16_t ButtonOfMessage(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return MouseButton::Right;
    default:
        return MouseButton::Middle;
    }
}

float PointerX(LPARAM position)
{
    return static_cast<float>(GET_X_LPARAM(position));
}

float PointerY(LPARAM position)
{
    return static_cast<float>(GET_Y_LPARAM(position));
}

// 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftOf(bool shift, bool control)
{
    return static_cast<std::int16_t>((shift ? 1 : 0) | (control ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

std::int16_t ShiftOfKeys(WPARAM keys)
{
    return ShiftOf((keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0);
}

std::int16_t ShiftOfKeyboard()
{
    return ShiftOf(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
}

// The mouse buttons held during a move.
std::int16_t ButtonsOfKeys(WPARAM keys)
{
    return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? MouseButton::Left : 0) |
                                     ((keys & MK_RBUTTON) ? MouseButton::Right : 0) |
                                     ((keys & MK_MBUTTON) ? MouseButton::Middle : 0));
}

ButtonCreateParams ParamsOf(const CREATESTRUCTW& create)
{
    const auto* params = static_cast<const ButtonCreateParams*>(create.lpCreateParams);
    if (params && params == g_creating && params->cbSize == sizeof(ButtonCreateParams)) {
        return *params;
    }
    ButtonCreateParams plain;
    plain.initDefaults = true;
    return plain;
}

}  // namespace

ButtonWindow::ButtonWindow(HWND window, const ButtonCreateParams& params)
    : m_surface(window, DesignTag), m_painter(m_surface), m_overTimer(window, OverTimerId),
      m_ownContainer(params.container ? nullptr : std::make_unique<WindowContainer>(window)),
      m_container(params.container ? *params.container : *m_ownContainer), m_initDefaults(params.initDefaults),
      m_button({m_surface, m_painter, m_container, g_pictures, m_overTimer, g_pointer, g_sound})
{
    SetEvents({});
}

void ButtonWindow::Register(HINSTANCE instance, bool global)
{
    WNDCLASSEXW windowClass{};
    // Double-clicks arrive as such, so that the second press of one still presses the button.
    windowClass.style = CS_DBLCLKS | (global ? CS_GLOBALCLASS : 0u);
    windowClass.hInstance = instance;
    windowClass.lpfnWndProc = &ClassProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ButtonClassName;
    RegisterWindowClass(windowClass);
}

bool ButtonWindow::IsOwnClass(const WNDCLASSEXW& registered) noexcept
{
    return registered.lpfnWndProc == &ClassProc && (registered.style & CS_DBLCLKS) != 0;
}

ButtonWindow* ButtonWindow::FromHandle(HWND window) noexcept
{
    // Only a window of this class, in this process, has a button in its binding.
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process != GetCurrentProcessId() ||
        GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&ClassProc)) {
        return nullptr;
    }
    return static_cast<ButtonWindow*>(BoundTo(window));
}

ButtonWindow& ButtonWindow::Create(HWND parent, int id, const RECT& bounds, const ButtonCreateParams& params)
{
    Register();
    g_creationError.reset();
    g_creating = &params;
    const HWND window = CreateWindowExW(0, ButtonClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, bounds.left, bounds.top,
                                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                        const_cast<ButtonCreateParams*>(&params));
    g_creating = nullptr;
    ButtonWindow* created = window ? FromHandle(window) : nullptr;
    if (!created) {
        if (g_creationError) {
            throw *g_creationError;
        }
        throw ErrorFromLastError(u"Die Schaltfläche kann nicht angelegt werden");
    }
    return *created;
}

LRESULT CALLBACK ButtonWindow::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        try {
            auto created =
                std::make_unique<ButtonWindow>(window, ParamsOf(*reinterpret_cast<const CREATESTRUCTW*>(lParam)));
            // The base is private: only here does the button convert to it.
            BindOwnedWindow(window, std::unique_ptr<BoundWindow>(static_cast<BoundWindow*>(created.release())));
        } catch (...) {
            NoteCreationError();
            return FALSE;
        }
    }
    return BoundWindowProc(window, message, wParam, lParam);
}

void ButtonWindow::TakeFocus()
{
    if (GetFocus() != Handle()) {
        SetFocus(Handle());
    }
}

void ButtonWindow::MouseButtonDown(std::int16_t button, WPARAM keys, LPARAM position)
{
    TakeFocus();
    // A new press: the double-click that went before is told of.
    m_doubleClickNotified = false;
    // Moves and the release reach the button wherever the pointer goes while the button is held.
    m_held |= HeldFlag(button);
    SetCapture(Handle());
    m_button.OnMouseDown(button, ShiftOfKeys(keys), PointerX(position), PointerY(position));
}

void ButtonWindow::MouseButtonDoubleClick(std::int16_t button)
{
    TakeFocus();
    // The release that follows must reach the button wherever the pointer is.
    m_held |= HeldFlag(button);
    SetCapture(Handle());
    m_button.OnDoubleClick();
    if (button == MouseButton::Left && (GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_NOTIFY)) {
        // Set before the parent hears of it: its handler may run the release in a modal loop of its own.
        m_doubleClickNotified = true;
        NotifyParent(BN_DOUBLECLICKED);
    }
}

void ButtonWindow::MouseButtonUp(std::int16_t button, WPARAM keys, LPARAM position)
{
    m_held &= ~HeldFlag(button);
    // Let go before anything is raised, as a stock button does: a handler may
    // open a window that needs the mouse, and a failing redraw keeps nothing.
    if (m_held == 0 && GetCapture() == Handle()) {
        ReleaseCapture();
    }
    m_button.OnMouseUp(button, ShiftOfKeys(keys), PointerX(position), PointerY(position));
    // A double-click released elsewhere clicks nothing; the next click is told of again.
    m_doubleClickNotified = false;
}

bool ButtonWindow::IsDefault() const
{
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

bool ButtonWindow::InDialog() const
{
    const HWND parent = GetParent(Handle());
    return parent && GetClassLongPtrW(parent, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG);
}

LRESULT ButtonWindow::DialogCode(const MSG* message) const
{
    // A push button to the dialog manager, which moves the default with the
    // focus, gives Enter to the default and clicks it for Alt and its
    // mnemonic. Letters stay the dialog's, so that its mnemonics work while
    // the button has the focus. A plain window hands Enter on as a key.
    LRESULT code = DLGC_BUTTON | (IsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN && !InDialog()) {
        code |= DLGC_WANTMESSAGE;
    }
    return code;
}

void ButtonWindow::SetDefaultStyle(WPARAM style, bool redraw)
{
    // As a stock push button: only the push-button kinds, and no other style bit changes.
    const LONG_PTR current = GetWindowLongPtrW(Handle(), GWL_STYLE);
    const LONG_PTR kind = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((current & BS_TYPEMASK) == kind) {
        return;
    }
    SetWindowLongPtrW(Handle(), GWL_STYLE, (current & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | kind);
    if (redraw) {
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void ButtonWindow::UpdateKeyboardCues(WORD action, WORD flags)
{
    const DWORD cues = flags & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
    const DWORD before = m_uiState;
    if (action == UIS_SET) {
        m_uiState |= cues;
    } else if (action == UIS_CLEAR) {
        m_uiState &= ~cues;
    }
    if (m_uiState != before) {
        m_button.SetKeyboardCues((m_uiState & UISF_HIDEFOCUS) == 0, (m_uiState & UISF_HIDEACCEL) == 0);
    }
}

void ButtonWindow::KeyboardUsed()
{
    constexpr WORD Cues = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    if ((m_uiState & Cues) == 0) {
        return;
    }
    // The whole window shows its cues once the keyboard is used. Windows
    // sends every control the news; Wine does not, so the button takes its own.
    SendMessageW(GetAncestor(Handle(), GA_ROOT), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, Cues), 0);
    UpdateKeyboardCues(UIS_CLEAR, Cues);
}

void ButtonWindow::Paint(HDC dc, const RECT& area) const
{
    m_surface.PaintTo(dc, area);
    // The default push button has a dark outline, drawn over the face so
    // that a button that is not the default looks exactly as the face says.
    if (IsDefault()) {
        RECT client{};
        GetClientRect(Handle(), &client);
        FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
}

DWORD ButtonWindow::AccessibleState() const
{
    const HWND window = Handle();
    DWORD state = IsWindowEnabled(window) ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
    state |= (IsWindowVisible(window) ? 0 : STATE_SYSTEM_INVISIBLE) | (GetFocus() == window ? STATE_SYSTEM_FOCUSED : 0);
    state |= (m_button.IsPressed() ? STATE_SYSTEM_PRESSED : 0) | (m_button.IsMouseOver() ? STATE_SYSTEM_HOTTRACKED : 0);
    return state | (IsDefault() ? STATE_SYSTEM_DEFAULT : 0);
}

LRESULT ButtonWindow::AccessibleObject(WPARAM flags, LPARAM objectId)
{
    if (static_cast<LONG>(objectId) != static_cast<LONG>(OBJID_CLIENT)) {
        return DefWindowProcW(Handle(), WM_GETOBJECT, flags, objectId);
    }
    // One object for every reader who asks, let go of with the window.
    if (!m_accessible) {
        m_accessible = ButtonAccessible::Create(Handle());
    }
    return LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(m_accessible.Get()));
}

LRESULT ButtonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Screen readers hear of every change of what they read of the button.
    const DWORD stateBefore = AccessibleState();
    const LRESULT answer = Answer(message, wParam, lParam);
    if (Handle() && AccessibleState() != stateBefore) {
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
    }
    return answer;
}

LRESULT ButtonWindow::Answer(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT answer = 0;
    if (PushButtonMessage(message, wParam, lParam, answer) || ButtonMessage(message, wParam, lParam, answer)) {
        return answer;
    }
    switch (message) {
    case WM_CREATE:
        // A new window starts with its parent's keyboard cues, as stock controls do.
        if (const HWND parent = GetParent(Handle())) {
            const auto cues = static_cast<DWORD>(SendMessageW(parent, WM_QUERYUISTATE, 0, 0));
            UpdateKeyboardCues(UIS_SET, static_cast<WORD>(cues));
        }
        try {
            if (m_initDefaults) {
                m_button.InitDefaults();
            }
        } catch (...) {
            NoteCreationError();
            return -1;
        }
        return 0;
    case WM_SIZE:
        m_surface.Resized();
        m_button.OnResize();
        return 0;
    case WM_ERASEBKGND:
        // The image covers every pixel; erasing first would only flicker.
        return 1;
    case WM_PAINT: {
        const PaintDC dc(Handle());
        m_surface.Painted();
        if (dc.Get()) {
            Paint(dc.Get(), dc.Area());
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(Handle(), &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && m_surface.ApplyCursor()) {
            return TRUE;
        }
        break;
    case WM_SETFONT:
        // As stock controls do: the handle stays the program's, NULL is the
        // default font, and without the redraw flag nothing shows until the next paint.
        m_programFont = reinterpret_cast<HFONT>(wParam);
        TakeFont(m_programFont ? m_programFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                 LOWORD(lParam) != FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_programFont ? m_programFont : GetStockObject(DEFAULT_GUI_FONT));
    case WM_ENABLE:
        m_button.Refresh();
        return 0;
    case WM_SETTEXT: {
        // A caption from outside is held to the limit a property file is.
        if (!m_surface.SettingText() && lParam &&
            std::char_traits<wchar_t>::length(reinterpret_cast<const wchar_t*>(lParam)) > MostCaptionLength) {
            return FALSE;
        }
        const LRESULT result = DefWindowProcW(Handle(), message, wParam, lParam);
        if (m_surface.SettingText()) {
            return result;
        }
        const Text text = FromWide(reinterpret_cast<const wchar_t*>(lParam));
        if (result && text != m_button.Caption()) {
            m_button.SetCaption(text);
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
        }
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        MouseButtonDown(ButtonOfMessage(message), wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        MouseButtonDoubleClick(ButtonOfMessage(message));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        MouseButtonUp(ButtonOfMessage(message), wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        m_button.OnMouseMove(ButtonsOfKeys(wParam), ShiftOfKeys(wParam), PointerX(lParam), PointerY(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse while a button was held: no release will come.
        if (reinterpret_cast<HWND>(lParam) != Handle() && m_held != 0) {
            m_held = 0;
            m_doubleClickNotified = false;
            m_button.OnCaptureLost();
        }
        return 0;
    case WM_KEYDOWN:
        KeyboardUsed();
        m_button.OnKeyDown(static_cast<std::int16_t>(wParam), ShiftOfKeyboard());
        break;
    case WM_KEYUP:
        m_button.OnKeyUp(static_cast<std::int16_t>(wParam), ShiftOfKeyboard());
        break;
    case WM_SYSKEYDOWN:
        // Alt and its combinations are the window's (its menu, Alt+Space), never a press of the button.
        KeyboardUsed();
        break;
    case WM_CHAR:
        m_button.OnKeyPress(static_cast<std::int16_t>(wParam));
        return 0;
    case WM_SETFOCUS:
        // Tab and the arrow keys bring the focus by the keyboard.
        for (const int key : {VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_MENU}) {
            if (GetKeyState(key) < 0) {
                KeyboardUsed();
                break;
            }
        }
        m_button.OnEnterFocus();
        if (Handle()) {
            NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, CHILDID_SELF);
        }
        NotifyParentIfAsked(BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        // The focus went while the mouse was held: as a stock button, the press ends without a click.
        if (m_held != 0 && GetCapture() == Handle()) {
            ReleaseCapture();
        }
        m_button.OnExitFocus();
        NotifyParentIfAsked(BN_KILLFOCUS);
        return 0;
    case WM_TIMER:
        if (wParam == OverTimerId) {
            m_button.OnOverTimerTick();
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_UPDATEUISTATE:
        // Windows keeps its own record too; Wine keeps none, so the button keeps one of its own.
        UpdateKeyboardCues(LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_QUERYUISTATE:
        return m_uiState;
    case WM_GETOBJECT:
        return AccessibleObject(wParam, lParam);
    case WM_SYSCOLORCHANGE:
        // The faces and the edge may be system colours.
        m_button.OnAmbientChanged(u"SystemColors");
        break;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        m_button.OnAmbientChanged(u"Appearance");
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

void ButtonWindow::WindowDestroyed() noexcept
{
    m_surface.WindowGone();
    if (m_accessible) {
        // Readers elsewhere hold it through the platform's marshalling, which lets go only when told.
        CoDisconnectObject(static_cast<IAccessible*>(m_accessible.Get()), 0);
        m_accessible.Reset();
    }
}

void ButtonWindow::TakeFont(HFONT font, bool show)
{
    FontRef taken;
    try {
        taken = FontObjectOf(font, DpiOfWindow(Handle()));
    } catch (const HostError&) {
        // Stock controls take any font; one the button cannot use leaves it as it was.
        return;
    }
    struct Showing {
        WindowSurface& surface;
        ~Showing() { surface.HoldShowing(false); }
    } showing{m_surface};
    m_surface.HoldShowing(!show);
    m_button.SetFont(taken);
}

}  // namespace qv
