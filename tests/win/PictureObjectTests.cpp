#include "TestSupport.h"
#include "WindowPixels.h"

#include "host/base/HostError.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/gdi/PixelImage_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv::test {
namespace {

constexpr std::uint32_t Red = 0xC81E1E;
constexpr std::uint32_t Blue = 0x1E1EC8;

std::vector<std::uint8_t> PictureFile(const wchar_t* name)
{
    return ReadWholeFile(TestPictureFolder() / name);
}

PixelImage PixelsOf(const OlePicture& picture)
{
    return PixelsOfBitmap(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(picture.Handle())));
}

// Within a few steps per channel: JPEG is lossy.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

void ExpectHalves(const PixelImage& image, int tolerance, const char* what)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t expected = x < image.width / 2 ? Red : Blue;
            // JPEG blurs the seam between the halves.
            if (tolerance > 0 && (x == image.width / 2 - 1 || x == image.width / 2)) {
                continue;
            }
            ASSERT_TRUE(Near(image.At(x, y), expected, tolerance))
                << what << " at " << x << "," << y << ": " << std::hex << image.At(x, y);
        }
    }
}

TEST(OlePicture, EveryCommonFormatLoadsThroughThePlatformWithItsSizeInHimetric)
{
    struct Case {
        const wchar_t* file;
        SHORT type;
        std::int32_t width;
        std::int32_t height;
        int tolerance;
    };
    // 40 x 20 pixels at 96 dpi are 1058 x 529 HIMETRIC (2540 per inch); 32 pixels are 847.
    const Case cases[] = {
        {L"pattern.bmp", PICTYPE_BITMAP, 1058, 529, 0}, {L"pattern.png", PICTYPE_BITMAP, 1058, 529, 0},
        {L"pattern.gif", PICTYPE_BITMAP, 1058, 529, 0}, {L"pattern.jpg", PICTYPE_BITMAP, 1058, 529, 12},
        {L"pattern.ico", PICTYPE_ICON, 847, 847, 0},
    };
    for (const Case& c : cases) {
        const std::string name(c.file, c.file + wcslen(c.file));
        const PictureRef loaded = OlePicture::Load(PictureFile(c.file));
        const OlePicture& picture = *AsOlePicture(loaded);
        EXPECT_EQ(picture.Type(), c.type) << name;
        EXPECT_FALSE(picture.IsEmpty()) << name;
        EXPECT_EQ(picture.Width(), c.width) << name;
        EXPECT_EQ(picture.Height(), c.height) << name;
        EXPECT_EQ(picture.FileData(), PictureFile(c.file)) << name;
        if (c.type == PICTYPE_BITMAP) {
            const PixelImage pixels = PixelsOf(picture);
            EXPECT_EQ(pixels.width, 40) << name;
            EXPECT_EQ(pixels.height, 20) << name;
            ExpectHalves(pixels, c.tolerance, name.c_str());
        }
    }
}

TEST(OlePicture, TheEmptyPictureIsThePlatformsPictureOfTypeNoneAndMeasuresNothing)
{
    for (const PictureRef& empty : {OlePicture::Empty(), OlePicture::Load({})}) {
        const OlePicture& picture = *AsOlePicture(empty);
        EXPECT_EQ(picture.Type(), PICTYPE_NONE);
        EXPECT_TRUE(picture.IsEmpty());
        EXPECT_EQ(picture.Width(), 0);
        EXPECT_EQ(picture.Height(), 0);
        EXPECT_TRUE(picture.FileData().empty());
    }
    EXPECT_NE(OlePicture::Empty(), OlePicture::Empty());
}

TEST(OlePicture, DataThatIsNoPictureIsRefusedAsAnInvalidPicture)
{
    const std::string text = "Dies ist kein Bild, nur Text.";
    std::vector<std::uint8_t> cut = PictureFile(L"pattern.png");
    cut.resize(30);
    for (const std::vector<std::uint8_t>& data : {std::vector<std::uint8_t>(text.begin(), text.end()), cut}) {
        try {
            OlePicture::Load(data);
            ADD_FAILURE() << "loaded " << data.size() << " bytes";
        } catch (const HostError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::InvalidPicture);
        }
    }
}

TEST(OlePicture, APictureMadeElsewhereSavesItsOwnDataWhichLoadsAgainWithTheSamePixels)
{
    const PixelImage source{6, 4, std::vector<std::uint32_t>(24, Blue)};
    const BITMAPINFO format = DibFormatOf(source);
    const WindowDC screen(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen.Get(), &format.bmiHeader, CBM_INIT, source.pixels.data(), &format,
                                    DIB_RGB_COLORS);
    ASSERT_TRUE(bitmap);
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    ComPtr<IPicture> made;
    ASSERT_HRESULT_SUCCEEDED(
        OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(made.Put())));
    const PictureRef wrapped = OlePicture::Wrap(made);

    const std::vector<std::uint8_t> data = wrapped->FileData();
    ASSERT_FALSE(data.empty());
    const PictureRef reloaded = OlePicture::Load(data);
    EXPECT_EQ(reloaded->Width(), wrapped->Width());
    EXPECT_EQ(reloaded->Height(), wrapped->Height());
    const PixelImage pixels = PixelsOf(*AsOlePicture(reloaded));
    EXPECT_EQ(pixels.width, 6);
    EXPECT_EQ(pixels.pixels, source.pixels);
}

}  // namespace
}  // namespace qv::test
