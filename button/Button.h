#pragma once
// The owner-drawn push button: its properties, their persistence in the
// container's property store and its redraw. Portable: it reaches the window
// through its ControlSurface and the container through ContainerServices.
// Everything runs on the UI thread, called by the container or by the
// control's own handlers; nothing here catches an error.

#include "ButtonCanvas.h"

#include "host/base/Rect.h"
#include "host/base/Text.h"
#include "host/gdi/Colour.h"
#include "host/gdi/FontObject.h"
#include "host/gdi/Picture.h"
#include "host/shell/SoundPlayer.h"
#include "host/store/PropertyStore.h"
#include "host/store/Variant.h"
#include "host/window/ContainerServices.h"
#include "host/window/ControlSurface.h"
#include "host/window/PointerServices.h"
#include "host/window/Timer.h"

#include <cstdint>
#include <functional>

namespace qv {

// What the button is built on; everything must outlive the button.
struct ButtonHost {
    ControlSurface& surface;
    ButtonCanvas& canvas;
    ContainerServices& container;
    PictureLoader& pictures;
    // Polls for the end of a hover while the pointer is over the button.
    Timer& overTimer;
    PointerServices& pointer;
    SoundPlayer& sound;
};

// The mouse buttons in events and input, as flags.
namespace MouseButton {
constexpr std::int16_t Left = 1;
constexpr std::int16_t Right = 2;
constexpr std::int16_t Middle = 4;
}  // namespace MouseButton

// The button's events, raised synchronously on the UI thread. Mouse buttons
// are MouseButton flags; Shift is 1 Shift, 2 Ctrl, 4 Alt; X and Y are
// the surface's pixels. A handler may change the button; the button reads
// nothing back from it.
struct ButtonEvents {
    std::function<void()> Click;
    std::function<void(std::int16_t KeyCode, std::int16_t Shift)> KeyDown;
    std::function<void(std::int16_t KeyAscii)> KeyPress;
    std::function<void(std::int16_t KeyCode, std::int16_t Shift)> KeyUp;
    std::function<void(std::int16_t button, std::int16_t Shift, float X, float Y)> MouseDown;
    std::function<void(std::int16_t button, std::int16_t Shift, float X, float Y)> MouseMove;
    std::function<void(std::int16_t button, std::int16_t Shift, float X, float Y)> MouseUp;
    std::function<void(std::int16_t Shift)> MouseIn;
    std::function<void(std::int16_t Shift)> MouseOut;
};

class button final {
public:
    // On creation: a new font object with the platform's defaults, a pixel
    // surface whose pictures shrink by dropping rows and columns (stretch mode 3).
    explicit button(const ButtonHost& host);
    button(const button&) = delete;
    button& operator=(const button&) = delete;

    // Persistence: the container calls InitDefaults or LoadProperties once,
    // then SaveProperties as often as it likes. Loading stops at the first
    // key it refuses, keeping what it loaded before and that key's old value;
    // it refuses values the button could not draw (ButtonLimits.h). A picture
    // size is checked as a pair, and neither side applied when it is refused.
    void InitDefaults();
    void LoadProperties(PropertyStore& store);
    void SaveProperties(PropertyStore& store);

