#include "Button.h"

#include "host/base/CheckedMath.h"
#include "host/base/HostError.h"

namespace qv {
namespace {

constexpr std::int32_t PicturePlaceholderSize = 32;
// The platform's stretch mode that drops rows and columns (COLORONCOLOR).
constexpr std::int32_t DropRowsAndColumns = 3;
// Hover ends are looked for this often while the pointer is over the button.
constexpr std::int32_t OverTimerInterval = 10;

}  // namespace

button::button(const ButtonHost& host)
    : m_surface(host.surface), m_canvas(host.canvas), m_container(host.container), m_pictures(host.pictures),
      OverTimer(host.overTimer), m_pointer(host.pointer), m_sound(host.sound)
{
    OverTimer.SetInterval(OverTimerInterval);
    AdoptFont(std::make_shared<FontObject>());
    m_surface.SetScaleMode(ScaleMode::Pixels);
    m_surface.SetStretchMode(DropRowsAndColumns);
}

void button::AdoptFont(FontRef font)
{
    m_fontSubscription = {};
    g_Font = std::move(font);
    m_fontSubscription = g_Font->Subscribe([this](const Text& PropertyName) { g_Font_FontChanged(PropertyName); });
}

void button::g_Font_FontChanged(const Text&)
{
    m_surface.SetFont(*g_Font);
    Refresh();
}

void button::Notify(const Text& propertyName)
{
    m_container.PropertyChanged(propertyName);
}

bool button::Enabled() const
{
    return m_surface.Enabled();
}

void button::SetEnabled(bool New_Enabled)
{
    m_surface.SetEnabled(New_Enabled);
    Notify(u"Enabled");
    Refresh();
}

void button::SetFont(const FontRef& New_Font)
{
    if (!New_Font) {
        throw HostError(ErrorNumber::ObjectMissing, u"Objektvariable nicht festgelegt: keine Schrift angegeben");
    }
    // Each write redraws through the font-changed notification.
    g_Font->SetName(New_Font->Name());
    g_Font->SetSize(New_Font->Size());
    g_Font->SetBold(New_Font->Bold());
    g_Font->SetItalic(New_Font->Italic());
    g_Font->SetUnderline(New_Font->Underline());
    g_Font->SetStrikethrough(New_Font->Strikethrough());
    Notify(u"Font");
}

std::int32_t button::hwnd() const
{
    // Window handles carry 32 significant bits, also in 64-bit processes.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(m_surface.Handle()));
}

std::int32_t button::MousePointer() const
{
    return m_surface.MousePointer();
}

void button::SetMousePointer(std::int32_t New_MousePointer)
{
    m_surface.SetMousePointer(CheckedInt16(New_MousePointer));
    Notify(u"MousePointer");
}

PictureRef button::MouseIcon() const
{
    return m_surface.MouseIcon();
}

void button::SetMouseIcon(const PictureRef& New_MouseIcon)
{
    m_surface.SetMouseIcon(New_MouseIcon);
    Notify(u"MouseIcon");
}

void button::SetShowFocusRect(bool New_ShowFocusRect)
{
    m_showFocusRect = New_ShowFocusRect;
    Notify(u"ShowFocusRect");
    Refresh();
}

void button::StoreCaption(const Text& caption)
{
    m_caption = caption;
    // Screen readers name the button by its window's text.
    m_surface.SetText(caption);
}

void button::SetCaption(const Text& New_Caption)
{
    StoreCaption(New_Caption);
    Notify(u"Caption");
    Refresh();
}

void button::SetPicturePosition(std::int32_t New_PicturePosition)
{
    m_picturePosition = New_PicturePosition;
    Notify(u"PicturePosition");
    Refresh();
}

void button::SetPicture(const PictureRef& New_Picture)
{
    m_picture = New_Picture;
    g_PictureNormal = New_Picture;
    if (!m_picture) {
        m_originalPicSizeW = PicturePlaceholderSize;
        m_originalPicSizeH = PicturePlaceholderSize;
    } else {
        m_originalPicSizeW = m_surface.HimetricToPixels(m_picture->Width());
        m_originalPicSizeH = m_surface.HimetricToPixels(m_picture->Height());
    }
    Notify(u"Picture");
    if (New_Picture) {
        m_pictureWidth = m_surface.HimetricToPixels(New_Picture->Width());
        m_pictureHeight = m_surface.HimetricToPixels(New_Picture->Height());
    }
    Refresh();
}

void button::SetPictureWidth(std::int32_t New_PictureWidth)
{
    m_pictureWidth = New_PictureWidth;
    Notify(u"PictureWidth");
    Refresh();
}

void button::SetPictureHeight(std::int32_t New_PictureHeight)
{
    m_pictureHeight = New_PictureHeight;
    Notify(u"PictureHeight");
    Refresh();
}

void button::SetPictureHover(const PictureRef& New_PictureHover)
{
    m_pictureHover = New_PictureHover;
    Notify(u"PictureHover");
}

void button::SetColor_Pressed(OleColor New_Color_Pressed)
{
    m_colorPressed = New_Color_Pressed;
    Notify(u"Color_Pressed");
}

void button::SetColor_Hover(OleColor New_Color_Hover)
{
    m_colorHover = New_Color_Hover;
    Notify(u"Color_Hover");
}

void button::SetBackColor(OleColor New_BackColor)
{
    m_backColor = New_BackColor;
    Notify(u"BackColor");
    m_surface.SetBackColor(m_backColor);
    Refresh();
}

void button::SetForeColor(OleColor New_ForeColor)
{
    m_foreColor = New_ForeColor;
    Notify(u"ForeColor");
    m_surface.SetForeColor(m_foreColor);
    Refresh();
}

void button::SetSoundOver(const Variant& New_SoundOver)
{
    m_soundOver = VariantToText(New_SoundOver);
    Notify(u"SoundOver");
}

void button::SetSoundClick(const Text& New_SoundClick)
{
    m_soundClick = New_SoundClick;
    Notify(u"SoundClick");
}

Text button::version() const
{
    return m_surface.Tag();
}

void button::Setversion(const Text&)
{
    // The version is the surface's design-time tag; a write is accepted and
    // has no effect, so containers that save and restore it do no harm.
}

void button::SetDefCurHand(bool New_DefCurHand)
{
    m_defCurHand = New_DefCurHand;
    Notify(u"DefCurHand");
}

void button::SetXPShowBorderAlways(bool New_XPShowBorderAlways)
{
    m_xpShowBorderAlways = New_XPShowBorderAlways;
    Notify(u"XPShowBorderAlways");
}

void button::SetMaskColor(OleColor New_MaskColor)
{
    m_maskColor = New_MaskColor;
    Notify(u"MaskColor");
    Refresh();
}

void button::SetTransparentBG(bool New_TransparentBG)
{
    m_transparentBG = New_TransparentBG;
    Notify(u"TransparentBG");
    Refresh();
}

}  // namespace qv
