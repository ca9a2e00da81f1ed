#include "host/base/Base64.h"
#include "host/base/CheckedMath.h"
#include "host/base/HostError.h"
#include "host/base/Units.h"
#include "host/gdi/FontObject.h"
#include "host/store/Variant.h"

#include <gtest/gtest.h>

#include <random>

namespace qv {
namespace {

TEST(Units, EveryConversionRoundsToTheNearestPixelHalvesAwayFromZero)
{
    EXPECT_EQ(HimetricToPixels(1270, 96), 48);
    EXPECT_EQ(HimetricToPixels(635, 96), 24);
    EXPECT_EQ(HimetricToPixels(847, 96), 32);
    EXPECT_EQ(HimetricToPixels(1270, 144), 72);
    // 2540 / 96 * 0.5 HIMETRIC is exactly half a pixel.
    EXPECT_EQ(HimetricToPixels(2540 * 5, 192), 960);
    EXPECT_EQ(PixelsToHimetric(32, 96), 847);
    EXPECT_EQ(TwipsToPixels(7575, 144), 758);
    EXPECT_EQ(TwipsToPixels(-7575, 144), -758);
    EXPECT_EQ(PixelsToTwips(10, 96), 150);
    EXPECT_EQ(PixelsToTwips(10, 144), 100);
    EXPECT_EQ(PointsToPixels(14.25, 96), 19);
    EXPECT_EQ(PointsToPixels(14.25, 144), 29);
    EXPECT_THROW(PixelsToHimetric(2147483647, 96), HostError);
}

TEST(CheckedMath, ResultsOutsideTheirWidthOverflowInsteadOfWrapping)
{
    EXPECT_EQ(CheckedAdd(2147483646, 1), 2147483647);
    EXPECT_EQ(CheckedSub(-2147483647, 1), -2147483647 - 1);
    EXPECT_THROW(CheckedAdd(2147483647, 1), HostError);
    EXPECT_THROW(CheckedSub(-2147483647 - 1, 1), HostError);
    EXPECT_EQ(CheckedInt16(-32768), -32768);
    try {
        CheckedInt16(32768);
        FAIL() << "no error";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
    EXPECT_EQ(HalfTowardZero(-5), -2);
    EXPECT_EQ(HalfTowardZero(5), 2);
    EXPECT_EQ(HalfTowardZero(-2147483647 - 1), -1073741824);
}

TEST(Base64, EncodesWithPaddingAndDecodesOnlyWhatItWouldEncode)
{
    const auto bytes = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    EXPECT_EQ(Base64Encode(bytes("")), "");
    EXPECT_EQ(Base64Encode(bytes("f")), "Zg==");
    EXPECT_EQ(Base64Encode(bytes("fo")), "Zm8=");
    EXPECT_EQ(Base64Encode(bytes("foo")), "Zm9v");
    EXPECT_EQ(Base64Encode(bytes("\xFB\xFF")), "+/8=");
    EXPECT_EQ(Base64Decode("Zm9vYg=="), bytes("foob"));
    for (const char* bad : {"Zg", "Zg=", "Z===", "Zh==", "Zm9=", "Zg==Zg==", "Zm9v\n", "Zm 9", "Zm8-"}) {
        EXPECT_FALSE(Base64Decode(bad)) << bad;
    }
    std::mt19937 random(7);
    for (int length = 0; length < 40; ++length) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
        for (auto& byte : data) {
            byte = static_cast<std::uint8_t>(random());
        }
        EXPECT_EQ(Base64Decode(Base64Encode(data)), data);
    }
}

TEST(FontSize, KeepsFourDecimalsAndWritesThemWithoutTrailingZeros)
{
    EXPECT_EQ(FontSize::FromPoints(14.25).tenThousandths, 142500);
    EXPECT_EQ(FontSize::FromPoints(8.33333).ToText(), u"8.3333");
    EXPECT_EQ(FontSize{80000}.ToText(), u"8");
    EXPECT_EQ(FontSize{1}.ToText(), u"0.0001");
    EXPECT_EQ(FontSize::FromText(u"14.25"), FontSize{142500});
    EXPECT_EQ(FontSize::FromText(u"0.0001"), FontSize{1});
    for (const char16_t* bad : {u"", u".5", u"5.", u"8,25", u"-8", u"1.23456", u"8 ", u"1e3", u"0x10"}) {
        EXPECT_FALSE(FontSize::FromText(bad)) << Utf8FromText(bad);
    }
}

TEST(FontObject, AnnouncesEveryAttributeWriteToItsSubscribersUntilTheyGo)
{
    FontObject font;
    EXPECT_EQ(font.Name(), u"MS Sans Serif");
    EXPECT_EQ(font.Size(), (FontSize{82500}));
    std::vector<Text> heard;
    FontSubscription subscription = font.Subscribe([&](const Text& name) { heard.push_back(name); });
    font.SetName(u"Tahoma");
    font.SetSize(FontSize{90000});
    font.SetBold(true);
    font.SetItalic(false);
    font.SetUnderline(true);
    font.SetStrikethrough(false);
    EXPECT_EQ(heard, (std::vector<Text>{u"Name", u"Size", u"Bold", u"Italic", u"Underline", u"Strikethrough"}));

    heard.clear();
    EXPECT_THROW(font.SetSize(FontSize{0}), HostError);
    EXPECT_THROW(font.SetSize(FontSize{2048 * 10000 + 1}), HostError);
    EXPECT_THROW(font.SetName(Text(32, u'x')), HostError);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(font.Name(), u"Tahoma");

    const FontRef copy = font.Copy();
    EXPECT_TRUE(copy->SameAttributes(font));
    copy->SetBold(false);
    EXPECT_TRUE(heard.empty());

    subscription = {};
    font.SetBold(false);
    EXPECT_TRUE(heard.empty());
}

TEST(FontObject, AHandlerMayEndItsOwnSubscriptionWhileAnnounced)
{
    FontObject font;
    int first = 0;
    int second = 0;
    FontSubscription b;
    FontSubscription a = font.Subscribe([&](const Text&) {
        ++first;
        b = {};
    });
    b = font.Subscribe([&](const Text&) { ++second; });
    font.SetBold(true);
    font.SetBold(false);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 0);
}

TEST(Variant, TextFormsFollowThePlatformsConversion)
{
    EXPECT_EQ(VariantToText(std::int16_t{-5}), u"-5");
    EXPECT_EQ(VariantToText(std::int32_t{2147483647}), u"2147483647");
    EXPECT_EQ(VariantToText(0.1), u"0.1");
    EXPECT_EQ(VariantToText(1e21), u"1e+21");
    EXPECT_EQ(VariantToText(false), u"False");
    EXPECT_EQ(VariantToText(Variant{}), u"");
    EXPECT_THROW(VariantToText(std::make_shared<FontObject>()), HostError);
    EXPECT_THROW(VariantToText(PictureRef()), HostError);
    EXPECT_EQ(TypeNameOf(PictureRef()), u"Nothing");
    EXPECT_EQ(TypeNameOf(Text()), u"Text");
}

}  // namespace
}  // namespace qv
