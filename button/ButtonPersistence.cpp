#include "Button.h"
#include "ButtonLimits.h"

#include "host/base/CheckedMath.h"
#include "host/base/HostError.h"

#include <array>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace qv {

// The stored keys, one row each, in the order saving writes them. A row says
// the key's name, the type its value is stored as, its default, where saving
// takes the value from and where loading and the defaults put it, and what
// loading refuses. Loading and a new instance's defaults go through the same
// rows in orders of their own, which name a key's row and where a step puts
// its value when that is not the row's place.
class ButtonPersistence {
public:
    enum class Stored { Int32, Int16, Boolean, Text, Picture, Font };
    enum class DefaultFrom { Value, DisplayName, AmbientFont };

    using Get = Variant (*)(const button&);
    // Takes a value already converted to the key's stored type.
    using Put = void (*)(button&, const Variant&);
    // Refuses a loaded value that the button could not draw with, or not in
    // bounded time, naming `key`; the button keeps the value it had.
    using Check = void (*)(const button&, const Variant&, const Text& key);

    struct Place {
        Get get;
        Put put;
    };

    struct Key {
        const char16_t* name;
        Stored type;
        DefaultFrom from;
        Variant value;
        Place place;
        Check check = nullptr;
        // The width this height is drawn with: loading checks the two
        // together, and applies neither when it refuses them.
        const char16_t* widthOfPair = nullptr;
    };

    struct Step {
        const char16_t* key;
        // Null: the row's own place.
        Put put = nullptr;
        // A new instance has an empty picture here, where the store has nothing.
        bool emptyPicture = false;
    };

    static void InitDefaults(button& b);
    static void Load(button& b, PropertyStore& store);
    static void Save(button& b, PropertyStore& store);

private:
    static std::span<const Key> Keys();
    static std::span<const Step> LoadOrder();
    static std::span<const Step> DefaultOrder();
    static const Key& KeyNamed(const char16_t* name);

    // A field of the button that holds the key's value as it is stored.
    template <auto Field>
    static constexpr Place FieldPlace();

    static void CheckCaption(const button&, const Variant& v, const Text& key);
    static void CheckSide(const button&, const Variant& v, const Text& key);

    static void BackColorAndSurface(button& b, const Variant& v);
    static void ForeColorAndSurface(button& b, const Variant& v);
    // The font's attributes on the surface; the font object itself goes to g_Font in a step of its own.
    static void FontToSurface(button& b, const Variant& v);
    static void NormalPicture(button& b, const Variant& v);

    static Variant DefaultOf(button& b, const Key& key);
    // Puts a value where the step says, or where its key's row does.
    static void Apply(button& b, const Step& step, const Variant& value);
    // The value as the type its key is stored as; Overflow or a type
    // mismatch, naming the key, when it cannot be.
    static Variant Converted(Variant value, const Key& key);
};

namespace {

Variant Colour(OleColor colour)
{
    return static_cast<std::int32_t>(colour);
}

Variant Small(int value)
{
    return static_cast<std::int16_t>(value);
}

std::int32_t Int32Of(const Variant& value)
{
    return std::get<std::int32_t>(value);
}

}  // namespace

template <auto Field>
constexpr ButtonPersistence::Place ButtonPersistence::FieldPlace()
{
    using Value = std::remove_cvref_t<decltype(std::declval<button&>().*Field)>;
    if constexpr (std::is_same_v<Value, OleColor>) {
        // Colours are stored as the 32-bit integers they are.
        return {[](const button& b) { return Colour(b.*Field); },
                [](button& b, const Variant& v) { b.*Field = static_cast<OleColor>(Int32Of(v)); }};
    } else {
        return {[](const button& b) { return Variant(b.*Field); },
                [](button& b, const Variant& v) { b.*Field = std::get<Value>(v); }};
    }
}

