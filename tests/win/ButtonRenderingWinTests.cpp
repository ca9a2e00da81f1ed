#include "TestSupport.h"
#include "WindowPixels.h"

#include "button/ButtonWindow_win.h"
#include "host/base/HostError.h"
#include "host/gdi/GdiFont_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/window/Dpi_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qv::test {
namespace {

constexpr std::uint32_t Face = 0xE0D0C0;
constexpr std::uint32_t Green = 0x00A000;
constexpr std::uint32_t Magenta = 0xFF00FF;
constexpr std::uint32_t Red = 0xC81E1E;

// 0x00BBGGRR as the button takes colours, from 0x00RRGGBB as pixels read.
OleColor ColourOf(std::uint32_t pixel)
{
    return RgbColour(static_cast<int>(pixel >> 16), static_cast<int>(pixel >> 8 & 0xFF), static_cast<int>(pixel & 0xFF));
}

std::uint32_t PixelOf(COLORREF colour)
{
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool found = false;
};

// The smallest box around every pixel of that colour.
Box BoundsOf(const PixelImage& image, std::uint32_t colour)
{
    Box box{image.width, image.height, 0, 0, false};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y) == colour) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1), true};
            }
        }
    }
    return box;
}

class ButtonPixels : public ::testing::Test {
protected:
    ButtonPixels()
    {
        ButtonCreateParams params;
        params.container = &container;
        window = &ButtonWindow::Create(parent.Get(), 1, {0, 0, 120, 40}, params);
        b().InitDefaults();
        b().SetCaption(u"");
        b().SetBackColor(ColourOf(Face));
        b().SetForeColor(ColourOf(0x0000FF));
    }

    button& b() { return window->Control(); }
    PixelImage Pixels() { return PrintClient(window->Handle()); }
    PictureRef Keyed() { return OlePicture::Load(ReadWholeFile(TestPictureFolder() / L"keyed.bmp")); }

    // Where the platform puts the caption: measured with the button's own font and parameters.
    SIZE MeasuredCaption(const Text& caption)
    {
        const OwnedMemoryDC dc(CreateCompatibleDC(nullptr));
        const OwnedFont own = CreateFontFor(*b().Font(), DpiOfWindow(window->Handle()));
        const Selection font(dc.Get(), own.Get());
        RECT rect{4, 4, 116, 36};
        DRAWTEXTPARAMS params{20, 1, 1, 1, 0};
        std::wstring text(caption.begin(), caption.end());
        DrawTextExW(dc.Get(), text.data(), static_cast<int>(text.size()), &rect, 0x415, &params);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }

    TestParent parent;
    TestContainer container{u"Knopf", 9};
    ButtonWindow* window = nullptr;
};

TEST_F(ButtonPixels, TheFaceTakesTheColourOfEachState)
{
    b().SetColor_Hover(ColourOf(0x404040));
    b().SetColor_Pressed(ColourOf(0xFF8000));
    const struct {
        bool over;
        bool pressed;
        std::uint32_t face;
    } states[] = {{false, false, Face}, {true, false, 0x404040}, {true, true, 0xFF8000}, {false, true, 0xFF8000}};
    for (const auto& state : states) {
        b().PreviewState(state.over, state.pressed, false);
        const PixelImage image = Pixels();
        EXPECT_EQ(BoundsOf(image, state.face).found, true);
        for (const std::uint32_t pixel : image.pixels) {
            ASSERT_EQ(pixel, state.face) << state.over << state.pressed;
        }
    }
}

