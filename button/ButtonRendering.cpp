#include "Button.h"

#include "host/base/CheckedMath.h"

namespace qv {
namespace {

constexpr std::int32_t MinimumInnerPixels = 10;
constexpr std::int32_t MinimumOuterTwips = 150;
constexpr std::int32_t Inset = 4;
constexpr std::int32_t Gap = 4;
// Arrangement 1 puts the picture at this x, whatever the content's left edge.
constexpr std::int32_t FixedPictureLeft = 10;

constexpr OleColor ButtonShadow = SystemColour(16);
constexpr OleColor ButtonHighlight = SystemColour(20);
constexpr OleColor DarkShadow = SystemColour(21);

constexpr std::uint32_t MeasureFormat =
    TextFormat::CalcRect | TextFormat::WordBreak | TextFormat::VCenter | TextFormat::Center;
constexpr std::uint32_t DrawFormat = TextFormat::WordBreak | TextFormat::VCenter | TextFormat::Center;

// start + ½(room − size): where something of `size` sits centred in `room`.
std::int32_t Centred(std::int32_t start, std::int32_t room, std::int32_t size)
{
    return CheckedAdd(start, HalfTowardZero(CheckedSub(room, size)));
}

// A rectangle of `width` x `height` at (left, top).
Rect Placed(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    return {left, top, CheckedAdd(left, width), CheckedAdd(top, height)};
}

}  // namespace

void button::Refresh()
{
    // A button whose window is gone has nothing to show.
    if (Gone()) {
        return;
    }
    // Everything below goes to the off-screen image; the window shows it at the end.
    m_canvas.Cls();
    SetFaceColor();
    if (m_xpShowBorderAlways) {
        DrawBorder();
    }
    CalcLayout();
    DrawPicture();
    if (g_HasFocus == 1 && m_showFocusRect && m_focusCueShown) {
        m_canvas.DrawFocusRect(g_rcFocus);
    }
    DrawCaption();
    m_surface.Invalidate();
}

void button::SetFaceColor()
{
    if (g_MouseOver == 0 && g_Pressed == 0) {
        m_surface.SetBackColor(m_backColor);
    }
    if (g_MouseOver == 1 && g_Pressed == 0) {
        m_surface.SetBackColor(m_colorHover);
    }
    if (g_Pressed == 1) {
        m_surface.SetBackColor(m_colorPressed);
    }
}

void button::DrawBorder()
{
    const std::int32_t W = m_surface.ScaleWidth();
    const std::int32_t H = m_surface.ScaleHeight();
    DrawRect(0, 0, CheckedSub(W, 1), CheckedSub(H, 1), ButtonShadow);
    DrawRect(0, 0, CheckedAdd(W, 1), CheckedAdd(H, 1), ButtonHighlight);
    DrawRect(-1, -1, CheckedAdd(W, 1), CheckedAdd(H, 1), DarkShadow);
}

void button::CalcLayout()
{
    const std::int32_t W = m_surface.ScaleWidth();
    const std::int32_t H = m_surface.ScaleHeight();
    g_rcContent = {Inset, Inset, CheckedSub(W, Inset), CheckedSub(H, Inset)};
    const std::int32_t cL = g_rcContent.left;
    const std::int32_t cT = g_rcContent.top;
    const std::int32_t cw = CheckedSub(g_rcContent.right, cL);
    const std::int32_t ch = CheckedSub(g_rcContent.bottom, cT);
    const std::int32_t PW = m_pictureWidth;
    const std::int32_t PH = m_pictureHeight;

    if (!m_picture) {
        g_rcCaption = g_rcContent;
        MeasureCaption();
        return;
    }
    if (m_caption.empty()) {
        g_rcPicture = Placed(Centred(cL, cw, PW), Centred(cT, ch, PH), PW, PH);
        return;
    }
    g_rcCaption = g_rcContent;
    MeasureCaption();
    const std::int32_t CW = CheckedSub(g_rcCaption.right, g_rcCaption.left);
    const std::int32_t CH = CheckedSub(g_rcCaption.bottom, g_rcCaption.top);
    switch (m_picturePosition) {
    case 0:
        g_rcPicture = Placed(Centred(cL, cw, PW), Centred(cT, ch, CheckedAdd(CheckedAdd(PH, Gap), CH)), PW, PH);
        g_rcCaption = Placed(Centred(cL, cw, CW), CheckedAdd(g_rcPicture.bottom, Gap), CW, CH);
        break;
    case 2:
        g_rcCaption = Placed(Centred(cL, cw, CheckedAdd(CheckedAdd(CW, Gap), PW)), Centred(cT, ch, CH), CW, CH);
        g_rcPicture = Placed(CheckedAdd(g_rcCaption.right, Gap), Centred(cT, ch, PH), PW, PH);
        break;
    case 3:
        g_rcCaption = Placed(Centred(cL, cw, CW), Centred(cT, ch, CheckedAdd(CheckedAdd(CH, Gap), PH)), CW, CH);
        g_rcPicture = Placed(Centred(cL, cw, PW), CheckedAdd(g_rcCaption.bottom, Gap), PW, PH);
        break;
    case 1:
        g_rcPicture = Placed(FixedPictureLeft, Centred(cT, ch, PH), PW, PH);
        g_rcCaption = Placed(CheckedAdd(g_rcPicture.right, Gap), Centred(cT, ch, CH), CW, CH);
        break;
    default:
        // An unknown arrangement keeps the caption centred as measured; the
        // picture goes where the usual arrangement (1) puts it rather than
        // where an earlier redraw left it.
        g_rcPicture = Placed(FixedPictureLeft, Centred(cT, ch, PH), PW, PH);
        break;
    }
}

void button::MeasureCaption()
{
    g_DrawTextParams = {20, 1, 1, 1, 0};
    const Rect measured = m_canvas.MeasureText(m_caption, g_rcCaption, MeasureFormat, g_DrawTextParams);
    const std::int32_t CW = CheckedSub(measured.right, measured.left);
    const std::int32_t CH = CheckedSub(measured.bottom, measured.top);
    const std::int32_t cL = g_rcContent.left;
    const std::int32_t cT = g_rcContent.top;
    g_rcCaption = Placed(Centred(cL, CheckedSub(g_rcContent.right, cL), CW),
                         Centred(cT, CheckedSub(g_rcContent.bottom, cT), CH), CW, CH);
}

void button::DrawPicture()
{
    // A disabled button shows no picture.
    if (!m_picture || !Enabled()) {
        return;
    }
    m_canvas.DrawPicture(*m_picture, m_originalPicSizeW, m_originalPicSizeH, m_pictureWidth, m_pictureHeight,
                         g_rcPicture.left, g_rcPicture.top, m_maskColor);
}

void button::DrawCaption()
{
    if (m_caption.empty()) {
        return;
    }
    m_canvas.SetTextColor(TranslateColor(m_foreColor));
    if (!Enabled()) {
        return;
    }
    m_canvas.PaintText(m_caption, g_rcCaption, m_acceleratorCuesShown ? DrawFormat : DrawFormat | TextFormat::HidePrefix,
                       g_DrawTextParams);
}

OleColor button::TranslateColor(OleColor colour)
{
    return IsSystemColour(colour) ? m_canvas.SysColor(SystemColourIndex(colour)) : colour;
}

void button::DrawRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, OleColor colour)
{
    m_canvas.FrameRect({left, top, right, bottom}, TranslateColor(colour));
}

void button::OnResize()
{
    if (m_surface.ScaleWidth() < MinimumInnerPixels) {
        m_surface.SetWidthTwips(MinimumOuterTwips);
    }
    if (m_surface.ScaleHeight() < MinimumInnerPixels) {
        m_surface.SetHeightTwips(MinimumOuterTwips);
    }
    g_rcFocus = {Inset, Inset, m_surface.ScaleWidth() - Inset, m_surface.ScaleHeight() - Inset};
    Refresh();
}

void button::OnAmbientChanged(const Text&)
{
    Refresh();
}

void button::SetKeyboardCues(bool showFocus, bool showAccelerators)
{
    m_focusCueShown = showFocus;
    m_acceleratorCuesShown = showAccelerators;
    Refresh();
}

void button::PreviewState(bool mouseOver, bool pressed, bool hasFocus)
{
    g_MouseOver = mouseOver ? 1 : 0;
    g_Pressed = pressed ? 1 : 0;
    g_HasFocus = hasFocus ? 1 : 0;
    Refresh();
}

}  // namespace qv
