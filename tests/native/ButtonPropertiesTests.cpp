#include "ScriptedButtonHost.h"

#include "button/Button.h"
#include "button/ButtonMnemonic.h"
#include "host/base/HostError.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace qv::test {
namespace {

class ButtonProperties : public ButtonTest {
protected:
    ButtonProperties()
    {
        Create();
        journal.clear();
    }

    void Create()
    {
        control.emplace(parts.Host());
        surface.resized = [this] { control->OnResize(); };
    }
};

TEST_F(ButtonProperties, CreationGivesADefaultFontAPixelSurfaceAndNothingElse)
{
    ScriptedButtonParts fresh;
    const button b(fresh.Host());
    EXPECT_EQ(fresh.journal, (Journal{"surface.ScaleMode 3", "surface.StretchMode 3"}));
    EXPECT_EQ(fresh.timer.interval, 10);
    EXPECT_FALSE(fresh.timer.enabled);
    EXPECT_EQ(b.Font()->Name(), u"MS Sans Serif");
    EXPECT_EQ(b.Font()->Size().ToText(), u"8.25");
    EXPECT_FALSE(b.Font()->Bold());
    EXPECT_EQ(b.Caption(), u"");
    EXPECT_EQ(b.BackColor(), 0u);
    EXPECT_EQ(b.PictureWidth(), 0);
    EXPECT_EQ(b.OriginalPicSizeW(), 0);
    EXPECT_FALSE(b.Picture());
    EXPECT_FALSE(b.PictureHover());
    EXPECT_FALSE(b.PictureNormal());
    EXPECT_FALSE(b.ShowFocusRect());
    EXPECT_EQ(std::get<Text>(b.SoundOver()), u"");
}

struct SetterCase {
    const char* name;
    std::function<void(button&)> assign;
    Journal expected;
};

TEST_F(ButtonProperties, EverySetterStoresThenNotifiesThenRedrawsOnlyWhereThePropertyShows)
{
    const PictureRef picture = MakePicture(1270, 635);
    const std::vector<SetterCase> cases = {
        {"Enabled", [](button& b) { b.SetEnabled(false); },
         {"surface.Enabled false", "PropertyChanged Enabled", "Refresh"}},
        {"MousePointer", [](button& b) { b.SetMousePointer(11); },
         {"surface.MousePointer 11", "PropertyChanged MousePointer"}},
        {"MouseIcon", [&](button& b) { b.SetMouseIcon(picture); },
         {"surface.MouseIcon picture", "PropertyChanged MouseIcon"}},
        {"ShowFocusRect", [](button& b) { b.SetShowFocusRect(false); }, {"PropertyChanged ShowFocusRect", "Refresh"}},
        {"Caption", [](button& b) { b.SetCaption(u"Weiter"); }, {"PropertyChanged Caption", "Refresh"}},
        {"PicturePosition", [](button& b) { b.SetPicturePosition(7); }, {"PropertyChanged PicturePosition", "Refresh"}},
        {"Picture", [&](button& b) { b.SetPicture(picture); }, {"PropertyChanged Picture", "Refresh"}},
        {"PictureWidth", [](button& b) { b.SetPictureWidth(-3); }, {"PropertyChanged PictureWidth", "Refresh"}},
        {"PictureHeight", [](button& b) { b.SetPictureHeight(99999); }, {"PropertyChanged PictureHeight", "Refresh"}},
        {"PictureHover", [&](button& b) { b.SetPictureHover(picture); }, {"PropertyChanged PictureHover"}},
        {"Color_Pressed", [](button& b) { b.SetColor_Pressed(0xFF); }, {"PropertyChanged Color_Pressed"}},
        {"Color_Hover", [](button& b) { b.SetColor_Hover(0xFF00); }, {"PropertyChanged Color_Hover"}},
        {"BackColor", [](button& b) { b.SetBackColor(0x80000005); },
         {"PropertyChanged BackColor", "surface.BackColor 0x80000005", "Refresh"}},
        {"ForeColor", [](button& b) { b.SetForeColor(0x123456); },
         {"PropertyChanged ForeColor", "surface.ForeColor 0x123456", "Refresh"}},
        {"SoundOver", [](button& b) { b.SetSoundOver(Text(u"a.wav")); }, {"PropertyChanged SoundOver"}},
        {"SoundClick", [](button& b) { b.SetSoundClick(u"b.wav"); }, {"PropertyChanged SoundClick"}},
        {"version", [](button& b) { b.Setversion(u"999"); }, {}},
        {"DefCurHand", [](button& b) { b.SetDefCurHand(true); }, {"PropertyChanged DefCurHand"}},
        {"XPShowBorderAlways", [](button& b) { b.SetXPShowBorderAlways(true); },
         {"PropertyChanged XPShowBorderAlways"}},
        {"MaskColor", [](button& b) { b.SetMaskColor(0xFF00FF); }, {"PropertyChanged MaskColor", "Refresh"}},
        {"TransparentBG", [](button& b) { b.SetTransparentBG(true); }, {"PropertyChanged TransparentBG", "Refresh"}},
    };
    for (const SetterCase& setter : cases) {
        journal.clear();
        setter.assign(*control);
        EXPECT_EQ(journal, setter.expected) << setter.name;
    }

    EXPECT_FALSE(control->Enabled());
    EXPECT_EQ(control->MousePointer(), 11);
    EXPECT_EQ(control->MouseIcon(), picture);
    EXPECT_FALSE(control->ShowFocusRect());
    EXPECT_EQ(control->Caption(), u"Weiter");
    EXPECT_EQ(control->PicturePosition(), 7);
    EXPECT_EQ(control->Picture(), picture);
    EXPECT_EQ(control->PictureNormal(), picture);
    EXPECT_EQ(control->PictureWidth(), -3);
    EXPECT_EQ(control->PictureHeight(), 99999);
    EXPECT_EQ(control->PictureHover(), picture);
    EXPECT_EQ(control->Color_Pressed(), 0xFFu);
    EXPECT_EQ(control->Color_Hover(), 0xFF00u);
    EXPECT_EQ(control->BackColor(), 0x80000005u);
    EXPECT_EQ(surface.backColor, 0x80000005u);
    EXPECT_EQ(control->ForeColor(), 0x123456u);
    EXPECT_EQ(surface.foreColor, 0x123456u);
    EXPECT_EQ(std::get<Text>(control->SoundOver()), u"a.wav");
    EXPECT_EQ(control->SoundClick(), u"b.wav");
    EXPECT_EQ(control->version(), u"030102-15");
    EXPECT_TRUE(control->DefCurHand());
    EXPECT_TRUE(control->XPShowBorderAlways());
    EXPECT_EQ(control->MaskColor(), 0xFF00FFu);
    EXPECT_TRUE(control->TransparentBG());
    EXPECT_EQ(control->hwnd(), 0x1234);
}

TEST_F(ButtonProperties, APictureTakesItsNaturalSizeAtTheSurfacesDensityAndNothingKeepsTheDrawnSize)
{
    std::vector<std::int32_t> widthWhenNotified;
    container.onChanged = [&](const Text&) { widthWhenNotified.push_back(control->PictureWidth()); };

    control->SetPictureWidth(100);
    control->SetPicture(MakePicture(1270, 635));
    EXPECT_EQ(control->OriginalPicSizeW(), 48);
    EXPECT_EQ(control->OriginalPicSizeH(), 24);
    EXPECT_EQ(control->PictureWidth(), 48);
    EXPECT_EQ(control->PictureHeight(), 24);
    // The drawn size follows the notification, the natural size comes before it.
    EXPECT_EQ(widthWhenNotified, (std::vector<std::int32_t>{100, 100}));

    control->SetPicture(nullptr);
    EXPECT_EQ(control->OriginalPicSizeW(), 32);
    EXPECT_EQ(control->OriginalPicSizeH(), 32);
    EXPECT_EQ(control->PictureWidth(), 48);
    EXPECT_EQ(control->PictureHeight(), 24);
    EXPECT_FALSE(control->PictureNormal());

    control->SetPicture(pictures.LoadPicture({}));
    EXPECT_EQ(control->OriginalPicSizeW(), 0);
    EXPECT_EQ(control->OriginalPicSizeH(), 0);
    EXPECT_EQ(control->PictureWidth(), 0);
    EXPECT_EQ(control->PictureHeight(), 0);

    surface.dpi = 144;
    control->SetPicture(MakePicture(1270, 635));
    EXPECT_EQ(control->OriginalPicSizeW(), 72);
    EXPECT_EQ(control->OriginalPicSizeH(), 36);
    EXPECT_EQ(control->PictureWidth(), 72);
    EXPECT_EQ(control->PictureHeight(), 36);

    // 13 HIMETRIC at 96 dpi are 0.49 pixels, 14 are 0.53: rounded to the nearest pixel.
    surface.dpi = 96;
    control->SetPicture(MakePicture(13, 14));
    EXPECT_EQ(control->OriginalPicSizeW(), 0);
    EXPECT_EQ(control->OriginalPicSizeH(), 1);
}

TEST_F(ButtonProperties, FontCopiesSixAttributesIntoTheSameObjectRedrawingOncePerAttribute)
{
    const FontRef own = control->Font();
    const FontRef argument = MakeFont(u"Tahoma", 14.25, true, true, false, true);
    journal.clear();
    control->SetFont(argument);

    EXPECT_EQ(control->Font(), own);
    EXPECT_TRUE(own->SameAttributes(*argument));
    EXPECT_TRUE(surface.font->SameAttributes(*argument));
    ASSERT_EQ(journal.size(), 13u);
    for (std::size_t i = 0; i < 12; i += 2) {
        EXPECT_EQ(journal[i].rfind("surface.Font", 0), 0u) << i;
        EXPECT_EQ(journal[i + 1], "Refresh") << i;
    }
    EXPECT_EQ(journal[0], "surface.Font Tahoma 8.25");
    EXPECT_EQ(journal[2], "surface.Font Tahoma 14.25");
    EXPECT_EQ(journal.back(), "PropertyChanged Font");

    journal.clear();
    argument->SetName(u"Arial");
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(own->Name(), u"Tahoma");

    // The button follows changes of its own font object.
    own->SetItalic(false);
    EXPECT_EQ(journal, (Journal{"surface.Font Tahoma 14.25", "Refresh"}));
    EXPECT_FALSE(surface.font->Italic());
}

TEST_F(ButtonProperties, FontWithNothingFailsBeforeAnythingIsCopied)
{
    try {
        control->SetFont(nullptr);
        FAIL() << "no error";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::ObjectMissing);
    }
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(control->Font()->Name(), u"MS Sans Serif");
}