TEST_F(ButtonPixels, TheEdgeLightsTheTopAndLeftShadesOneInFromRightAndBottomAndLeavesTheLastRowAndColumn)
{
    b().SetXPShowBorderAlways(true);
    b().Refresh();
    const PixelImage image = Pixels();
    const int W = image.width;
    const int H = image.height;
    const std::uint32_t highlight = PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
    const std::uint32_t shadow = PixelOf(GetSysColor(COLOR_BTNSHADOW));
    ASSERT_NE(highlight, shadow);
    for (int x = 0; x < W; ++x) {
        EXPECT_EQ(image.At(x, 0), highlight) << "top row at " << x;
    }
    for (int y = 0; y < H; ++y) {
        EXPECT_EQ(image.At(0, y), highlight) << "left column at " << y;
    }
    for (int x = 1; x <= W - 2; ++x) {
        EXPECT_EQ(image.At(x, H - 2), shadow) << "row H-2 at " << x;
        EXPECT_EQ(image.At(x, H - 1), Face) << "last row at " << x;
    }
    for (int y = 1; y <= H - 2; ++y) {
        EXPECT_EQ(image.At(W - 2, y), shadow) << "column W-2 at " << y;
        EXPECT_EQ(image.At(W - 1, y), Face) << "last column at " << y;
    }
    EXPECT_EQ(image.At(W - 1, H - 1), Face);
    EXPECT_EQ(image.At(W / 2, H / 2), Face);

    // The same edge in every state, and none without the setting.
    b().PreviewState(true, true, false);
    EXPECT_EQ(Pixels().At(W - 2, 5), shadow);
    b().SetXPShowBorderAlways(false);
    b().PreviewState(false, false, false);
    EXPECT_EQ(Pixels().At(0, 0), Face);
    EXPECT_EQ(Pixels().At(W - 2, 5), Face);
}

TEST_F(ButtonPixels, TheFocusRectangleIsDottedFourPixelsInWhenShown)
{
    b().PreviewState(false, false, true);
    const PixelImage focused = Pixels();
    int changed = 0;
    for (int y = 0; y < focused.height; ++y) {
        for (int x = 0; x < focused.width; ++x) {
            const bool onFrame = ((y == 4 || y == focused.height - 5) && x >= 4 && x <= focused.width - 5) ||
                                 ((x == 4 || x == focused.width - 5) && y >= 4 && y <= focused.height - 5);
            if (focused.At(x, y) != Face) {
                EXPECT_TRUE(onFrame) << x << "," << y;
                ++changed;
            }
        }
    }
    // Dotted: about every other pixel of the frame.
    const int frame = 2 * (focused.width - 8) + 2 * (focused.height - 8);
    EXPECT_GT(changed, frame / 3);
    EXPECT_LT(changed, frame);

    b().SetShowFocusRect(false);
    for (const std::uint32_t pixel : Pixels().pixels) {
        ASSERT_EQ(pixel, Face);
    }
}

TEST_F(ButtonPixels, ThePictureSitsWhereEachArrangementPutsIt)
{
    b().SetMaskColor(ColourOf(Magenta));
    b().SetPicture(Keyed());
    ASSERT_EQ(b().PictureWidth(), 10);
    ASSERT_EQ(b().PictureHeight(), 8);
    const Text caption = u"Ab";
    b().SetCaption(caption);
    const SIZE text = MeasuredCaption(caption);
    const int CW = text.cx;
    const int CH = text.cy;
    // Content (4, 4, 116, 36): 112 x 32. Green starts one row and two columns into the picture.
    const auto half = [](int v) { return v / 2; };
    const struct {
        int position;
        int left;
        int top;
    } cases[] = {
        {0, 4 + half(112 - 10), 4 + half(32 - (8 + 4 + CH))},
        {1, 10, 4 + half(32 - 8)},
        {2, 4 + half(112 - (CW + 4 + 10)) + CW + 4, 4 + half(32 - 8)},
        {3, 4 + half(112 - 10), 4 + half(32 - (CH + 4 + 8)) + CH + 4},
    };
    for (const auto& c : cases) {
        b().SetPicturePosition(c.position);
        const Box green = BoundsOf(Pixels(), Green);
        ASSERT_TRUE(green.found) << c.position;
        EXPECT_EQ(green.left - 2, c.left) << c.position;
        EXPECT_EQ(green.top - 1, c.top) << c.position;
        EXPECT_EQ(green.right - green.left, 8) << c.position;
        EXPECT_EQ(green.bottom - green.top, 7) << c.position;
    }

    b().SetCaption(u"");
    const Box centred = BoundsOf(Pixels(), Green);
    EXPECT_EQ(centred.left - 2, 4 + half(112 - 10));
    EXPECT_EQ(centred.top - 1, 4 + half(32 - 8));
}

