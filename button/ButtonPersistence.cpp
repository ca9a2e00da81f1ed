#include "Button.h"

#include "host/CheckedMath.h"
#include "host/HostError.h"

#include <array>

namespace qv {

// The 23 stored properties, in the order saving writes them: each key with
// the type its value is written as, the default for reading and writing it,
// and where saving takes the value from.
class ButtonPersistence {
public:
    enum class Stored { Int32, Int16, Boolean, Text, Picture, Font };
    enum class DefaultFrom { Value, DisplayName, AmbientFont };

    struct Key {
        const char16_t* name;
        Stored type;
        DefaultFrom from;
        Variant value;
        Variant (*saved)(const button&);
    };

    enum Index {
        Caption, PicturePosition, Picture, PictureWidth, PictureHeight, OriginalPicSizeW, OriginalPicSizeH,
        PictureHover, Enabled, Font, MouseIcon, MousePointer, ShowFocusRect, Color_Pressed, Color_Hover, BackColor,
        ForeColor, SoundOver, SoundClick, DefCurHand, XPShowBorderAlways, MaskColor, TransparentBG, Count
    };

    static const std::array<Key, Count>& Keys();

    static void InitDefaults(button& b);
    static void Load(button& b, PropertyStore& store);
    static void Save(button& b, PropertyStore& store);

private:
    static Variant DefaultOf(button& b, const Key& key);
    // The value as the type its key is stored as; Overflow or a type
    // mismatch, naming the key, when it cannot be.
    static Variant Converted(const Variant& value, Index index);
    template <typename T>
    static T Default(button& b, Index index)
    {
        return std::get<T>(Converted(DefaultOf(b, Keys()[index]), index));
    }
    template <typename T>
    static T Read(button& b, PropertyStore& store, Index index)
    {
        const Key& key = Keys()[index];
        return std::get<T>(Converted(store.ReadProperty(key.name, DefaultOf(b, key)), index));
    }
};

namespace {

Variant Colour(OleColor colour)
{
    return static_cast<std::int32_t>(colour);
}

}  // namespace

const std::array<ButtonPersistence::Key, ButtonPersistence::Count>& ButtonPersistence::Keys()
{
    using S = Stored;
    using D = DefaultFrom;
    const auto i16 = [](int value) { return Variant(static_cast<std::int16_t>(value)); };
    static const std::array<Key, Count> keys{{
        {u"Caption", S::Text, D::DisplayName, {}, [](const button& b) { return Variant(b.m_caption); }},
        {u"PicturePosition", S::Int32, D::Value, i16(1), [](const button& b) { return Variant(b.m_picturePosition); }},
        {u"Picture", S::Picture, D::Value, PictureRef(), [](const button& b) { return Variant(b.m_picture); }},
        {u"PictureWidth", S::Int32, D::Value, i16(32), [](const button& b) { return Variant(b.m_pictureWidth); }},
        {u"PictureHeight", S::Int32, D::Value, i16(32), [](const button& b) { return Variant(b.m_pictureHeight); }},
        {u"OriginalPicSizeW", S::Int32, D::Value, i16(32),
         [](const button& b) { return Variant(b.m_originalPicSizeW); }},
        {u"OriginalPicSizeH", S::Int32, D::Value, i16(32),
         [](const button& b) { return Variant(b.m_originalPicSizeH); }},
        {u"PictureHover", S::Picture, D::Value, PictureRef(), [](const button& b) { return Variant(b.m_pictureHover); }},
        {u"Enabled", S::Boolean, D::Value, true, [](const button& b) { return Variant(b.m_surface.Enabled()); }},
        {u"Font", S::Font, D::AmbientFont, {}, [](const button& b) { return Variant(b.m_surface.Font()); }},
        {u"MouseIcon", S::Picture, D::Value, PictureRef(), [](const button& b) { return Variant(b.MouseIcon()); }},
        {u"MousePointer", S::Int16, D::Value, i16(0),
         [](const button& b) { return Variant(b.m_surface.MousePointer()); }},
        {u"ShowFocusRect", S::Boolean, D::Value, i16(1), [](const button& b) { return Variant(b.m_showFocusRect); }},
        {u"Color_Pressed", S::Int32, D::Value, Colour(0x80FF), [](const button& b) { return Colour(b.m_colorPressed); }},
        {u"Color_Hover", S::Int32, D::Value, Colour(0x404040), [](const button& b) { return Colour(b.m_colorHover); }},
        {u"BackColor", S::Int32, D::Value, Colour(0x8000000F), [](const button& b) { return Colour(b.m_backColor); }},
        {u"ForeColor", S::Int32, D::Value, Colour(0x80000012), [](const button& b) { return Colour(b.m_foreColor); }},
        {u"SoundOver", S::Text, D::Value, Text(u".\\resources\\over.wav"),
         [](const button& b) { return Variant(b.m_soundOver); }},
        {u"SoundClick", S::Text, D::Value, Text(u".\\resources\\click.wav"),
         [](const button& b) { return Variant(b.m_soundClick); }},
        {u"DefCurHand", S::Boolean, D::Value, i16(0), [](const button& b) { return Variant(b.m_defCurHand); }},
        {u"XPShowBorderAlways", S::Boolean, D::Value, i16(0),
         [](const button& b) { return Variant(b.m_xpShowBorderAlways); }},
        {u"MaskColor", S::Int32, D::Value, i16(0), [](const button& b) { return Colour(b.m_maskColor); }},
        {u"TransparentBG", S::Boolean, D::Value, i16(0), [](const button& b) { return Variant(b.m_transparentBG); }},
    }};
    return keys;
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
    return key.value;
}

Variant ButtonPersistence::Converted(const Variant& value, Index index)
{
    const Key& key = Keys()[index];
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

void ButtonPersistence::InitDefaults(button& b)
{
    b.m_backColor = static_cast<OleColor>(Default<std::int32_t>(b, BackColor));
    b.m_foreColor = static_cast<OleColor>(Default<std::int32_t>(b, ForeColor));
    b.m_showFocusRect = Default<bool>(b, ShowFocusRect);
    b.m_surface.SetFont(*Default<FontRef>(b, Font));
    b.AdoptFont(Default<FontRef>(b, Font));
    b.StoreCaption(Default<Text>(b, Caption));
    b.m_picturePosition = Default<std::int32_t>(b, PicturePosition);
    b.m_pictureWidth = Default<std::int32_t>(b, PictureWidth);
    b.m_pictureHeight = Default<std::int32_t>(b, PictureHeight);
    // A new instance differs from an empty store here: it has empty pictures
    // where the store has nothing.
    b.m_pictureHover = b.m_pictures.LoadPicture({});
    b.g_PictureNormal = b.m_pictures.LoadPicture({});
    b.m_colorPressed = static_cast<OleColor>(Default<std::int32_t>(b, Color_Pressed));
    b.m_colorHover = static_cast<OleColor>(Default<std::int32_t>(b, Color_Hover));
    b.m_soundOver = Default<Text>(b, SoundOver);
    b.m_soundClick = Default<Text>(b, SoundClick);
    b.m_defCurHand = Default<bool>(b, DefCurHand);
    b.m_xpShowBorderAlways = Default<bool>(b, XPShowBorderAlways);
    b.m_maskColor = static_cast<OleColor>(Default<std::int32_t>(b, MaskColor));
    b.m_transparentBG = Default<bool>(b, TransparentBG);
}

void ButtonPersistence::Load(button& b, PropertyStore& store)
{
    b.m_backColor = static_cast<OleColor>(Read<std::int32_t>(b, store, BackColor));
    b.m_surface.SetBackColor(b.m_backColor);
    b.m_foreColor = static_cast<OleColor>(Read<std::int32_t>(b, store, ForeColor));
    b.m_surface.SetForeColor(b.m_foreColor);
    b.m_showFocusRect = Read<bool>(b, store, ShowFocusRect);
    b.StoreCaption(Read<Text>(b, store, Caption));
    b.m_picturePosition = Read<std::int32_t>(b, store, PicturePosition);
    // Stored as it is: the sizes come from the store too.
    b.m_picture = Read<PictureRef>(b, store, Picture);
    b.m_pictureWidth = Read<std::int32_t>(b, store, PictureWidth);
    b.m_pictureHeight = Read<std::int32_t>(b, store, PictureHeight);
    b.m_originalPicSizeW = Read<std::int32_t>(b, store, OriginalPicSizeW);
    b.m_originalPicSizeH = Read<std::int32_t>(b, store, OriginalPicSizeH);
    b.m_surface.SetFont(*Read<FontRef>(b, store, Font));
    b.AdoptFont(Read<FontRef>(b, store, Font));
    b.m_pictureHover = Read<PictureRef>(b, store, PictureHover);
    b.g_PictureNormal = Read<PictureRef>(b, store, Picture);
    b.SetMouseIcon(Read<PictureRef>(b, store, MouseIcon));
    b.m_surface.SetEnabled(Read<bool>(b, store, Enabled));
    b.m_surface.SetMousePointer(Read<std::int16_t>(b, store, MousePointer));
    b.m_colorPressed = static_cast<OleColor>(Read<std::int32_t>(b, store, Color_Pressed));
    b.m_colorHover = static_cast<OleColor>(Read<std::int32_t>(b, store, Color_Hover));
    b.m_soundOver = Read<Text>(b, store, SoundOver);
    b.m_soundClick = Read<Text>(b, store, SoundClick);
    b.m_defCurHand = Read<bool>(b, store, DefCurHand);
    b.m_xpShowBorderAlways = Read<bool>(b, store, XPShowBorderAlways);
    b.m_maskColor = static_cast<OleColor>(Read<std::int32_t>(b, store, MaskColor));
    b.m_transparentBG = Read<bool>(b, store, TransparentBG);
    b.OnResize();
}

void ButtonPersistence::Save(button& b, PropertyStore& store)
{
    for (const Key& key : Keys()) {
        store.WriteProperty(key.name, key.saved(b), DefaultOf(b, key));
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