std::span<const ButtonPersistence::Key> ButtonPersistence::Keys()
{
    using S = Stored;
    using D = DefaultFrom;
    static const Key keys[] = {
        {u"Caption", S::Text, D::DisplayName, {},
         {[](const button& b) { return Variant(b.m_caption); },
          [](button& b, const Variant& v) { b.StoreCaption(std::get<Text>(v)); }},
         &CheckCaption},
        {u"PicturePosition", S::Int32, D::Value, Small(1), FieldPlace<&button::m_picturePosition>()},
        // Stored as it is: the sizes come from the store too.
        // While the hover picture is shown in its place, the normal one is what a file keeps.
        {u"Picture", S::Picture, D::Value, PictureRef(),
         {[](const button& b) { return Variant(b.m_hoverPictureShown ? b.g_PictureNormal : b.m_picture); },
          FieldPlace<&button::m_picture>().put}},
        {u"PictureWidth", S::Int32, D::Value, Small(32), FieldPlace<&button::m_pictureWidth>(), &CheckSide},
        {u"PictureHeight", S::Int32, D::Value, Small(32), FieldPlace<&button::m_pictureHeight>(), &CheckSide,
         u"PictureWidth"},
        {u"OriginalPicSizeW", S::Int32, D::Value, Small(32), FieldPlace<&button::m_originalPicSizeW>(), &CheckSide},
        {u"OriginalPicSizeH", S::Int32, D::Value, Small(32), FieldPlace<&button::m_originalPicSizeH>(), &CheckSide,
         u"OriginalPicSizeW"},
        {u"PictureHover", S::Picture, D::Value, PictureRef(), FieldPlace<&button::m_pictureHover>()},
        {u"Enabled", S::Boolean, D::Value, true,
         {[](const button& b) { return Variant(b.m_surface.Enabled()); },
          [](button& b, const Variant& v) { b.m_surface.SetEnabled(std::get<bool>(v)); }}},
        {u"Font", S::Font, D::AmbientFont, {},
         {[](const button& b) { return Variant(b.m_surface.Font()); },
          [](button& b, const Variant& v) { b.AdoptFont(std::get<FontRef>(v)); }}},
        // Through the property, which tells the container.
        {u"MouseIcon", S::Picture, D::Value, PictureRef(),
         {[](const button& b) { return Variant(b.MouseIcon()); },
          [](button& b, const Variant& v) { b.SetMouseIcon(std::get<PictureRef>(v)); }}},
        {u"MousePointer", S::Int16, D::Value, Small(0),
         {[](const button& b) { return Variant(b.m_surface.MousePointer()); },
          [](button& b, const Variant& v) { b.m_surface.SetMousePointer(std::get<std::int16_t>(v)); }}},
        {u"ShowFocusRect", S::Boolean, D::Value, Small(1), FieldPlace<&button::m_showFocusRect>()},
        {u"Color_Pressed", S::Int32, D::Value, Colour(0x80FF), FieldPlace<&button::m_colorPressed>()},
        {u"Color_Hover", S::Int32, D::Value, Colour(0x404040), FieldPlace<&button::m_colorHover>()},
        {u"BackColor", S::Int32, D::Value, Colour(0x8000000F), FieldPlace<&button::m_backColor>()},
        {u"ForeColor", S::Int32, D::Value, Colour(0x80000012), FieldPlace<&button::m_foreColor>()},
        {u"SoundOver", S::Text, D::Value, Text(u".\\resources\\over.wav"), FieldPlace<&button::m_soundOver>()},
        {u"SoundClick", S::Text, D::Value, Text(u".\\resources\\click.wav"), FieldPlace<&button::m_soundClick>()},
        {u"DefCurHand", S::Boolean, D::Value, Small(0), FieldPlace<&button::m_defCurHand>()},
        {u"XPShowBorderAlways", S::Boolean, D::Value, Small(0), FieldPlace<&button::m_xpShowBorderAlways>()},
        {u"MaskColor", S::Int32, D::Value, Small(0), FieldPlace<&button::m_maskColor>()},
        {u"TransparentBG", S::Boolean, D::Value, Small(0), FieldPlace<&button::m_transparentBG>()},
    };
    return keys;
}

