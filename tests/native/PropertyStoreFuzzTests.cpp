// Mutated property store files, loaded into a button: each one must load or
// raise the program's error type, never crash or raise anything else.

#include "AllocationLimit.h"
#include "ScriptedButtonHost.h"

#include "button/Button.h"
#include "host/base/Base64.h"
#include "host/base/HostError.h"
#include "host/gdi/PictureFormat.h"
#include "host/store/JsonPropertyStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>
#include <span>

namespace qv::test {
namespace {

std::vector<std::uint8_t> SeedDocument(PictureLoader& pictures)
{
    ScriptedButtonParts parts;
    button b(parts.Host());
    b.InitDefaults();
    b.SetPicture(MakePicture(2540, 1270));
    b.SetMouseIcon(MakePicture(847, 847));
    b.SetFont(MakeFont(u"Tahoma", 12.5, true));
    b.SetCaption(u"Schlie\u00DFen");
    JsonPropertyStore store(pictures);
    b.SaveProperties(store);
    return store.Serialize();
}

// Fragments that make mutations land on the parser's and the reader's edges.
const std::string Fragments[] = {
    "null", "true", "0", "-1", "2147483648", "-2147483649", "1e999", "1.5", "\"\"", "\"x\"", "{}", "[]", "{\"type\":",
    "\"picture\"", "\"font\"", "\"data\": \"AAAA\"", "\"Size\": \"0\"", "\\u0000", "\xC3", "\xFF", ",", ":", "}", "]",
    "\"", "{\"type\": \"picture\", \"data\": \"UElDIDEgMQ==\"}", "99999999999999999999999",
};

std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> bytes, std::mt19937& random)
{
    const int steps = 1 + static_cast<int>(random() % 3);
    for (int step = 0; step < steps; ++step) {
        const std::size_t size = bytes.size();
        const std::size_t at = size ? random() % size : 0;
        switch (random() % 6) {
        case 0:
            if (size) {
                bytes[at] = static_cast<std::uint8_t>(random());
            }
            break;
        case 1:
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(random()));
            break;
        case 2:
            if (size) {
                const std::size_t length = 1 + random() % std::min<std::size_t>(size - at, 16);
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
            }
            break;
        case 3:
            bytes.resize(at);
            break;
        case 4: {
            const std::string& fragment = Fragments[random() % std::size(Fragments)];
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), fragment.begin(), fragment.end());
            break;
        }
        default:
            if (size) {
                const std::size_t length = 1 + random() % std::min<std::size_t>(size - at, 32);
                const std::vector<std::uint8_t> copy(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                                     bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(random() % size), copy.begin(), copy.end());
            }
            break;
        }
    }
    return bytes;
}

TEST(PropertyStoreFuzz, MutatedStoreFilesLoadOrRaiseTheProgramsError)
{
    ScriptedPictureLoader pictures;
    const std::vector<std::uint8_t> seed = SeedDocument(pictures);
    std::mt19937 random(20261208);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int loaded = 0;
    int refused = 0;
    int cases = 0;
    for (; cases < 20000 && std::chrono::steady_clock::now() < deadline; ++cases) {
        const std::vector<std::uint8_t> document = Mutate(seed, random);
        ScriptedButtonParts parts;
        button b(parts.Host());
        parts.surface.resized = [&b] { b.OnResize(); };
        try {
            JsonPropertyStore store = JsonPropertyStore::Parse(document, pictures);
            b.LoadProperties(store);
            JsonPropertyStore saved(pictures);
            b.SaveProperties(saved);
            ++loaded;
        } catch (const HostError& error) {
            EXPECT_FALSE(error.Description().empty());
            ++refused;
        } catch (const std::exception& other) {
            ADD_FAILURE() << "case " << cases << " raised " << other.what() << " for:\n"
                          << std::string(document.begin(), document.end());
        } catch (...) {
            ADD_FAILURE() << "case " << cases << " raised something that is no error of the program";
        }
    }
    std::printf("fuzz: %d cases, %d loaded, %d refused\n", cases, loaded, refused);
    EXPECT_GE(cases, 2000);
    // Both sides are reached: mutations that keep the document loadable and
    // ones that break it at every depth.
    EXPECT_GT(loaded, cases / 50);
    EXPECT_GT(refused, cases / 50);
}

TEST(PropertyStoreFuzz, RunningOutOfMemoryAnywhereInALoadIsErrorSeven)
{
    ScriptedPictureLoader pictures;
    const std::vector<std::uint8_t> seed = SeedDocument(pictures);
    int failures = 0;
    for (std::size_t budget = 0;; budget += 97) {
        ScriptedButtonParts parts;
        button b(parts.Host());
        b.InitDefaults();
        bool failed = false;
        try {
            const AllocationLimit limit(budget);
            try {
                JsonPropertyStore store = JsonPropertyStore::Parse(seed, pictures);
                b.LoadProperties(store);
            } catch (const HostError& error) {
                EXPECT_EQ(error.Number(), ErrorNumber::OutOfMemory) << budget << ": " << error.what();
            }
            failed = limit.Failed();
        } catch (const std::bad_alloc&) {
            ADD_FAILURE() << "out of memory at " << budget << " bytes escaped the load";
        }
        if (!failed) {
            break;
        }
        ++failures;
    }
    // The budget ran out at every stage of the load, from parsing to the last key.
    EXPECT_GT(failures, 50);
}

