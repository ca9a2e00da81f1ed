#include "launcher/ScaleSmooth.h"
#include "launcher/WindowLayout.h"

#include "host/base/HostError.h"
#include "host/base/Units.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qv {
namespace {

TEST(WindowLayoutTest, At96DpiEveryElementSitsOnItsOwnPixels)
{
    const WindowLayout layout = LayoutForDpi(96);
    EXPECT_EQ(layout.client, (PixelBox{0, 0, 505, 281}));
    EXPECT_EQ(layout.lbl_Titel2, (PixelBox{24, 24, 456, 23}));
    EXPECT_EQ(layout.Label1, (PixelBox{24, 56, 456, 23}));
    EXPECT_EQ(layout.img_Logo, (PixelBox{176, 88, 161, 141}));
    EXPECT_EQ(layout.lbl_Status, (PixelBox{24, 240, 456, 23}));
    EXPECT_EQ(layout.frameWidth, 1);
    EXPECT_EQ(layout.fontPixels, 19);
    EXPECT_EQ(layout.statusRoom, (PixelBox{24, 229, 456, 51}));
}

TEST(WindowLayoutTest, OtherDensitiesScaleByDpiOver96RoundingHalvesUp)
{
    const WindowLayout at144 = LayoutForDpi(144);
    EXPECT_EQ(at144.client, (PixelBox{0, 0, 758, 422}));
    EXPECT_EQ(at144.img_Logo, (PixelBox{264, 132, 242, 212}));
    EXPECT_EQ(at144.lbl_Status, (PixelBox{36, 360, 684, 35}));
    EXPECT_EQ(at144.fontPixels, 29);
    EXPECT_EQ(at144.frameWidth, 1);

    const WindowLayout at192 = LayoutForDpi(192);
    EXPECT_EQ(at192.client, (PixelBox{0, 0, 1010, 562}));
    EXPECT_EQ(at192.frameWidth, 2);
    EXPECT_EQ(at192.fontPixels, 38);

    EXPECT_EQ(LayoutForDpi(120).client, (PixelBox{0, 0, 631, 351}));
    EXPECT_EQ(TwipsToPixels(-7575, 144), -758);
}

TEST(WindowLayoutTest, NoVisibleElementsOverlapAndAllStayInsideTheFrameAtCommonDensities)
{
    for (const int dpi : {96, 120, 144, 168, 192, 288}) {
        const WindowLayout l = LayoutForDpi(dpi);
        const PixelBox boxes[] = {l.lbl_Titel2, l.Label1, l.img_Logo, l.lbl_Status};
        for (const PixelBox& box : boxes) {
            EXPECT_GE(box.left, l.frameWidth) << dpi;
            EXPECT_GE(box.top, l.frameWidth) << dpi;
            EXPECT_LE(box.Right(), l.client.Right() - l.frameWidth) << dpi;
            EXPECT_LE(box.Bottom(), l.client.Bottom() - l.frameWidth) << dpi;
        }
        for (std::size_t i = 1; i < std::size(boxes); ++i) {
            EXPECT_LE(boxes[i - 1].Bottom(), boxes[i].top) << dpi << " element " << i;
        }
        EXPECT_GE(l.statusRoom.top, l.img_Logo.Bottom()) << dpi;
        EXPECT_LE(l.statusRoom.Bottom(), l.client.Bottom() - l.frameWidth) << dpi;
    }
}

TEST(WindowLayoutTest, AWrappedStatusGrowsByWholeLinesInsideItsRoomOnly)
{
    const WindowLayout l = LayoutForDpi(96);
    EXPECT_EQ(GrowToFit(l.lbl_Status, l.statusRoom, 23, 23), l.lbl_Status);
    EXPECT_EQ(GrowToFit(l.lbl_Status, l.statusRoom, 0, 23), l.lbl_Status);
    // At 144 dpi the font's line is 36 pixels in a 35-pixel box: one line still stays put.
    const WindowLayout big = LayoutForDpi(144);
    EXPECT_EQ(GrowToFit(big.lbl_Status, big.statusRoom, 36, 36), big.lbl_Status);

    const PixelBox twoLines = GrowToFit(l.lbl_Status, l.statusRoom, 46, 23);
    EXPECT_EQ(twoLines, (PixelBox{24, 231, 456, 46}));

    // Five lines do not fit: the room holds two whole ones and no part of a third.
    EXPECT_EQ(GrowToFit(l.lbl_Status, l.statusRoom, 115, 23), twoLines);

    // A line taller than the room leaves the label as it is.
    EXPECT_EQ(GrowToFit(l.lbl_Status, l.statusRoom, 120, 60), l.lbl_Status);

    const PixelBox scaled = GrowToFit(big.lbl_Status, big.statusRoom, 72, 36);
    EXPECT_EQ(scaled.height, 72);
    EXPECT_GE(scaled.top, big.img_Logo.Bottom());
    EXPECT_LE(scaled.Bottom(), big.client.Bottom() - big.frameWidth);
}

PixelImage Filled(int width, int height, std::uint32_t colour)
{
    return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, colour)};
}

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