TEST_F(ButtonProperties, MousePointerOutsideSixteenBitsOverflowsBeforeTheSurfaceIsTouched)
{
    control->SetMousePointer(99);
    journal.clear();
    for (const std::int32_t value : {32768, -32769, 2147483647}) {
        try {
            control->SetMousePointer(value);
            FAIL() << value;
        } catch (const HostError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::Overflow) << value;
            EXPECT_EQ(error.Description(), u"Overflow");
        }
    }
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(control->MousePointer(), 99);

    // A shape the surface does not know fails there, and is not announced.
    EXPECT_THROW(control->SetMousePointer(16), HostError);
    EXPECT_EQ(journal, (Journal{"surface.MousePointer 16"}));
    EXPECT_EQ(control->MousePointer(), 99);
}

TEST_F(ButtonProperties, SoundOverKeepsTheTextFormOfAnyValueAndRefusesValuesWithout)
{
    control->SetSoundOver(std::int32_t{5});
    EXPECT_EQ(control->SoundOver(), Variant(Text(u"5")));
    control->SetSoundOver(-1.5);
    EXPECT_EQ(control->SoundOver(), Variant(Text(u"-1.5")));
    control->SetSoundOver(true);
    EXPECT_EQ(control->SoundOver(), Variant(Text(u"True")));
    control->SetSoundOver(Variant{});
    EXPECT_EQ(control->SoundOver(), Variant(Text(u"")));

    journal.clear();
    EXPECT_THROW(control->SetSoundOver(MakePicture(1, 1)), HostError);
    EXPECT_THROW(control->SetSoundOver(control->Font()), HostError);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(control->SoundOver(), Variant(Text(u"")));
}

