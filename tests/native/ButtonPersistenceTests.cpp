#include "ScriptedButtonHost.h"

#include "button/Button.h"
#include "host/base/HostError.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv::test {
namespace {

const char* const SaveOrder[] = {
    "Caption", "PicturePosition", "Picture", "PictureWidth", "PictureHeight", "OriginalPicSizeW",
    "OriginalPicSizeH", "PictureHover", "Enabled", "Font", "MouseIcon", "MousePointer", "ShowFocusRect",
    "Color_Pressed", "Color_Hover", "BackColor", "ForeColor", "SoundOver", "SoundClick", "DefCurHand",
    "XPShowBorderAlways", "MaskColor", "TransparentBG"};

class ButtonPersistence : public ButtonTest {
protected:
    ButtonPersistence()
    {
        container.ambient = MakeFont(u"Segoe UI", 9);
        control.emplace(parts.Host());
        surface.resized = [this] { control->OnResize(); };
        journal.clear();
    }
};

// The values a new instance and an empty store agree on.
void ExpectCommonDefaults(const button& b)
{
    EXPECT_EQ(b.BackColor(), 0x8000000Fu);
    EXPECT_EQ(b.ForeColor(), 0x80000012u);
    EXPECT_TRUE(b.ShowFocusRect());
    EXPECT_EQ(b.Caption(), u"Command1");
    EXPECT_EQ(b.PicturePosition(), 1);
    EXPECT_EQ(b.PictureWidth(), 32);
    EXPECT_EQ(b.PictureHeight(), 32);
    EXPECT_FALSE(b.Picture());
    EXPECT_EQ(b.Color_Pressed(), 0x80FFu);
    EXPECT_EQ(b.Color_Hover(), 0x404040u);
    EXPECT_EQ(b.SoundOver(), Variant(Text(u".\\resources\\over.wav")));
    EXPECT_EQ(b.SoundClick(), u".\\resources\\click.wav");
    EXPECT_FALSE(b.DefCurHand());
    EXPECT_FALSE(b.XPShowBorderAlways());
    EXPECT_EQ(b.MaskColor(), 0u);
    EXPECT_FALSE(b.TransparentBG());
    EXPECT_EQ(b.Font()->Name(), u"Segoe UI");
}

TEST_F(ButtonPersistence, NewInstanceDefaultsComeWithoutNotificationsOrRedrawAndLeaveTheSurfaceColours)
{
    control->InitDefaults();
    EXPECT_EQ(journal, (Journal{"container.AmbientFont", "surface.Font Segoe UI 9", "container.AmbientFont",
                                "container.DisplayName"}));
    const button& b = *control;
    ExpectCommonDefaults(b);
    EXPECT_EQ(b.OriginalPicSizeW(), 0);
    EXPECT_EQ(b.OriginalPicSizeH(), 0);
    ASSERT_TRUE(b.PictureHover());
    ASSERT_TRUE(b.PictureNormal());
    EXPECT_TRUE(b.PictureHover()->IsEmpty());
    EXPECT_TRUE(b.PictureNormal()->IsEmpty());
    EXPECT_NE(b.PictureHover(), b.PictureNormal());
    EXPECT_EQ(surface.backColor, 0u);
    EXPECT_EQ(surface.foreColor, 0u);
    EXPECT_TRUE(container.changed.empty());

    // The button follows the ambient font object it was given.
    journal.clear();
    b.Font()->SetUnderline(true);
    EXPECT_EQ(journal, (Journal{"surface.Font Segoe UI 9", "Refresh"}));
}

TEST_F(ButtonPersistence, LoadingReadsTwentyFiveTimesInItsOrderAndAnnouncesOnlyTheMouseIcon)
{
    ScriptedStore store(journal);
    control->LoadProperties(store);
    EXPECT_EQ(journal, (Journal{
                           "read BackColor", "surface.BackColor 0x8000000F",
                           "read ForeColor", "surface.ForeColor 0x80000012",
                           "read ShowFocusRect",
                           "container.DisplayName", "read Caption",
                           "read PicturePosition",
                           "read Picture",
                           "read PictureWidth", "read PictureHeight", "read OriginalPicSizeW", "read OriginalPicSizeH",
                           "container.AmbientFont", "read Font", "surface.Font Segoe UI 9",
                           "container.AmbientFont", "read Font",
                           "read PictureHover",
                           "read Picture",
                           "read MouseIcon", "surface.MouseIcon nothing", "PropertyChanged MouseIcon",
                           "read Enabled", "surface.Enabled true",
                           "read MousePointer", "surface.MousePointer 0",
                           "read Color_Pressed", "read Color_Hover", "read SoundOver", "read SoundClick",
                           "read DefCurHand", "read XPShowBorderAlways", "read MaskColor", "read TransparentBG",
                           "Refresh"}));
    EXPECT_EQ(container.changed, (std::vector<Text>{u"MouseIcon"}));
}

TEST_F(ButtonPersistence, AnEmptyStoreGivesTheKeyDefaultsWhichDifferFromANewInstance)
{
    ScriptedStore store(journal);
    control->LoadProperties(store);
    const button& b = *control;
    ExpectCommonDefaults(b);
    EXPECT_FALSE(b.PictureNormal());
    EXPECT_FALSE(b.PictureHover());
    EXPECT_EQ(b.OriginalPicSizeW(), 32);
    EXPECT_EQ(b.OriginalPicSizeH(), 32);
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.MousePointer(), 0);
    EXPECT_FALSE(b.MouseIcon());
    EXPECT_EQ(surface.backColor, 0x8000000Fu);
    EXPECT_EQ(surface.foreColor, 0x80000012u);
    EXPECT_EQ(surface.font->Name(), u"Segoe UI");
    // The surface and the button hold different objects with the same attributes.
    EXPECT_NE(b.Font(), surface.Font());
}

