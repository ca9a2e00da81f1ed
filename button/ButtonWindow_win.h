#pragma once
// The button as a Win32 child-window control, inside this project; other
// programs include quorvelinde/button.h (C) or quorvelinde/button.hpp (C++),
// whose class name, messages and notifications this window answers. Register the class once, then create it like any
// control or from a dialog template:
//
//   qv::ButtonWindow::Register();
//   HWND ok = CreateWindowExW(0, QV_BUTTON_CLASS, L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
//                             10, 10, 100, 30, parent, (HMENU)IDOK, instance, nullptr);
//   qv::ButtonWindow::FromHandle(ok)->Control().SetPicturePosition(0);
//
// A window created that way serves a plain Win32 parent: it takes the new-
// instance defaults at creation, its name is its window text and its font is
// the parent's. A container of its own passes ButtonCreateParams instead and
// then calls InitDefaults or LoadProperties itself. Each window owns its
// control object, which goes when the window is destroyed (after the message
// that destroyed it, so an event handler may destroy the button). UI thread
// only. Errors inside the window's messages, event handlers' included, go to
// the top-level error handler (host/base/TopLevelError.h).

#include "Button.h"
#include "ButtonAccessible_win.h"
#include "ButtonPainter_win.h"

#include "host/window/BoundWindow_win.h"
#include "host/window/WindowContainer_win.h"
#include "host/window/WindowSurface_win.h"
#include "host/window/WindowTimer_win.h"
#include "quorvelinde/button.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

inline constexpr wchar_t ButtonClassName[] = QV_BUTTON_CLASS;

// What Create passes a new window, for a container that serves the button
// itself; a caller's own creation data never counts as these.
struct ButtonCreateParams {
    std::uint32_t cbSize = sizeof(ButtonCreateParams);
    // Must outlive the window; null for the window's own container.
    ContainerServices* container = nullptr;
    // With false, the container calls InitDefaults or LoadProperties itself.
    bool initDefaults = false;
};

class ButtonWindow final : private BoundWindow {
public:
    // Registers the window class for windows of `instance` (null: the
    // program's own module); `global` makes it a global class, for dialog
    // templates in other modules such as DLLs. Again is no error. Throws HostError.
    static void Register(HINSTANCE instance = nullptr, bool global = false);
    // The button of a window of this class, or null.
    static ButtonWindow* FromHandle(HWND window) noexcept;
    // A class registered with this module's window procedure, as Register registers it.
    static bool IsOwnClass(const WNDCLASSEXW& registered) noexcept;
    // Creates a visible child window; throws HostError, 7 when the system has
    // no memory or graphics objects left for it.
    static ButtonWindow& Create(HWND parent, int id, const RECT& bounds, const ButtonCreateParams& params);

    ButtonWindow(HWND window, const ButtonCreateParams& params);

    using BoundWindow::Handle;
    button& Control() noexcept { return m_button; }
    WindowSurface& Surface() noexcept { return m_surface; }
    // The window's own container; null when the creator brought one.
    WindowContainer* OwnContainer() noexcept { return m_ownContainer.get(); }

    // The button's events; Click is followed by BN_CLICKED to the parent either way.
    void SetEvents(ButtonEvents events);

    // The properties to and from a property store file (JSON, see
    // host/JsonPropertyStore.h). Saving replaces the file in one step.
    void LoadPropertiesFromFile(const Text& fileName);
    void SavePropertiesToFile(const Text& fileName);

    // What screen readers read of it: the STATE_SYSTEM_ flags.
    DWORD AccessibleState() const;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Answer(UINT message, WPARAM wParam, LPARAM lParam);
    void WindowDestroyed() noexcept override;
    // With `show` false the new font is drawn but not shown until the next paint.
    void TakeFont(HFONT font, bool show);
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void TakeFocus();
    void MouseButtonDown(std::int16_t button, WPARAM keys, LPARAM position);
    void MouseButtonDoubleClick(std::int16_t button);
    void MouseButtonUp(std::int16_t button, WPARAM keys, LPARAM position);
    LRESULT DialogCode(const MSG* message) const;
    // BS_DEFPUSHBUTTON: the dialog manager made it the button Enter presses.
    bool IsDefault() const;
    // The parent is a dialog, whose manager gives Enter to the default button.
    bool InDialog() const;
    void SetDefaultStyle(WPARAM style, bool redraw);
    void UpdateKeyboardCues(WORD action, WORD flags);
    // A key went to the button, or brought it the focus: focus rectangles and mnemonics show.
    void KeyboardUsed();
    void Paint(HDC dc, const RECT& area) const;
    // BM_ and QVBM_ messages; false when `message` is none of them.
    bool PushButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT ApplyButtonMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // An error as the C interface's one number space gives it (QVB_E_..., HRESULTs).
    static LRESULT ResultOf(const HostError& error);
    // WM_NOTIFY to the parent, with what the event carries.
    void Tell(UINT code, const NMQVBUTTON& event);
    void NotifyParent(WORD code);
    // BN_SETFOCUS and the like, which only a button with BS_NOTIFY sends.
    void NotifyParentIfAsked(WORD code);
    LRESULT AccessibleObject(WPARAM flags, LPARAM objectId);
    void NotifyParentOfClick();

    WindowSurface m_surface;
    ButtonPainter m_painter;
    WindowTimer m_overTimer;
    // Mouse buttons (MK_LBUTTON ...) that went down over the button and are
    // still held: the window keeps the capture while there are any.
    WPARAM m_held = 0;
    // UISF_HIDEFOCUS and UISF_HIDEACCEL as WM_UPDATEUISTATE left them.
    DWORD m_uiState = 0;
    // QVBN_MOUSEMOVE is sent only when the program asked for it.
    bool m_notifyMoves = false;
    // The font the program gave with WM_SETFONT, which stays the program's.
    HFONT m_programFont = nullptr;
    // BN_DOUBLECLICKED went to the parent for the press being held: its click sends no BN_CLICKED.
    bool m_doubleClickNotified = false;
    std::unique_ptr<WindowContainer> m_ownContainer;
    ContainerServices& m_container;
    bool m_initDefaults;
    button m_button;
    // What screen readers read of the button, made when the first asks.
    ComPtr<ButtonAccessible> m_accessible;
};

}  // namespace qv
