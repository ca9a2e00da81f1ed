#include "host/gdi/FontObject.h"

#include "host/base/HostError.h"

#include <cmath>

namespace qv {

FontSize FontSize::FromPoints(double points)
{
    const double scaled = std::round(points * Scale);
    if (!(std::abs(scaled) < 9.0e15)) {
        throw OverflowError();
    }
    return FontSize{static_cast<std::int64_t>(scaled)};
}

Text FontSize::ToText() const
{
    const std::int64_t magnitude = tenThousandths < 0 ? -tenThousandths : tenThousandths;
    Text text;
    if (tenThousandths < 0) {
        text += u'-';
    }
    text += DecimalText(magnitude / Scale);
    std::int64_t fraction = magnitude % Scale;
    if (fraction != 0) {
        Text digits = DecimalText(fraction + Scale).substr(1);
        while (digits.back() == u'0') {
            digits.pop_back();
        }
        text += u"." + digits;
    }
    return text;
}

std::optional<FontSize> FontSize::FromText(const Text& text)
{
    const std::size_t point = text.find(u'.');
    const Text whole = text.substr(0, point);
    const Text fraction = point == Text::npos ? Text() : text.substr(point + 1);
    auto allDigits = [](const Text& part) {
        for (const char16_t c : part) {
            if (c < u'0' || c > u'9') {
                return false;
            }
        }
        return true;
    };
    if (whole.empty() || whole.size() > 12 || !allDigits(whole) || !allDigits(fraction) || fraction.size() > 4 ||
        (point != Text::npos && fraction.empty())) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char16_t c : whole) {
        value = value * 10 + (c - u'0');
    }
    std::int64_t fractionValue = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        fractionValue = fractionValue * 10 + (i < fraction.size() ? fraction[i] - u'0' : 0);
    }
    return FontSize{value * Scale + fractionValue};
}

void FontObject::SetName(const Text& name)
{
    if (name.size() > MaxNameLength) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"Ungültiger Schriftname: höchstens " + DecimalText(MaxNameLength) + u" Zeichen");
    }
    m_name = name;
    Announce(u"Name");
}

void FontObject::SetSize(FontSize size)
{
    if (size.tenThousandths <= 0 || size.tenThousandths > MaxSize.tenThousandths) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"Ungültige Schriftgröße " + size.ToText() + u": erlaubt sind mehr als 0 bis 2048 Punkt");
    }
    m_size = size;
    Announce(u"Size");
}

void FontObject::SetBold(bool bold)
{
    m_bold = bold;
    Announce(u"Bold");
}

void FontObject::SetItalic(bool italic)
{
    m_italic = italic;
    Announce(u"Italic");
}

void FontObject::SetUnderline(bool underline)
{
    m_underline = underline;
    Announce(u"Underline");
}

void FontObject::SetStrikethrough(bool strikethrough)
{
    m_strikethrough = strikethrough;
    Announce(u"Strikethrough");
}

FontSubscription FontObject::Subscribe(FontChangedHandler handler)
{
    auto shared = std::make_shared<FontChangedHandler>(std::move(handler));
    m_subscribers.push_back(shared);
    return FontSubscription(std::move(shared));
}

std::shared_ptr<FontObject> FontObject::Copy() const
{
    auto copy = std::make_shared<FontObject>();
    copy->m_name = m_name;
    copy->m_size = m_size;
    copy->m_bold = m_bold;
    copy->m_italic = m_italic;
    copy->m_underline = m_underline;
    copy->m_strikethrough = m_strikethrough;
    return copy;
}

bool FontObject::SameAttributes(const FontObject& other) const noexcept
{
    return m_name == other.m_name && m_size == other.m_size && m_bold == other.m_bold &&
           m_italic == other.m_italic && m_underline == other.m_underline &&
           m_strikethrough == other.m_strikethrough;
}

void FontObject::Announce(const Text& attribute)
{
    // A handler may subscribe or end subscriptions while it runs: announce to
    // those that were there when the attribute changed and are still there.
    std::erase_if(m_subscribers, [](const auto& subscriber) { return subscriber.expired(); });
    const auto subscribers = m_subscribers;
    for (const auto& subscriber : subscribers) {
        if (const auto handler = subscriber.lock()) {
            (*handler)(attribute);
        }
    }
}

}  // namespace qv
