// Mutated property store files, loaded into a button: each one must load or
// raise the program's error type, never crash or raise anything else.

#include "ScriptedButtonHost.h"

#include "button/Button.h"
#include "host/base/HostError.h"
#include "host/store/JsonPropertyStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

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

}  // namespace
}  // namespace qv::test
