#include "host/base/HostError.h"
#include "launcher/SignerPins.h"
#include "launcher/win_Main.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

const char16_t PinA[] = u"0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF";
const char16_t PinB[] = u"ffffffffffffffffffffffffffffffffffffffffffffffffffffffff00000001";

TEST(SignerPins, ListsOfSixtyFourHexDigitsInEitherCaseParseIntoKeyHashes)
{
    EXPECT_TRUE(ParseSignerPins(u"").empty());
    const auto one = ParseSignerPins(PinA);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0][0], 0x01);
    EXPECT_EQ(one[0][7], 0xEF);
    EXPECT_EQ(one[0][15], 0xEF);
    EXPECT_EQ(one[0][31], 0xEF);
    for (const Text separator : {u";", u","}) {
        const auto two = ParseSignerPins(Text(PinA) + separator + PinB);
        ASSERT_EQ(two.size(), 2u);
        EXPECT_EQ(two[0], one[0]);
        EXPECT_EQ(two[1][31], 0x01);
    }
    const Text sixtyThree = Text(PinA).substr(1);
    const Text notHex = u"g" + Text(PinA).substr(1);
    for (const Text& bad : {sixtyThree, notHex, Text(PinA) + u"0", u";" + Text(PinA), Text(u"sha256:") + PinA}) {
        EXPECT_THROW(ParseSignerPins(bad), HostError) << Utf8FromText(bad);
    }
}

TEST(SignerPins, OnlyAnIntactSignatureWithAPinnedKeyCounts)
{
    const std::vector<KeyHash> pins = ParseSignerPins(Text(PinA) + u";" + PinB);
    const KeyHash a = pins[0];
    const KeyHash b = pins[1];
    KeyHash other = a;
    other[5] ^= 1;
    struct Case {
        std::uint32_t trust;
        std::optional<KeyHash> key;
        bool accepted;
    };
    const Case cases[] = {
        {0, a, true},
        {0, b, true},
        {UntrustedRoot, a, true},      // self-signed or private root: the pin is the anchor
        {0, other, false},             // signed, by another key
        {0, std::nullopt, false},      // no signer to be found
        {0x800B0100, std::nullopt, false},  // no signature at all
        {0x80096010, a, false},        // the right signer, but the bytes were changed
        {0x800B010A, a, false},        // a chain that breaks off: more than an untrusted root
        {0x80092026, a, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SignedByPinnedKey({c.trust, c.key}, pins), c.accepted) << std::hex << c.trust;
    }
    EXPECT_FALSE(SignedByPinnedKey({0, a}, {}));
}

TEST(ServerBase, TheSettingNamesItsSchemeOrGetsHttp)
{
    EXPECT_EQ(ServerBase(u"updates.example.com"), u"http://updates.example.com");
    EXPECT_EQ(ServerBase(u"localhost:8080"), u"http://localhost:8080");
    EXPECT_EQ(ServerBase(u"https://localhost:8443"), u"https://localhost:8443");
    EXPECT_EQ(ServerBase(u"http://updates.example.com"), u"http://updates.example.com");
}

}  // namespace
}  // namespace qv