std::string Repeated(const std::string& piece, std::size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// Picture files whose headers claim 65535 x 65535 pixels, in each format the loader reads by size.
std::vector<std::string> HugeClaims()
{
    std::string bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    bmp[18] = bmp[19] = bmp[22] = bmp[23] = '\xFF';
    std::string png = "\x89PNG\r\n\x1A\n" + std::string("\0\0\0\x0DIHDR\0\0\xFF\xFF\0\0\xFF\xFF", 16);
    std::string gif = "GIF89a\xFF\xFF\xFF\xFF" + std::string(3, '\0') + ";";
    std::string jpeg = "\xFF\xD8\xFF\xC0" + std::string("\0\x11\x08\xFF\xFF\xFF\xFF", 7);
    std::string icon = std::string("\0\0\1\0\1\0", 6) + std::string(12, '\0') + std::string("\x16\0\0\0", 4) + png;
    return {bmp, png, gif, jpeg, icon};
}

TEST(PictureFormat, EveryHeaderIsReadOnlyAsFarAsItsBytesGoAndAFrameOfUnknownHeightIsRefused)
{
    // Each header cut off anywhere: read within its bytes (the library checks each index here).
    for (const std::string& claim : HugeClaims()) {
        for (std::size_t size = 0; size <= claim.size(); ++size) {
            const std::vector<std::uint8_t> cut(claim.begin(), claim.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_NO_THROW(PictureExtentOf(cut)) << size;
        }
    }
    const std::string heightLater = "\xFF\xD8\xFF\xC0" + std::string("\0\x11\x08\0\0\0\x10", 7);
    const std::vector<std::uint8_t> jpeg(heightLater.begin(), heightLater.end());
    EXPECT_FALSE(PictureExtentOf(jpeg).has_value());
    EXPECT_THROW(CheckPictureSize(jpeg), HostError);
}

TEST(PropertyStoreFuzz, HostileStructuresLoadOrAreRefusedWithTheirNumberAndTheButtonStillDraws)
{
    std::vector<std::string> documents;
    const std::pair<std::string, std::string> kinds[] = {{"[", "]"}, {"{\"a\":", "}"}, {"[{\"a\":", "}]"}};
    for (const auto& [open, close] : kinds) {
        for (const std::size_t depth : {7u, 8u, 9u, 100000u}) {
            documents.push_back(Repeated(open, depth) + "1" + Repeated(close, depth));
            documents.push_back("{\"Picture\": " + Repeated(open, depth) + "1" + Repeated(close, depth) + "}");
            documents.push_back("{\"Font\": {\"type\": \"font\", \"Name\": " + Repeated(open, depth) + "1" +
                                Repeated(close, depth) + "}}");
        }
    }
    documents.push_back("{\"Caption\": \"" + std::string(1 << 20, 'x') + "\"}");
    documents.push_back("{\"Caption\": [" + Repeated("1,", 1 << 20) + "1]}");
    documents.push_back("{\"Caption\": \"" + Repeated("\\u0000", 1000) + "\"}");
    documents.push_back("{\"" + std::string(1 << 20, 'k') + "\": 1}");
    const char* keys[] = {"Caption", "PicturePosition", "Picture", "PictureWidth", "PictureHeight",
                          "OriginalPicSizeW", "OriginalPicSizeH", "PictureHover", "Enabled", "Font", "MouseIcon",
                          "MousePointer", "ShowFocusRect", "Color_Pressed", "Color_Hover", "BackColor",
                          "ForeColor", "SoundOver", "SoundClick", "DefCurHand", "XPShowBorderAlways", "MaskColor",
                          "TransparentBG"};
    for (const char* key : keys) {
        for (const char* number : {"2147483647", "-2147483648", "2147483648", "-2147483649", "32768", "-32769",
                                   "-1", "99999999999999999999", "-0.0", "1e308"}) {
            documents.push_back(std::string("{\"") + key + "\": " + number + "}");
        }
    }
    for (const std::string& claim : HugeClaims()) {
        for (const char* key : {"Picture", "PictureHover", "MouseIcon"}) {
            const std::vector<std::uint8_t> bytes(claim.begin(), claim.end());
            documents.push_back(std::string("{\"") + key + "\": {\"type\": \"picture\", \"data\": \"" +
                                Base64Encode(bytes) + "\"}}");
        }
    }

    ScriptedPictureLoader pictures;
    const std::set<std::int32_t> numbers = {ErrorNumber::Overflow, ErrorNumber::TypeMismatch,
                                            ErrorNumber::InvalidFileFormat, ErrorNumber::InvalidPropertyValue,
                                            ErrorNumber::InvalidPicture};
    for (const std::string& document : documents) {
        ScriptedButtonParts parts;
        button b(parts.Host());
        b.InitDefaults();
        parts.surface.resized = [&b] { b.OnResize(); };
        const std::string shown = document.substr(0, 60);
        try {
            JsonPropertyStore store = JsonPropertyStore::Parse(
                std::span(reinterpret_cast<const std::uint8_t*>(document.data()), document.size()), pictures);
            b.LoadProperties(store);
        } catch (const HostError& error) {
            EXPECT_TRUE(numbers.count(error.Number())) << shown << ": " << error.what();
            EXPECT_LT(error.Description().size(), 400u) << shown;
        }
        // Whatever the file did, the button draws and takes input without an error.
        EXPECT_NO_THROW({
            b.OnResize();
            parts.pointer.windowUnder = parts.surface.handle;
            b.OnMouseMove(0, 0, 5, 5);
            b.OnMouseDown(1, 0, 5, 5);
            b.OnMouseUp(1, 0, 5, 5);
        }) << shown;
    }
}

}  // namespace
}  // namespace qv::test