TEST_F(ButtonPersistence, SavingWritesTheTwentyThreeKeysInOrderWithTheirDefaultsAndChangesNothing)
{
    control->InitDefaults();
    journal.clear();
    ScriptedStore store(journal);
    control->SaveProperties(store);

    ASSERT_EQ(store.order.size(), 23u);
    for (std::size_t i = 0; i < 23; ++i) {
        EXPECT_EQ(Utf8FromText(store.order[i]), SaveOrder[i]);
    }
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Refresh"), 0);
    EXPECT_TRUE(container.changed.empty());

    // A new instance saved at once keeps its own sizes and has no picture.
    EXPECT_EQ(store.values[u"OriginalPicSizeW"], Variant(std::int32_t{0}));
    EXPECT_EQ(store.values[u"Picture"], Variant(PictureRef()));
    EXPECT_EQ(store.values[u"Enabled"], Variant(true));
    EXPECT_EQ(store.values[u"MousePointer"], Variant(std::int16_t{0}));
    EXPECT_EQ(store.values[u"BackColor"], Variant(static_cast<std::int32_t>(0x8000000F)));
    EXPECT_EQ(store.values[u"ShowFocusRect"], Variant(true));
    const auto font = std::get<FontRef>(store.values[u"Font"]);
    EXPECT_EQ(font->Name(), u"Segoe UI");

    // The defaults are those a load reads with, in their narrow types.
    EXPECT_EQ(store.defaults[u"Caption"], Variant(Text(u"Command1")));
    EXPECT_EQ(store.defaults[u"PicturePosition"], Variant(std::int16_t{1}));
    EXPECT_EQ(store.defaults[u"ShowFocusRect"], Variant(std::int16_t{1}));
    EXPECT_EQ(store.defaults[u"Enabled"], Variant(true));
    EXPECT_EQ(store.defaults[u"MaskColor"], Variant(std::int16_t{0}));
    EXPECT_EQ(store.defaults[u"ForeColor"], Variant(static_cast<std::int32_t>(0x80000012)));
    EXPECT_EQ(std::get<FontRef>(store.defaults[u"Font"])->Name(), u"Segoe UI");

    // Loaded again, the normal picture is nothing and the sizes stay 0.
    control->LoadProperties(store);
    EXPECT_FALSE(control->PictureNormal());
    EXPECT_EQ(control->OriginalPicSizeW(), 0);
}

