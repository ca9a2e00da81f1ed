#include "host/gdi/GdiFont_win.h"

#include "host/base/Units.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"

#include <algorithm>
#include <cwchar>

namespace qv {
namespace {

FontRef FontObjectOf(const LOGFONTW& description, int emPixels, int dpi)
{
    auto font = std::make_shared<FontObject>();
    font->SetName(FromWide(description.lfFaceName, wcsnlen(description.lfFaceName, LF_FACESIZE)));
    font->SetSize(FontSize::FromPoints(static_cast<double>(emPixels) * PointsPerInch / dpi));
    font->SetBold(description.lfWeight >= FW_SEMIBOLD);
    font->SetItalic(description.lfItalic != 0);
    font->SetUnderline(description.lfUnderline != 0);
    font->SetStrikethrough(description.lfStrikeOut != 0);
    return font;
}

}  // namespace

OwnedFont CreateFontFor(const FontObject& font, int dpi)
{
    LOGFONTW description{};
    description.lfHeight = -PointsToPixels(font.Size().Points(), dpi);
    description.lfWeight = font.Bold() ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.Italic();
    description.lfUnderline = font.Underline();
    description.lfStrikeOut = font.Strikethrough();
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const Text& name = font.Name();
    std::copy(name.begin(), name.end(), reinterpret_cast<char16_t*>(description.lfFaceName));
    OwnedFont created(CreateFontIndirectW(&description));
    if (!created) {
        throw ErrorFromGdiFailure(u"Die Schrift \u201E" + name + u"\u201C kann nicht angelegt werden");
    }
    return created;
}

FontRef FontObjectOf(HFONT font, int dpi)
{
    LOGFONTW description{};
    if (!GetObjectW(font, sizeof description, &description)) {
        throw ErrorFromLastError(u"Die Schrift kann nicht gelesen werden");
    }
    // A negative height is the em height already; a positive one includes the
    // internal leading, which the font's metrics tell.
    int emPixels = -description.lfHeight;
    if (description.lfHeight >= 0) {
        const WindowDC screen(nullptr);
        const Selection selected(screen.Get(), font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.Get(), &metrics);
        emPixels = metrics.tmHeight - metrics.tmInternalLeading;
    }
    return FontObjectOf(description, emPixels, dpi);
}

FontRef SystemMessageFont(int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        throw ErrorFromLastError(u"Die Schrift des Systems kann nicht gelesen werden");
    }
    const LOGFONTW& description = metrics.lfMessageFont;
    if (description.lfHeight < 0) {
        return FontObjectOf(description, -description.lfHeight, dpi);
    }
    const OwnedFont font(CreateFontIndirectW(&description));
    return FontObjectOf(font.Get(), dpi);
}

}  // namespace qv
