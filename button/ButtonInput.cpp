#include "Button.h"

#include <utility>

namespace qv {
namespace {

constexpr std::int16_t SpaceKey = 32;

}  // namespace

bool button::Inside(float X, float Y) const
{
    return X >= 0.0f && X < static_cast<float>(m_surface.ScaleWidth()) && Y >= 0.0f &&
           Y < static_cast<float>(m_surface.ScaleHeight());
}

void button::OnMouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    g_LastButton = Button;
    g_LastShift = Shift;
    g_LastX = X;
    g_LastY = Y;
    m_pressesReceived |= Button;
    if (Button != MouseButton::Right) {
        g_Pressed = 1;
        Refresh();
    }
    Raise(m_events.MouseDown, Button, Shift, X, Y);
}

void button::OnMouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    if (Inside(X, Y) && g_MouseOver == 0) {
        OverTimer.SetEnabled(true);
        g_MouseOver = 1;
        // An empty hover picture is no picture to show: the button keeps its look.
        if (m_pictureHover && !m_pictureHover->IsEmpty()) {
            m_picture = m_pictureHover;
            m_hoverPictureShown = true;
        }
        if (!Raise(m_events.MouseIn, Shift)) {
            return;
        }
        Refresh();
        // The hover look shows at once, before the move is reported; nothing else runs meanwhile.
        m_surface.ShowNow();
    }
    Raise(m_events.MouseMove, Button, Shift, X, Y);
}

void button::OnMouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    // A press elsewhere that ends over the button is a drag, not a click.
    const bool pressedHere = (m_pressesReceived & Button) != 0;
    m_pressesReceived &= static_cast<std::int16_t>(~Button);
    Release(Button, Shift, X, Y, pressedHere);
}

void button::Release(std::int16_t Button, std::int16_t Shift, float X, float Y, bool clicks)
{
    g_Pressed = 0;
    if (Button != MouseButton::Right) {
        Refresh();
        if (clicks && Inside(X, Y)) {
            PlaySoundFile(m_soundClick);
            if (!Raise(m_events.Click)) {
                return;
            }
        }
    }
    Raise(m_events.MouseUp, Button, Shift, X, Y);
}

void button::OnDoubleClick()
{
    OnMouseDown(g_LastButton, g_LastShift, g_LastX, g_LastY);
}

void button::OnKeyDown(std::int16_t KeyCode, std::int16_t Shift)
{
    // Auto-repeat and a second key held down do not press again.
    if (KeyCode == SpaceKey) {
        m_spacePressed = true;
    }
    if (g_KeyLatched == 0) {
        if (KeyCode == SpaceKey) {
            g_Pressed = 1;
            g_MouseOver = 1;
            Refresh();
        }
        g_KeyLatched = 1;
    }
    Raise(m_events.KeyDown, KeyCode, Shift);
}

void button::OnKeyPress(std::int16_t KeyAscii)
{
    Raise(m_events.KeyPress, KeyAscii);
}

void button::OnKeyUp(std::int16_t KeyCode, std::int16_t Shift)
{
    if (KeyCode == SpaceKey && m_spacePressed) {
        m_spacePressed = false;
        g_Pressed = 0;
        g_MouseOver = 0;
        Refresh();
        // The space bar clicks on its release, as a left button released at (0, 0).
        Release(MouseButton::Left, Shift, 0.0f, 0.0f, true);
        if (Gone()) {
            return;
        }
    }
    g_KeyLatched = 0;
    Raise(m_events.KeyUp, KeyCode, Shift);
}

void button::OnEnterFocus()
{
    g_HasFocus = 1;
    Refresh();
}

void button::OnExitFocus()
{
    g_HasFocus = 0;
    g_Pressed = 0;
    g_KeyLatched = 0;
    // The hover look a Space press gave goes with it; the pointer's stays while it is over the button.
    if (std::exchange(m_spacePressed, false) && !OverTimer.Enabled()) {
        g_MouseOver = 0;
    }
    Refresh();
}

void button::OnCaptureLost()
{
    m_pressesReceived = 0;
    if (g_Pressed == 1) {
        g_Pressed = 0;
        Refresh();
    }
}

void button::OnOverTimerTick()
{
    const WindowHandle under = m_pointer.WindowFromPoint(m_pointer.CursorPos());
    if (under == m_surface.Handle()) {
        return;
    }
    OverTimer.SetEnabled(false);
    g_MouseOver = 0;
    if (m_hoverPictureShown) {
        m_picture = g_PictureNormal;
        m_hoverPictureShown = false;
    }
    if (!Raise(m_events.MouseOut, g_LastShift)) {
        return;
    }
    Refresh();
    // Away from the pointer the button looks released, but a return with the
    // mouse button still held shows it pressed again and a release there clicks.
    if (g_Pressed == 1) {
        g_Pressed = 0;
        Refresh();
        g_Pressed = 1;
    }
}

std::uint8_t button::PlaySoundFile(const Text& path)
{
    return m_sound.PlayWaveFile(path) ? 1 : 0;
}

}  // namespace qv
