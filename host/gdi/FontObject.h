#pragma once
// The platform's font object as controls share it: a name, a size in points
// and four styles, announcing every attribute it is given to its subscribers.
// Shared by reference; the control that holds one follows its changes.

#include "host/base/Text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qv {

// Points as a fixed-point number with four decimals, as the platform's font
// objects keep sizes: 14.25 points are 142500.
struct FontSize {
    static constexpr std::int64_t Scale = 10000;
    std::int64_t tenThousandths = 0;

    double Points() const noexcept { return static_cast<double>(tenThousandths) / Scale; }
    // Rounds to the nearest ten-thousandth.
    static FontSize FromPoints(double points);
    // "14.25", "8", "0.0001": no trailing zeros, no sign, "." as separator.
    Text ToText() const;
    // The form ToText gives, up to four decimals; nothing for anything else.
    static std::optional<FontSize> FromText(const Text& text);

    bool operator==(const FontSize&) const = default;
};

// Called on the UI thread, inside the attribute write that caused it, with
// the attribute's name ("Name", "Size", "Bold", "Italic", "Underline",
// "Strikethrough").
using FontChangedHandler = std::function<void(const Text& PropertyName)>;

// Ends its subscription when it goes.
class FontSubscription {
public:
    FontSubscription() = default;
    FontSubscription(FontSubscription&&) noexcept = default;
    FontSubscription& operator=(FontSubscription&&) noexcept = default;
    ~FontSubscription() = default;

private:
    friend class FontObject;
    explicit FontSubscription(std::shared_ptr<FontChangedHandler> handler) : m_handler(std::move(handler)) {}
    std::shared_ptr<FontChangedHandler> m_handler;
};

class FontObject {
public:
    // A new font object has these attributes, the platform's defaults.
    static constexpr char16_t DefaultName[] = u"MS Sans Serif";
    static constexpr FontSize DefaultSize{82500};
    static constexpr std::size_t MaxNameLength = 31;
    static constexpr FontSize MaxSize{2048 * FontSize::Scale};

    FontObject() = default;
    // Shared by reference only: a copy would announce to the original's subscribers.
    FontObject(const FontObject&) = delete;
    FontObject& operator=(const FontObject&) = delete;

    const Text& Name() const noexcept { return m_name; }
    FontSize Size() const noexcept { return m_size; }
    bool Bold() const noexcept { return m_bold; }
    bool Italic() const noexcept { return m_italic; }
    bool Underline() const noexcept { return m_underline; }
    bool Strikethrough() const noexcept { return m_strikethrough; }

    // A name longer than 31 characters and a size outside 0 to 2048 points
    // (0 excluded) fail with error 380 and change nothing.
    void SetName(const Text& name);
    void SetSize(FontSize size);
    void SetBold(bool bold);
    void SetItalic(bool italic);
    void SetUnderline(bool underline);
    void SetStrikethrough(bool strikethrough);

    // The handler is called until the returned subscription goes.
    [[nodiscard]] FontSubscription Subscribe(FontChangedHandler handler);

    // A new object with the same six attributes and no subscribers.
    std::shared_ptr<FontObject> Copy() const;
    // Same six attributes.
    bool SameAttributes(const FontObject& other) const noexcept;

private:
    void Announce(const Text& attribute);

    Text m_name = DefaultName;
    FontSize m_size = DefaultSize;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikethrough = false;
    std::vector<std::weak_ptr<FontChangedHandler>> m_subscribers;
};

using FontRef = std::shared_ptr<FontObject>;

}  // namespace qv