TEST_F(ButtonProperties, AReplacedOrReleasedFontNoLongerReachesTheButton)
{
    const FontRef first = control->Font();
    ScriptedStore store(journal);
    control->LoadProperties(store);
    ASSERT_NE(control->Font(), first);

    journal.clear();
    first->SetBold(true);
    EXPECT_TRUE(journal.empty());

    const FontRef second = control->Font();
    control.reset();
    second->SetBold(true);
    EXPECT_TRUE(journal.empty());
}

TEST_F(ButtonProperties, ResizeKeepsTenPixelsAtLeastAndPlacesTheFocusRectangleFourPixelsIn)
{
    surface.width = 3;
    surface.height = 40;
    control->OnResize();
    EXPECT_EQ(surface.width, 10);
    EXPECT_EQ(surface.height, 40);
    EXPECT_EQ(control->FocusRect(), (Rect{4, 4, 6, 36}));
    // The width is set in twips (150, that is 10 pixels at 96 dpi); the size
    // notification that follows runs the handler again inside.
    EXPECT_EQ(journal, (Journal{"surface.Width 150", "Refresh", "Refresh"}));

    journal.clear();
    surface.width = 120;
    surface.height = 0;
    control->OnResize();
    EXPECT_EQ(surface.height, 10);
    EXPECT_EQ(control->FocusRect(), (Rect{4, 4, 116, 6}));
    EXPECT_EQ(journal, (Journal{"surface.Height 150", "Refresh", "Refresh"}));
}

}  // namespace
TEST(ButtonMnemonic, TheLetterAfterASingleAmpersandIsTheMnemonicAndTheCaptionReadsWithoutIt)
{
    EXPECT_EQ(CaptionAsRead(u"&Speichern"), u"Speichern");
    EXPECT_EQ(CaptionAsRead(u"Laden && &Speichern"), u"Laden & Speichern");
    EXPECT_EQ(CaptionAsRead(u"Ende&"), u"Ende");
    EXPECT_EQ(MnemonicOf(u"&Speichern"), u'S');
    EXPECT_EQ(MnemonicOf(u"Sch&lie\u00DFen"), u'L');
    EXPECT_EQ(MnemonicOf(u"\u00E4&\u00FCber"), u'\u00DC');
    EXPECT_EQ(MnemonicOf(u"A && B"), std::nullopt);
    EXPECT_EQ(MnemonicOf(u"Ende&"), std::nullopt);
}

}  // namespace qv::test
