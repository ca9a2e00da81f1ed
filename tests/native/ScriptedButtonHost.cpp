#include "ScriptedButtonHost.h"

#include "host/base/CheckedMath.h"
#include "host/base/HostError.h"
#include "host/base/Units.h"
#include "host/gdi/PictureFormat.h"

#include <sstream>
#include <utility>

namespace qv::test {

std::string Hex(std::uint32_t value)
{
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

std::string RectText(const Rect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

std::vector<std::uint8_t> ScriptedPicture::FileData() const
{
    if (m_empty) {
        return {};
    }
    const std::string text = "PIC " + std::to_string(m_width) + " " + std::to_string(m_height);
    return {text.begin(), text.end()};
}

PictureRef MakePicture(std::int32_t width, std::int32_t height)
{
    return std::make_shared<ScriptedPicture>(width, height);
}

PictureRef ScriptedPictureLoader::LoadPicture(std::span<const std::uint8_t> fileData)
{
    if (fileData.empty()) {
        return std::make_shared<ScriptedPicture>(0, 0, true);
    }
    // Real picture files pass the program's own size check and decode to their claimed size.
    if (const auto extent = PictureExtentOf(fileData); extent && !extent->drawn) {
        CheckPictureSize(fileData);
        return MakePicture(static_cast<std::int32_t>(extent->width * 2540 / 96),
                           static_cast<std::int32_t>(extent->height * 2540 / 96));
    }
    std::istringstream in(std::string(fileData.begin(), fileData.end()));
    std::string magic;
    std::int32_t width = -1;
    std::int32_t height = -1;
    char rest = 0;
    if (!(in >> magic >> width >> height) || magic != "PIC" || width < 0 || height < 0 || (in >> rest)) {
        throw HostError(ErrorNumber::InvalidPicture, u"Ungültiges Bild");
    }
    return MakePicture(width, height);
}

void ScriptedSurface::SetEnabled(bool value)
{
    Record(std::string("surface.Enabled ") + (value ? "true" : "false"));
    enabled = value;
}

void ScriptedSurface::SetMousePointer(std::int16_t shape)
{
    Record("surface.MousePointer " + std::to_string(shape));
    if ((shape < PointerDefault || shape > PointerLast) && shape != PointerCustom) {
        throw HostError(ErrorNumber::InvalidPropertyValue, u"Ungültiger Eigenschaftswert");
    }
    pointer = shape;
}

void ScriptedSurface::SetMouseIcon(const PictureRef& value)
{
    Record(value ? "surface.MouseIcon picture" : "surface.MouseIcon nothing");
    icon = value;
}

void ScriptedSurface::SetBackColor(OleColor colour)
{
    Record("surface.BackColor " + Hex(colour));
    backColor = colour;
}

void ScriptedSurface::SetForeColor(OleColor colour)
{
    Record("surface.ForeColor " + Hex(colour));
    foreColor = colour;
}

FontRef ScriptedSurface::Font() const
{
    return font->Copy();
}

void ScriptedSurface::SetFont(const FontObject& value)
{
    Record("surface.Font " + Utf8FromText(value.Name()) + " " + Utf8FromText(value.Size().ToText()));
    font = value.Copy();
}

void ScriptedSurface::SetScaleMode(ScaleMode mode)
{
    Record("surface.ScaleMode " + std::to_string(static_cast<int>(mode)));
}

void ScriptedSurface::SetStretchMode(std::int32_t mode)
{
    Record("surface.StretchMode " + std::to_string(mode));
    stretchMode = mode;
}

std::int32_t ScriptedSurface::HimetricToPixels(std::int32_t himetric) const
{
    return qv::HimetricToPixels(himetric, dpi);
}

void ScriptedSurface::SetWidthTwips(std::int32_t twips)
{
    Record("surface.Width " + std::to_string(twips));
    width = TwipsToPixels(twips, dpi);
    if (resized) {
        resized();
    }
}

void ScriptedSurface::SetHeightTwips(std::int32_t twips)
{
    Record("surface.Height " + std::to_string(twips));
    height = TwipsToPixels(twips, dpi);
    if (resized) {
        resized();
    }
}

void ScriptedSurface::Invalidate()
{
    redrawSteps = nullptr;
    m_journal.push_back("Refresh");
    ++redraws;
}

void ScriptedSurface::Record(std::string entry)
{
    (redrawSteps ? *redrawSteps : m_journal).push_back(std::move(entry));
}

void ScriptedCanvas::Cls()
{
    steps.clear();
    m_surface.redrawSteps = &steps;
    steps.push_back("Cls");
}

OleColor ScriptedCanvas::SysColor(std::uint32_t index)
{
    // Recognisable stand-ins for the system colours: the index in every channel.
    return index * 0x010101u;
}

void ScriptedCanvas::FrameRect(const Rect& rect, OleColor rgb)
{
    steps.push_back("FrameRect " + RectText(rect) + " " + Hex(rgb));
}

Rect ScriptedCanvas::MeasureText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params)
{
    steps.push_back("MeasureText " + Utf8FromText(text) + " " + RectText(rect) + " " + Hex(format));
    lastParams = params;
    return {rect.left, rect.top, rect.left + measuredWidth, rect.top + measuredHeight};
}

void ScriptedCanvas::PaintText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params)
{
    steps.push_back("PaintText " + Utf8FromText(text) + " " + RectText(rect) + " " + Hex(format));
    lastParams = params;
}

void ScriptedCanvas::SetTextColor(OleColor rgb)
{
    steps.push_back("TextColor " + Hex(rgb));
}

void ScriptedCanvas::DrawFocusRect(const Rect& rect)
{
    steps.push_back("FocusRect " + RectText(rect));
}

void ScriptedCanvas::DrawPicture(const PictureObject&, std::int32_t naturalWidth, std::int32_t naturalHeight,
                                 std::int32_t drawnWidth, std::int32_t drawnHeight, std::int32_t x, std::int32_t y,
                                 OleColor keyColour)
{
    // As the interface promises: a drawn size beyond 16 bits overflows before anything is drawn.
    CheckedInt16(drawnWidth);
    CheckedInt16(drawnHeight);
    steps.push_back("DrawPicture " + std::to_string(naturalWidth) + "x" + std::to_string(naturalHeight) + " as " +
                    std::to_string(drawnWidth) + "x" + std::to_string(drawnHeight) + " at " + std::to_string(x) +
                    "," + std::to_string(y) + " key " + Hex(keyColour));
}

Text ScriptedContainer::DisplayName()
{
    m_journal.push_back("container.DisplayName");
    return displayName;
}

FontRef ScriptedContainer::AmbientFont()
{
    m_journal.push_back("container.AmbientFont");
    return ambient->Copy();
}

void ScriptedContainer::PropertyChanged(const Text& propertyName)
{
    m_journal.push_back("PropertyChanged " + Utf8FromText(propertyName));
    changed.push_back(propertyName);
    if (onChanged) {
        onChanged(propertyName);
    }
}

Variant ScriptedStore::ReadProperty(const Text& key, const Variant& defaultValue)
{
    m_journal.push_back("read " + Utf8FromText(key));
    const auto found = values.find(key);
    return found == values.end() ? defaultValue : found->second;
}

void ScriptedStore::WriteProperty(const Text& key, const Variant& value, const Variant& defaultValue)
{
    m_journal.push_back("write " + Utf8FromText(key));
    values[key] = value;
    defaults[key] = defaultValue;
    order.push_back(key);
}

void ScriptedTimer::SetEnabled(bool value)
{
    m_journal.push_back(value ? "timer on" : "timer off");
    enabled = value;
}

bool ScriptedSound::PlayWaveFile(const Text& path)
{
    m_journal.push_back("PlaySound " + Utf8FromText(path));
    return true;
}

namespace {

std::string Number(float value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string MouseText(const char* name, std::int16_t button, std::int16_t shift, float x, float y)
{
    return std::string(name) + " " + std::to_string(button) + " " + std::to_string(shift) + " " + Number(x) + " " +
           Number(y);
}

}  // namespace

void JournalEvents(button& b, Journal& journal)
{
    ButtonEvents events;
    events.Click = [&journal] { journal.push_back("Click"); };
    events.KeyDown = [&journal](std::int16_t code, std::int16_t shift) {
        journal.push_back("KeyDown " + std::to_string(code) + " " + std::to_string(shift));
    };
    events.KeyPress = [&journal](std::int16_t ascii) { journal.push_back("KeyPress " + std::to_string(ascii)); };
    events.KeyUp = [&journal](std::int16_t code, std::int16_t shift) {
        journal.push_back("KeyUp " + std::to_string(code) + " " + std::to_string(shift));
    };
    events.MouseDown = [&journal](std::int16_t button, std::int16_t shift, float x, float y) {
        journal.push_back(MouseText("MouseDown", button, shift, x, y));
    };
    events.MouseMove = [&journal](std::int16_t button, std::int16_t shift, float x, float y) {
        journal.push_back(MouseText("MouseMove", button, shift, x, y));
    };
    events.MouseUp = [&journal](std::int16_t button, std::int16_t shift, float x, float y) {
        journal.push_back(MouseText("MouseUp", button, shift, x, y));
    };
    events.MouseIn = [&journal](std::int16_t shift) { journal.push_back("MouseIn " + std::to_string(shift)); };
    events.MouseOut = [&journal](std::int16_t shift) { journal.push_back("MouseOut " + std::to_string(shift)); };
    b.SetEvents(std::move(events));
}

FontRef MakeFont(const Text& name, double points, bool bold, bool italic, bool underline, bool strikethrough)
{
    auto font = std::make_shared<FontObject>();
    font->SetName(name);
    font->SetSize(FontSize::FromPoints(points));
    font->SetBold(bold);
    font->SetItalic(italic);
    font->SetUnderline(underline);
    font->SetStrikethrough(strikethrough);
    return font;
}

}  // namespace qv::test