std::span<const ButtonPersistence::Step> ButtonPersistence::LoadOrder()
{
    static const Step steps[] = {
        {u"BackColor", &BackColorAndSurface},
        {u"ForeColor", &ForeColorAndSurface},
        {u"ShowFocusRect"},
        {u"Caption"},
        {u"PicturePosition"},
        {u"Picture"},
        {u"PictureWidth"},
        {u"PictureHeight"},
        {u"OriginalPicSizeW"},
        {u"OriginalPicSizeH"},
        {u"Font", &FontToSurface},
        {u"Font"},
        {u"PictureHover"},
        {u"Picture", &NormalPicture},
        {u"MouseIcon"},
        {u"Enabled"},
        {u"MousePointer"},
        {u"Color_Pressed"},
        {u"Color_Hover"},
        {u"SoundOver"},
        {u"SoundClick"},
        {u"DefCurHand"},
        {u"XPShowBorderAlways"},
        {u"MaskColor"},
        {u"TransparentBG"},
    };
    return steps;
}

// Keys without a step keep what the surface and the button's construction gave them.
std::span<const ButtonPersistence::Step> ButtonPersistence::DefaultOrder()
{
    static const Step steps[] = {
        {u"BackColor"},
        {u"ForeColor"},
        {u"ShowFocusRect"},
        {u"Font", &FontToSurface},
        {u"Font"},
        {u"Caption"},
        {u"PicturePosition"},
        {u"PictureWidth"},
        {u"PictureHeight"},
        {u"PictureHover", nullptr, true},
        {u"Picture", &NormalPicture, true},
        {u"Color_Pressed"},
        {u"Color_Hover"},
        {u"SoundOver"},
        {u"SoundClick"},
        {u"DefCurHand"},
        {u"XPShowBorderAlways"},
        {u"MaskColor"},
        {u"TransparentBG"},
    };
    return steps;
}

const ButtonPersistence::Key& ButtonPersistence::KeyNamed(const char16_t* name)
{
    for (const Key& key : Keys()) {
        if (std::u16string_view(key.name) == name) {
            return key;
        }
    }
    throw std::logic_error("a step names a key that has no row");
}

void ButtonPersistence::CheckCaption(const button&, const Variant& v, const Text& key)
{
    CheckCaptionLength(std::get<Text>(v).size(), key);
}

void ButtonPersistence::CheckSide(const button&, const Variant& v, const Text& key)
{
    CheckPictureSide(Int32Of(v), key);
}

void ButtonPersistence::BackColorAndSurface(button& b, const Variant& v)
{
    b.m_backColor = static_cast<OleColor>(Int32Of(v));
    b.m_surface.SetBackColor(b.m_backColor);
}

void ButtonPersistence::ForeColorAndSurface(button& b, const Variant& v)
{
    b.m_foreColor = static_cast<OleColor>(Int32Of(v));
    b.m_surface.SetForeColor(b.m_foreColor);
}

void ButtonPersistence::FontToSurface(button& b, const Variant& v)
{
    b.m_surface.SetFont(*std::get<FontRef>(v));
}

void ButtonPersistence::NormalPicture(button& b, const Variant& v)
{
    b.g_PictureNormal = std::get<PictureRef>(v);
}

Variant ButtonPersistence::DefaultOf(button& b, const Key& key)
{
    switch (key.from) {
    case DefaultFrom::DisplayName:
        return b.m_container.DisplayName();
    case DefaultFrom::AmbientFont:
        return b.m_container.AmbientFont();
    case DefaultFrom::Value:
        break;
    }
    return CopyOf(key.value);
}

