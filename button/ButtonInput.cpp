#include "Button.h"

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
    if (Button != MouseButton::Right) {
        g_Pressed = 1;
        Refresh();
    }
    if (m_events.MouseDown) {
        m_events.MouseDown(Button, Shift, X, Y);
    }
}

void button::OnMouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    if (Inside(X, Y) && g_MouseOver == 0) {
        OverTimer.SetEnabled(true);
        g_MouseOver = 1;
        if (m_pictureHover) {
            m_picture = m_pictureHover;
        }
        if (m_events.MouseIn) {
            m_events.MouseIn(Shift);
        }
        Refresh();
        // The hover look shows before anything else happens; other events may run here.
        m_pump.PumpStep();
    }
    if (m_events.MouseMove) {
        m_events.MouseMove(Button, Shift, X, Y);
    }
}

void button::OnMouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    g_Pressed = 0;
    if (Button != MouseButton::Right) {
        Refresh();
        if (Inside(X, Y)) {
            PlaySoundFile(m_soundClick);
            if (m_events.Click) {
                m_events.Click();
            }
        }
    }
    if (m_events.MouseUp) {
        m_events.MouseUp(Button, Shift, X, Y);
    }
}

void button::OnDoubleClick()
{
    OnMouseDown(g_LastButton, g_LastShift, g_LastX, g_LastY);
}

void button::OnKeyDown(std::int16_t KeyCode, std::int16_t Shift)
{
    // Auto-repeat and a second key held down do not press again.
    if (g_KeyLatched == 0) {
        if (KeyCode == SpaceKey) {
            g_Pressed = 1;
            g_MouseOver = 1;
            Refresh();
        }
        g_KeyLatched = 1;
    }
    if (m_events.KeyDown) {
        m_events.KeyDown(KeyCode, Shift);
    }
}

void button::OnKeyPress(std::int16_t KeyAscii)
{
    if (m_events.KeyPress) {
        m_events.KeyPress(KeyAscii);
    }
}

void button::OnKeyUp(std::int16_t KeyCode, std::int16_t Shift)
{
    if (KeyCode == SpaceKey) {
        g_Pressed = 0;
        g_MouseOver = 0;
        Refresh();
        // The space bar clicks on its release, as a left button released at (0, 0).
        OnMouseUp(MouseButton::Left, Shift, 0.0f, 0.0f);
    }
    g_KeyLatched = 0;
    if (m_events.KeyUp) {
        m_events.KeyUp(KeyCode, Shift);
    }
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
    Refresh();
}

void button::OnCaptureLost()
{
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
    m_picture = g_PictureNormal;
    if (m_events.MouseOut) {
        m_events.MouseOut(g_LastShift);
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