    // Public properties. A setter stores (or forwards to the surface), then
    // tells the container, then redraws where the property shows.
    bool Enabled() const;
    void SetEnabled(bool New_Enabled);
    // The button's own font object; assigning copies six attributes into it.
    FontRef Font() const { return g_Font; }
    void SetFont(const FontRef& New_Font);
    std::int32_t hwnd() const;
    std::int32_t MousePointer() const;
    void SetMousePointer(std::int32_t New_MousePointer);
    PictureRef MouseIcon() const;
    void SetMouseIcon(const PictureRef& New_MouseIcon);
    bool ShowFocusRect() const noexcept { return m_showFocusRect; }
    void SetShowFocusRect(bool New_ShowFocusRect);
    const Text& Caption() const noexcept { return m_caption; }
    void SetCaption(const Text& New_Caption);
    std::int32_t PicturePosition() const noexcept { return m_picturePosition; }
    void SetPicturePosition(std::int32_t New_PicturePosition);
    // The picture shown now: the hover picture while the pointer is over the button.
    PictureRef Picture() const { return m_picture; }
    void SetPicture(const PictureRef& New_Picture);
    std::int32_t PictureWidth() const noexcept { return m_pictureWidth; }
    void SetPictureWidth(std::int32_t New_PictureWidth);
    std::int32_t PictureHeight() const noexcept { return m_pictureHeight; }
    void SetPictureHeight(std::int32_t New_PictureHeight);
    PictureRef PictureHover() const { return m_pictureHover; }
    void SetPictureHover(const PictureRef& New_PictureHover);
    OleColor Color_Pressed() const noexcept { return m_colorPressed; }
    void SetColor_Pressed(OleColor New_Color_Pressed);
    OleColor Color_Hover() const noexcept { return m_colorHover; }
    void SetColor_Hover(OleColor New_Color_Hover);
    OleColor BackColor() const noexcept { return m_backColor; }
    void SetBackColor(OleColor New_BackColor);
    OleColor ForeColor() const noexcept { return m_foreColor; }
    void SetForeColor(OleColor New_ForeColor);
    // Any value with a text form; it is kept as that text.
    Variant SoundOver() const { return m_soundOver; }
    void SetSoundOver(const Variant& New_SoundOver);
    const Text& SoundClick() const noexcept { return m_soundClick; }
    void SetSoundClick(const Text& New_SoundClick);
    // Always "030102-15"; writing it changes nothing.
    Text version() const;
    void Setversion(const Text& New_version);
    bool DefCurHand() const noexcept { return m_defCurHand; }
    void SetDefCurHand(bool New_DefCurHand);
    bool XPShowBorderAlways() const noexcept { return m_xpShowBorderAlways; }
    void SetXPShowBorderAlways(bool New_XPShowBorderAlways);
    OleColor MaskColor() const noexcept { return m_maskColor; }
    void SetMaskColor(OleColor New_MaskColor);
    bool TransparentBG() const noexcept { return m_transparentBG; }
    void SetTransparentBG(bool New_TransparentBG);

    // Redraws the whole button from the current values, off-screen, then
    // shows it. An Overflow in the layout or the picture stops it there.
    void Refresh();
    // The surface's size changed.
    void OnResize();
    // A value the container lends its controls (font, colours) changed.
    void OnAmbientChanged(const Text& PropertyName);

    // The container's keyboard cues: a dialog hides focus rectangles and
    // mnemonic underlines until the user works the keyboard. Both show until
    // the container says otherwise. Redraws.
    void SetKeyboardCues(bool showFocus, bool showAccelerators);

    // Shows the button as input would leave it: for designers and previews
    // of the hover, pressed and focus looks. Redraws.
    void PreviewState(bool mouseOver, bool pressed, bool hasFocus);
    // The state input left it in.
    bool IsPressed() const noexcept { return g_Pressed == 1; }
    bool IsMouseOver() const noexcept { return g_MouseOver == 1; }
    bool HasFocus() const noexcept { return g_HasFocus == 1; }

    // A handler may set new events, and destroy the button's window: then
    // no further event of that input is raised.
    void SetEvents(ButtonEvents events) { m_events = std::move(events); }

    // Input, as the surface delivers it: mouse buttons and Shift as for the
    // events. Only a Space pressed on the button clicks on its release; a
    // loss of the focus or of the capture ends a press without a click.
    void OnMouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void OnMouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void OnMouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    // The second press of a double-click, in place of its mouse-down.
    void OnDoubleClick();
    void OnKeyDown(std::int16_t KeyCode, std::int16_t Shift);
    void OnKeyPress(std::int16_t KeyAscii);
    void OnKeyUp(std::int16_t KeyCode, std::int16_t Shift);
    void OnEnterFocus();
    void OnExitFocus();
    // The mouse capture went elsewhere while a button was held: the press is
    // abandoned, shown released, and no click follows.
    void OnCaptureLost();
    // A tick of the hover timer.
    void OnOverTimerTick();