TEST_F(ButtonPersistence, EveryPropertySurvivesASaveAndALoadIntoAnotherButton)
{
    button& b = *control;
    b.InitDefaults();
    b.SetCaption(u"Grüße \u65E5\u672C");
    b.SetPicturePosition(3);
    b.SetPicture(MakePicture(2540, 1270));
    b.SetPictureWidth(20);
    b.SetPictureHeight(30);
    b.SetPictureHover(MakePicture(500, 600));
    b.SetEnabled(false);
    b.SetFont(MakeFont(u"Courier New", 11.5, true, false, true, false));
    b.SetMouseIcon(MakePicture(847, 847));
    b.SetMousePointer(99);
    b.SetShowFocusRect(false);
    b.SetColor_Pressed(0x010203);
    b.SetColor_Hover(0x80000010);
    b.SetBackColor(0xFFFFFF);
    b.SetForeColor(0);
    b.SetSoundOver(std::int16_t{7});
    b.SetSoundClick(u"C:\\Töne\\klick.wav");
    b.SetDefCurHand(true);
    b.SetXPShowBorderAlways(true);
    b.SetMaskColor(0xFF00FF);
    b.SetTransparentBG(true);

    ScriptedStore store(journal);
    b.SaveProperties(store);

    ScriptedButtonParts other;
    ScriptedSurface& otherSurface = other.surface;
    button copy(other.Host());
    copy.LoadProperties(store);

    EXPECT_EQ(copy.Caption(), b.Caption());
    EXPECT_EQ(copy.PicturePosition(), 3);
    EXPECT_EQ(copy.Picture(), b.Picture());
    EXPECT_EQ(copy.PictureNormal(), b.Picture());
    EXPECT_EQ(copy.PictureWidth(), 20);
    EXPECT_EQ(copy.PictureHeight(), 30);
    EXPECT_EQ(copy.OriginalPicSizeW(), 96);
    EXPECT_EQ(copy.OriginalPicSizeH(), 48);
    EXPECT_EQ(copy.PictureHover(), b.PictureHover());
    EXPECT_FALSE(copy.Enabled());
    EXPECT_TRUE(copy.Font()->SameAttributes(*b.Font()));
    EXPECT_TRUE(otherSurface.font->SameAttributes(*b.Font()));
    EXPECT_EQ(copy.MouseIcon(), b.MouseIcon());
    EXPECT_EQ(copy.MousePointer(), 99);
    EXPECT_FALSE(copy.ShowFocusRect());
    EXPECT_EQ(copy.Color_Pressed(), 0x010203u);
    EXPECT_EQ(copy.Color_Hover(), 0x80000010u);
    EXPECT_EQ(copy.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(otherSurface.backColor, 0xFFFFFFu);
    EXPECT_EQ(copy.ForeColor(), 0u);
    EXPECT_EQ(copy.SoundOver(), Variant(Text(u"7")));
    EXPECT_EQ(copy.SoundClick(), b.SoundClick());
    EXPECT_TRUE(copy.DefCurHand());
    EXPECT_TRUE(copy.XPShowBorderAlways());
    EXPECT_EQ(copy.MaskColor(), 0xFF00FFu);
    EXPECT_TRUE(copy.TransparentBG());
    EXPECT_EQ(copy.version(), u"030102-15");
}

TEST_F(ButtonPersistence, AStoredPointerOutsideSixteenBitsEndsTheLoadThereKeepingWhatCameBefore)
{
    ScriptedStore store(journal);
    store.values[u"Caption"] = Text(u"Abbrechen");
    store.values[u"Enabled"] = false;
    store.values[u"MouseIcon"] = MakePicture(100, 100);
    store.values[u"MousePointer"] = std::int32_t{40000};
    store.values[u"Color_Pressed"] = std::int32_t{0x00FF00};
    try {
        control->LoadProperties(store);
        FAIL() << "no error";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::Overflow);
        EXPECT_NE(error.Description().find(u"\u201EMousePointer\u201C"), Text::npos);
        EXPECT_NE(error.Description().find(u"40000"), Text::npos);
    }
    EXPECT_EQ(control->Caption(), u"Abbrechen");
    EXPECT_FALSE(control->Enabled());
    EXPECT_TRUE(control->MouseIcon());
    EXPECT_EQ(control->MousePointer(), 0);
    EXPECT_EQ(control->Color_Pressed(), 0u);
    EXPECT_EQ(journal.back(), "read MousePointer");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Refresh"), 0);
}

TEST_F(ButtonPersistence, AStoredValueOfTheWrongTypeEndsTheLoadNamingItsKey)
{
    struct Case {
        const char16_t* key;
        Variant value;
        std::int32_t number;
    };
    const Case cases[] = {
        {u"Caption", std::int32_t{5}, ErrorNumber::TypeMismatch},
        {u"PictureWidth", Text(u"32"), ErrorNumber::TypeMismatch},
        {u"ShowFocusRect", Text(u"ja"), ErrorNumber::TypeMismatch},
        {u"Picture", true, ErrorNumber::TypeMismatch},
        {u"Font", PictureRef(), ErrorNumber::TypeMismatch},
        {u"BackColor", MakePicture(1, 1), ErrorNumber::TypeMismatch},
    };
    for (const Case& c : cases) {
        ScriptedButtonParts fresh;
        Journal& j = fresh.journal;
        button b(fresh.Host());
        ScriptedStore store(j);
        store.values[c.key] = c.value;
        try {
            b.LoadProperties(store);
            ADD_FAILURE() << Utf8FromText(c.key);
        } catch (const HostError& error) {
            EXPECT_EQ(error.Number(), c.number) << Utf8FromText(c.key);
            EXPECT_NE(error.Description().find(u"\u201E" + Text(c.key) + u"\u201C"), Text::npos)
                << Utf8FromText(error.Description());
        }
        EXPECT_EQ(j.back(), "read " + Utf8FromText(c.key));
    }

    // Truth values load from integers, non-zero being true.
    ScriptedStore store(journal);
    store.values[u"ShowFocusRect"] = std::int32_t{0};
    store.values[u"DefCurHand"] = std::int16_t{-1};
    store.values[u"Enabled"] = std::int32_t{2};
    control->LoadProperties(store);
    EXPECT_FALSE(control->ShowFocusRect());
    EXPECT_TRUE(control->DefCurHand());
    EXPECT_TRUE(control->Enabled());
}

}  // namespace
}  // namespace qv::test
