#include "Button.h"

#include "host/base/CheckedMath.h"
#include "host/base/HostError.h"
#include "host/gdi/PictureFormat.h"

#include <array>
#include <cstdlib>
#include <new>
#include <span>

namespace qv {

// The 23 stored properties, in the order saving writes them: each key with
// the type its value is written as, the default for reading and writing it,
// and where saving takes the value from. Loading and a new instance's defaults
// go through the same keys, each in an order of its own.
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

    // Puts a key's value, converted to its stored type, where it belongs.
    using Apply = void (*)(button&, const Variant&);
    // Refuses a loaded value that the button could not draw with, or not in
    // bounded time; the button keeps the value it had.
    using Check = void (*)(const button&, const Variant&, const Text& key);
    struct Step {
        Index key;
        // Null: where the key's value goes by default (Stores).
        Apply apply = nullptr;
        // A new instance has an empty picture here, where the store has nothing.
        bool emptyPicture = false;
        Check check = nullptr;
    };

    static const std::array<Key, Count>& Keys();

    static void InitDefaults(button& b);
    static void Load(button& b, PropertyStore& store);
    static void Save(button& b, PropertyStore& store);

private:
    static std::span<const Step> DefaultSteps();
    static std::span<const Step> LoadSteps();
    static Apply Stores(Index key);
    // The font's attributes on the surface; the font object itself goes to g_Font in a step of its own.
    static void FontToSurface(button& b, const Variant& v);
    static void NormalPicture(button& b, const Variant& v);
    static Variant DefaultOf(button& b, const Key& key);
    // The value as the type its key is stored as; Overflow or a type
    // mismatch, naming the key, when it cannot be.
    static Variant Converted(Variant value, Index index);
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
    return CopyOf(key.value);
}

Variant ButtonPersistence::Converted(Variant value, Index index)
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

namespace {

OleColor ColourOf(const Variant& value)
{
    return static_cast<OleColor>(std::get<std::int32_t>(value));
}

// A picture drawn at width x height: each side fits the drawing's 16 bits,
// and the image is no larger than a picture may be.
void CheckPictureArea(std::int32_t width, std::int32_t height, std::int32_t stored, const Text& key)
{
    const auto outside = [](std::int32_t side) { return side < -32768 || side > 32767; };
    if (outside(stored)) {
        throw StoredValueError(ErrorNumber::Overflow, key,
                               u"Overflow: " + DecimalText(stored) + u" liegt außerhalb von -32768 bis 32767");
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(width))) *
                                 static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
    if (!outside(width) && !outside(height) && pixels > MostPicturePixels) {
        throw StoredValueError(ErrorNumber::Overflow, key,
                               u"Overflow: " + DecimalText(width) + u" \u00D7 " + DecimalText(height) +
                                   u" Bildpunkte sind mehr als " + DecimalText(static_cast<std::int64_t>(MostPicturePixels)));
    }
}

std::int32_t Int32Of(const Variant& value)
{
    return std::get<std::int32_t>(value);
}

}  // namespace

ButtonPersistence::Apply ButtonPersistence::Stores(Index key)
{
    switch (key) {
    case Caption:
        return [](button& b, const Variant& v) { b.StoreCaption(std::get<Text>(v)); };
    case PicturePosition:
        return [](button& b, const Variant& v) { b.m_picturePosition = Int32Of(v); };
    case Picture:
        return [](button& b, const Variant& v) { b.m_picture = std::get<PictureRef>(v); };
    case PictureWidth:
        return [](button& b, const Variant& v) { b.m_pictureWidth = Int32Of(v); };
    case PictureHeight:
        return [](button& b, const Variant& v) { b.m_pictureHeight = Int32Of(v); };
    case OriginalPicSizeW:
        return [](button& b, const Variant& v) { b.m_originalPicSizeW = Int32Of(v); };
    case OriginalPicSizeH:
        return [](button& b, const Variant& v) { b.m_originalPicSizeH = Int32Of(v); };
    case PictureHover:
        return [](button& b, const Variant& v) { b.m_pictureHover = std::get<PictureRef>(v); };
    case Enabled:
        return [](button& b, const Variant& v) { b.m_surface.SetEnabled(std::get<bool>(v)); };
    case Font:
        return [](button& b, const Variant& v) { b.AdoptFont(std::get<FontRef>(v)); };
    case MouseIcon:
        return [](button& b, const Variant& v) { b.SetMouseIcon(std::get<PictureRef>(v)); };
    case MousePointer:
        return [](button& b, const Variant& v) { b.m_surface.SetMousePointer(std::get<std::int16_t>(v)); };
    case ShowFocusRect:
        return [](button& b, const Variant& v) { b.m_showFocusRect = std::get<bool>(v); };
    case Color_Pressed:
        return [](button& b, const Variant& v) { b.m_colorPressed = ColourOf(v); };
    case Color_Hover:
        return [](button& b, const Variant& v) { b.m_colorHover = ColourOf(v); };
    case BackColor:
        return [](button& b, const Variant& v) { b.m_backColor = ColourOf(v); };
    case ForeColor:
        return [](button& b, const Variant& v) { b.m_foreColor = ColourOf(v); };
    case SoundOver:
        return [](button& b, const Variant& v) { b.m_soundOver = std::get<Text>(v); };
    case SoundClick:
        return [](button& b, const Variant& v) { b.m_soundClick = std::get<Text>(v); };
    case DefCurHand:
        return [](button& b, const Variant& v) { b.m_defCurHand = std::get<bool>(v); };
    case XPShowBorderAlways:
        return [](button& b, const Variant& v) { b.m_xpShowBorderAlways = std::get<bool>(v); };
    case MaskColor:
        return [](button& b, const Variant& v) { b.m_maskColor = ColourOf(v); };
    case TransparentBG:
        return [](button& b, const Variant& v) { b.m_transparentBG = std::get<bool>(v); };
    case Count:
        break;
    }
    return nullptr;
}