TEST_F(ButtonPixels, ThePictureIsScaledToItsDrawnSizeWithTheKeyColourSeeThrough)
{
    b().SetMaskColor(ColourOf(Magenta));
    b().SetPicture(Keyed());
    b().SetPictureWidth(30);
    b().SetPictureHeight(16);
    PixelImage image = Pixels();
    const Box green = BoundsOf(image, Green);
    // Centred 30 x 16 at (45, 12): two black columns become six, the magenta row two.
    EXPECT_EQ(green.left, 45 + 6);
    EXPECT_EQ(green.top, 12 + 2);
    EXPECT_EQ(green.right, 45 + 30);
    EXPECT_EQ(green.bottom, 12 + 16);
    EXPECT_EQ(image.At(45, 20), 0u);
    EXPECT_EQ(image.At(50, 20), 0u);
    EXPECT_EQ(image.At(60, 12), Face);
    EXPECT_EQ(image.At(60, 13), Face);
    EXPECT_FALSE(BoundsOf(image, Magenta).found);

    // The default key is black: the black columns show the face, magenta shows.
    b().SetMaskColor(0);
    image = Pixels();
    EXPECT_EQ(image.At(45, 20), Face);
    EXPECT_EQ(image.At(50, 20), Face);
    EXPECT_EQ(image.At(60, 12), Magenta);
    EXPECT_EQ(BoundsOf(image, Green).left, 51);
}

TEST_F(ButtonPixels, AnIconIsDrawnTooAndADisabledButtonShowsNeitherPictureNorCaption)
{
    b().SetPicture(OlePicture::Load(ReadWholeFile(TestPictureFolder() / L"pattern.ico")));
    b().SetCaption(u"Aus");
    b().SetPicturePosition(1);
    const Box red = BoundsOf(Pixels(), Red);
    ASSERT_TRUE(red.found);
    EXPECT_EQ(red.left, 10);
    EXPECT_EQ(red.right - red.left, 16);

    b().SetXPShowBorderAlways(true);
    b().SetEnabled(false);
    const PixelImage image = Pixels();
    for (int y = 1; y < image.height - 2; ++y) {
        for (int x = 1; x < image.width - 2; ++x) {
            ASSERT_EQ(image.At(x, y), Face) << x << "," << y;
        }
    }
}

TEST_F(ButtonPixels, APictureBoxOverThirtyTwoThousandPixelsOverflows)
{
    b().SetPicture(Keyed());
    try {
        b().SetPictureWidth(32768);
        FAIL() << "no overflow";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::Overflow);
    }
    EXPECT_NO_THROW(b().SetPictureWidth(32767));
}

TEST_F(ButtonPixels, ACaptionOutsideTheAnsiCodePageDrawsAsTheWideTextCallDrawsIt)
{
    const Text caption = u"Grüße Ωμέγα 日本";
    b().SetCaption(caption);
    const PixelImage drawn = Pixels();

    // The same text drawn with DrawTextExW on the same face, in the same font, rectangle and colour.
    const auto reference = [&](bool wide) {
        const Rect at = b().CaptionRect();
        const OwnedFont font = CreateFontFor(*b().Font(), DpiOfWindow(window->Handle()));
        return DrawnPixels(drawn.width, drawn.height, [&](HDC dc) {
            const Selection withFont(dc, font.Get());
            const OwnedBrush face(CreateSolidBrush(ColourOf(Face)));
            const RECT all{0, 0, drawn.width, drawn.height};
            FillRect(dc, &all, face.Get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ColourOf(0x0000FF));
            RECT rect{at.left, at.top, at.right, at.bottom};
            DRAWTEXTPARAMS params{20, 1, 1, 1, 0};
            std::wstring text(caption.begin(), caption.end());
            if (wide) {
                DrawTextExW(dc, text.data(), static_cast<int>(text.size()), &rect, 0x15, &params);
                return;
            }
            char narrow[64] = {};
            const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), narrow,
                                                   sizeof narrow, nullptr, nullptr);
            DrawTextExA(dc, narrow, length, &rect, 0x15, &params);
        });
    };
    EXPECT_EQ(drawn.pixels, reference(true).pixels);
    // Through the ANSI code page the Greek and Japanese letters would be lost.
    EXPECT_NE(drawn.pixels, reference(false).pixels);
}

}  // namespace
}  // namespace qv::test