Variant ButtonPersistence::Converted(Variant value, const Key& key)
{
    const auto mismatch = [&](const Text& expected) {
        return StoredValueError(ErrorNumber::TypeMismatch, key.name,
                                u"Typen unverträglich: erwartet " + expected + u", gespeichert ist " + TypeNameOf(value));
    };
    const std::int32_t* large = std::get_if<std::int32_t>(&value);
    const std::int16_t* small = std::get_if<std::int16_t>(&value);
    switch (key.type) {
    case Stored::Int32:
        if (large || small) {
            return large ? *large : std::int32_t{*small};
        }
        throw mismatch(u"Ganzzahl");
    case Stored::Int16:
        if (small) {
            return *small;
        }
        if (large) {
            try {
                return CheckedInt16(*large);
            } catch (const HostError& error) {
                throw StoredValueError(error.Number(), key.name,
                                       u"Overflow: " + DecimalText(*large) + u" liegt außerhalb von -32768 bis 32767");
            }
        }
        throw mismatch(u"Ganzzahl");
    case Stored::Boolean:
        if (const auto* truth = std::get_if<bool>(&value)) {
            return *truth;
        }
        if (large || small) {
            return (large ? *large : *small) != 0;
        }
        throw mismatch(u"Wahrheitswert");
    case Stored::Text:
        if (std::holds_alternative<Text>(value)) {
            return value;
        }
        throw mismatch(u"Text");
    case Stored::Picture:
        if (std::holds_alternative<PictureRef>(value)) {
            return value;
        }
        throw mismatch(u"Bild");
    case Stored::Font:
        if (const auto* font = std::get_if<FontRef>(&value); font && *font) {
            return value;
        }
        throw mismatch(u"Schrift");
    }
    throw mismatch(u"?");
}

void ButtonPersistence::Apply(button& b, const Step& step, const Variant& value)
{
    (step.put ? step.put : KeyNamed(step.key).place.put)(b, value);
}

void ButtonPersistence::InitDefaults(button& b)
{
    for (const Step& step : DefaultOrder()) {
        const Key& key = KeyNamed(step.key);
        Apply(b, step, step.emptyPicture ? Variant(b.m_pictures.LoadPicture({})) : Converted(DefaultOf(b, key), key));
    }
}

void ButtonPersistence::Load(button& b, PropertyStore& store)
{
    try {
        const std::span<const Step> steps = LoadOrder();
        // A width read but not yet applied: it waits for its height.
        std::optional<std::pair<const Step*, Variant>> width;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            const Key& key = KeyNamed(step.key);
            Variant value = Converted(store.ReadProperty(key.name, DefaultOf(b, key)), key);
            if (key.check) {
                key.check(b, value, key.name);
            }
            const Key* next = i + 1 < steps.size() ? &KeyNamed(steps[i + 1].key) : nullptr;
            if (next && next->widthOfPair && std::u16string_view(next->widthOfPair) == key.name) {
                width.emplace(&step, std::move(value));
                continue;
            }
            if (key.widthOfPair && width) {
                CheckPictureSize(Int32Of(width->second), Int32Of(value), KeyNamed(width->first->key).name, key.name);
                Apply(b, *width->first, width->second);
                width.reset();
            }
            Apply(b, step, value);
        }
        b.OnResize();
    } catch (const std::bad_alloc&) {
        throw HostError(ErrorNumber::OutOfMemory, u"Nicht genügend Speicher, um die Eigenschaften zu laden");
    }
}

void ButtonPersistence::Save(button& b, PropertyStore& store)
{
    for (const Key& key : Keys()) {
        store.WriteProperty(key.name, key.place.get(b), DefaultOf(b, key));
    }
}

void button::InitDefaults()
{
    ButtonPersistence::InitDefaults(*this);
}

void button::LoadProperties(PropertyStore& store)
{
    ButtonPersistence::Load(*this, store);
}

void button::SaveProperties(PropertyStore& store)
{
    ButtonPersistence::Save(*this, store);
}

}  // namespace qv