TEST(PixelImageTest, TheSameSizeGivesBackTheSamePixels)
{
    PixelImage image = Filled(7, 5, 0);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    }
    EXPECT_EQ(ScaleSmooth(image, 7, 5).pixels, image.pixels);
}

TEST(PixelImageTest, AnEvenColourStaysEvenAtAnySize)
{
    const PixelImage blue = Filled(161, 141, 0x154E9D);
    for (const auto& [w, h] : {std::pair{242, 212}, std::pair{80, 70}, std::pair{1, 1}, std::pair{483, 423}}) {
        const PixelImage scaled = ScaleSmooth(blue, w, h);
        ASSERT_EQ(scaled.pixels.size(), static_cast<std::size_t>(w) * h);
        for (const std::uint32_t pixel : scaled.pixels) {
            ASSERT_EQ(pixel, 0x154E9Du) << w << "x" << h;
        }
    }
}

TEST(PixelImageTest, EnlargingBlendsEdgesAndKeepsAGradientInOrder)
{
    // Black left half, white right half: the enlarged edge shows grey steps, no ringing.
    PixelImage edge = Filled(4, 1, 0);
    edge.pixels[2] = edge.pixels[3] = 0xFFFFFF;
    const PixelImage wide = ScaleSmooth(edge, 6, 1);
    int previous = -1;
    bool sawGrey = false;
    for (const std::uint32_t pixel : wide.pixels) {
        EXPECT_EQ(Channel(pixel, 16), Channel(pixel, 0));
        EXPECT_GE(Channel(pixel, 8), previous);
        previous = Channel(pixel, 8);
        sawGrey = sawGrey || (previous > 0 && previous < 255);
    }
    EXPECT_TRUE(sawGrey);
    EXPECT_EQ(wide.pixels.front(), 0u);
    EXPECT_EQ(wide.pixels.back(), 0xFFFFFFu);
}

TEST(PixelImageTest, ShrinkingAveragesEverySourcePixel)
{
    // A one-pixel checkerboard halves into an even grey, not into one of its colours.
    PixelImage board = Filled(8, 8, 0);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if ((x + y) % 2) {
                board.pixels[static_cast<std::size_t>(y) * 8 + x] = 0xFFFFFF;
            }
        }
    }
    const PixelImage half = ScaleSmooth(board, 4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            // The filter is cut at the image's edges, so the border is a little less even.
            const bool border = x == 0 || y == 0 || x == 3 || y == 3;
            EXPECT_NEAR(Channel(half.At(x, y), 16), 128, border ? 8 : 2) << x << "," << y;
        }
    }
}

TEST(PixelImageTest, ImpossibleSizesAreRefused)
{
    const PixelImage image = Filled(2, 2, 0);
    EXPECT_THROW(ScaleSmooth(image, 0, 2), HostError);
    EXPECT_THROW(ScaleSmooth(image, 2, -1), HostError);
    EXPECT_THROW(ScaleSmooth(PixelImage{2, 2, {}}, 2, 2), HostError);
}

}  // namespace
}  // namespace qv