namespace {

// Wrapping a caption costs the square of its length at every redraw.
void CheckCaption(const button&, const Variant& v, const Text& key)
{
    const std::size_t length = std::get<Text>(v).size();
    if (length > button::MostStoredCaptionLength) {
        throw StoredValueError(ErrorNumber::InvalidPropertyValue, key,
                               u"Ungültiger Eigenschaftswert: " + DecimalText(static_cast<std::int64_t>(length)) +
                                   u" Zeichen sind mehr als " +
                                   DecimalText(static_cast<std::int64_t>(button::MostStoredCaptionLength)));
    }
}

}  // namespace

void ButtonPersistence::FontToSurface(button& b, const Variant& v)
{
    b.m_surface.SetFont(*std::get<FontRef>(v));
}

void ButtonPersistence::NormalPicture(button& b, const Variant& v)
{
    b.g_PictureNormal = std::get<PictureRef>(v);
}

std::span<const ButtonPersistence::Step> ButtonPersistence::DefaultSteps()
{
    static const Step steps[] = {
        {BackColor}, {ForeColor}, {ShowFocusRect}, {Font, &FontToSurface}, {Font}, {Caption}, {PicturePosition},
        {PictureWidth}, {PictureHeight}, {PictureHover, nullptr, true}, {Picture, &NormalPicture, true},
        {Color_Pressed}, {Color_Hover}, {SoundOver}, {SoundClick}, {DefCurHand}, {XPShowBorderAlways}, {MaskColor},
        {TransparentBG},
    };
    return steps;
}

std::span<const ButtonPersistence::Step> ButtonPersistence::LoadSteps()
{
    const auto pictureSize = [](Index key) -> Check {
        switch (key) {
        case PictureWidth:
            return [](const button& b, const Variant& v, const Text& name) {
                CheckPictureArea(Int32Of(v), b.m_pictureHeight, Int32Of(v), name);
            };
        case PictureHeight:
            return [](const button& b, const Variant& v, const Text& name) {
                CheckPictureArea(b.m_pictureWidth, Int32Of(v), Int32Of(v), name);
            };
        case OriginalPicSizeW:
            return [](const button& b, const Variant& v, const Text& name) {
                CheckPictureArea(Int32Of(v), b.m_originalPicSizeH, Int32Of(v), name);
            };
        default:
            return [](const button& b, const Variant& v, const Text& name) {
                CheckPictureArea(b.m_originalPicSizeW, Int32Of(v), Int32Of(v), name);
            };
        }
    };
    static const Step steps[] = {
        {BackColor,
         [](button& b, const Variant& v) {
             b.m_backColor = ColourOf(v);
             b.m_surface.SetBackColor(b.m_backColor);
         }},
        {ForeColor,
         [](button& b, const Variant& v) {
             b.m_foreColor = ColourOf(v);
             b.m_surface.SetForeColor(b.m_foreColor);
         }},
        {ShowFocusRect},
        {Caption, nullptr, false, &CheckCaption},
        {PicturePosition},
        // Stored as it is: the sizes come from the store too.
        {Picture},
        {PictureWidth, nullptr, false, pictureSize(PictureWidth)},
        {PictureHeight, nullptr, false, pictureSize(PictureHeight)},
        {OriginalPicSizeW, nullptr, false, pictureSize(OriginalPicSizeW)},
        {OriginalPicSizeH, nullptr, false, pictureSize(OriginalPicSizeH)},
        {Font, &FontToSurface},
        {Font},
        {PictureHover},
        {Picture, &NormalPicture},
        {MouseIcon}, {Enabled}, {MousePointer}, {Color_Pressed}, {Color_Hover}, {SoundOver}, {SoundClick},
        {DefCurHand}, {XPShowBorderAlways}, {MaskColor}, {TransparentBG},
    };
    return steps;
}

void ButtonPersistence::InitDefaults(button& b)
{
    for (const Step& step : DefaultSteps()) {
        const Apply apply = step.apply ? step.apply : Stores(step.key);
        apply(b, step.emptyPicture ? Variant(b.m_pictures.LoadPicture({}))
                                   : Converted(DefaultOf(b, Keys()[step.key]), step.key));
    }
}

void ButtonPersistence::Load(button& b, PropertyStore& store)
{
    try {
        for (const Step& step : LoadSteps()) {
            const Key& key = Keys()[step.key];
            const Variant value = Converted(store.ReadProperty(key.name, DefaultOf(b, key)), step.key);
            if (step.check) {
                step.check(b, value, key.name);
            }
            (step.apply ? step.apply : Stores(step.key))(b, value);
        }
        b.OnResize();
    } catch (const std::bad_alloc&) {
        throw HostError(ErrorNumber::OutOfMemory, u"Nicht genügend Speicher, um die Eigenschaften zu laden");
    }
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