    // Values without a property of their own.
    std::int32_t OriginalPicSizeW() const noexcept { return m_originalPicSizeW; }
    std::int32_t OriginalPicSizeH() const noexcept { return m_originalPicSizeH; }
    PictureRef PictureNormal() const { return g_PictureNormal; }
    const Rect& FocusRect() const noexcept { return g_rcFocus; }
    const Rect& ContentRect() const noexcept { return g_rcContent; }
    const Rect& PictureRect() const noexcept { return g_rcPicture; }
    const Rect& CaptionRect() const noexcept { return g_rcCaption; }

private:
    friend class ButtonPersistence;

    void SetFaceColor();
    void DrawBorder();
    void CalcLayout();
    void MeasureCaption();
    void DrawPicture();
    void DrawCaption();
    OleColor TranslateColor(OleColor colour);
    void DrawRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, OleColor colour);

    bool Inside(float X, float Y) const;
    // The window went while an event ran.
    bool Gone() const { return m_surface.Handle() == 0; }
    // Raises an event through a copy of its handler, which stays alive
    // whatever the handler sets; false when the button's window is gone.
    template <typename Handler, typename... Args>
    bool Raise(const Handler& handler, Args... args)
    {
        if (handler) {
            const Handler running = handler;
            running(args...);
        }
        return !Gone();
    }
    void Release(std::int16_t Button, std::int16_t Shift, float X, float Y, bool clicks);
    std::uint8_t PlaySoundFile(const Text& path);
    void StoreCaption(const Text& caption);

    void g_Font_FontChanged(const Text& PropertyName);
    // Makes `font` the button's font object and follows its changes.
    void AdoptFont(FontRef font);
    void Notify(const Text& propertyName);

    ControlSurface& m_surface;
    ButtonCanvas& m_canvas;
    ContainerServices& m_container;
    PictureLoader& m_pictures;
    Timer& OverTimer;
    PointerServices& m_pointer;
    SoundPlayer& m_sound;
    ButtonEvents m_events;

    OleColor m_backColor = 0;
    OleColor m_foreColor = 0;
    OleColor m_colorHover = 0;
    OleColor m_colorPressed = 0;
    OleColor m_maskColor = 0;
    bool m_showFocusRect = false;
    bool m_xpShowBorderAlways = false;
    bool m_transparentBG = false;
    bool m_defCurHand = false;
    Text m_caption;
    std::int32_t m_picturePosition = 0;
    PictureRef m_picture;
    PictureRef g_PictureNormal;
    PictureRef m_pictureHover;
    std::int32_t m_pictureWidth = 0;
    std::int32_t m_pictureHeight = 0;
    std::int32_t m_originalPicSizeW = 0;
    std::int32_t m_originalPicSizeH = 0;
    Text m_soundOver;
    Text m_soundClick;
    FontRef g_Font;
    FontSubscription m_fontSubscription;

    // Interaction state: written by input, read by the redraw.
    std::uint8_t g_HasFocus = 0;
    std::uint8_t g_Pressed = 0;
    std::uint8_t g_MouseOver = 0;
    std::uint8_t g_KeyLatched = 0;
    // The Space key went down on the button and is held: only its release clicks.
    bool m_spacePressed = false;
    // The mouse buttons that went down over the button and are not released:
    // only their release can click.
    std::int16_t m_pressesReceived = 0;
    // The hover picture is shown in place of the normal one.
    bool m_hoverPictureShown = false;
    bool m_focusCueShown = true;
    bool m_acceleratorCuesShown = true;
    std::int16_t g_LastButton = 0;
    std::int16_t g_LastShift = 0;
    float g_LastX = 0;
    float g_LastY = 0;

    Rect g_rcFocus;
    Rect g_rcContent;
    Rect g_rcPicture;
    Rect g_rcCaption;
    DrawTextParams g_DrawTextParams;
};

}  // namespace qv
