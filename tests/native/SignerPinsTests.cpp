#include "host/base/HostError.h"
#include "host/files/CertificateTable.h"
#include "launcher/LauncherStamp.h"
#include "launcher/SignerPins.h"
#include "launcher/win_Main.h"

#include "ProgramImage.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::ProgramImage;

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
        bool onlySignatures = true;
    };
    const Case cases[] = {
        {0, a, true},
        {0, b, true},
        {UntrustedRoot, a, true},      // self-signed or private root: the pin is the anchor
        {0, a, false, false},          // intact, but with bytes beside the signature in the certificate table
        {0, other, false},             // signed, by another key
        {0, std::nullopt, false},      // no signer to be found
        {0x800B0100, std::nullopt, false},  // no signature at all
        {0x80096010, a, false},        // the right signer, but the bytes were changed
        {0x800B010A, a, false},        // a chain that breaks off: more than an untrusted root
        {0x80092026, a, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SignedByPinnedKey({c.trust, c.key, c.onlySignatures}, pins), c.accepted) << std::hex << c.trust;
    }
    EXPECT_FALSE(SignedByPinnedKey({0, a, true}, {}));
}

// A program file whose certificate table, at its end, holds `table` and claims `claimed` bytes.
std::vector<std::uint8_t> ProgramWithTable(const std::vector<std::uint8_t>& table, std::uint32_t claimed)
{
    return ProgramImage({.sections = {}, .certificateTable = table, .claimedTableSize = claimed});
}

// One WIN_CERTIFICATE of `length` bytes around a 5-byte DER sequence, then `tail` after the sequence.
std::vector<std::uint8_t> Entry(std::uint32_t length, const std::vector<std::uint8_t>& tail)
{
    std::vector<std::uint8_t> entry{static_cast<std::uint8_t>(length), 0, 0, 0, 0x00, 0x02, 0x02, 0x00,
                                    0x30, 0x03, 0x02, 0x01, 0x05};
    entry.insert(entry.end(), tail.begin(), tail.end());
    return entry;
}

TEST(CertificateTable, HoldsSignaturesAndNothingBeyondTheirPadding)
{
    const std::vector<std::uint8_t> pad(3, 0);
    const std::vector<std::uint8_t> proper = Entry(16, pad);
    const CertificateTable signedTable = ReadCertificateTable(ProgramWithTable(proper, 16));
    EXPECT_TRUE(signedTable.onlySignatures);
    EXPECT_EQ(std::vector<std::uint8_t>(signedTable.firstSignature.begin(), signedTable.firstSignature.end()),
              (std::vector<std::uint8_t>{0x30, 0x03, 0x02, 0x01, 0x05}));
    const CertificateTable unsignedTable = ReadCertificateTable(ProgramWithTable({}, 0));
    EXPECT_TRUE(unsignedTable.onlySignatures);
    EXPECT_TRUE(unsignedTable.firstSignature.empty());

    std::vector<std::uint8_t> inside = pad;
    inside.insert(inside.end(), 16, 0x41);
    std::vector<std::uint8_t> after = proper;
    after.insert(after.end(), 16, 0x41);
    std::vector<std::uint8_t> zerosAfter = proper;
    zerosAfter.insert(zerosAfter.end(), 16, 0);
    std::vector<std::uint8_t> secondEntry = proper;
    const std::vector<std::uint8_t> framed = Entry(16, pad);
    secondEntry.insert(secondEntry.end(), framed.begin(), framed.end());
    const std::vector<std::vector<std::uint8_t>> refused = {
        ProgramWithTable(Entry(32, inside), 32),        // sixteen bytes inside the signature's entry
        ProgramWithTable(after, 32),                    // sixteen more after it
        ProgramWithTable(zerosAfter, 32),               // even as zeros: more than padding
        ProgramWithTable(secondEntry, 32),              // a second entry, however well framed
        ProgramWithTable(Entry(16, {0, 7, 0}), 16),     // padding that is not zero
        ProgramWithTable(proper, 4096),                 // a table that claims more than the file holds
        std::vector<std::uint8_t>(proper.begin(), proper.end()),  // no program at all
    };
    for (const auto& file : refused) {
        EXPECT_FALSE(ReadCertificateTable(file).onlySignatures) << file.size();
    }
}

TEST(ServerBase, TheSettingNamesItsSchemeOrGetsHttp)
{
    EXPECT_EQ(ServerBase(u"updates.example.com"), u"http://updates.example.com");
    EXPECT_EQ(ServerBase(u"localhost:8080"), u"http://localhost:8080");
    EXPECT_EQ(ServerBase(u"https://localhost:8443"), u"https://localhost:8443");
    EXPECT_EQ(ServerBase(u"http://updates.example.com"), u"http://updates.example.com");
}

std::vector<std::uint8_t> StampText(const std::string& text)
{
    return {text.begin(), text.end()};
}

TEST(LauncherStamp, ASpecificServerAndItsPinsComeBackAsStamped)
{
    const LauncherSettings settings{u"https://updates.example.com:8443", ParseSignerPins(std::u16string(PinA) + u";" + PinB)};
    const std::vector<std::uint8_t> stamp = StampOf(settings);
    EXPECT_EQ(std::string(stamp.begin(), stamp.end()),
              "Quorvelinde-Stempel 1\nServer: https://updates.example.com:8443\nPin: "
              "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef\nPin: "
              "ffffffffffffffffffffffffffffffffffffffffffffffffffffffff00000001\n");
    const LauncherSettings read = ReadStamp(stamp);
    EXPECT_EQ(read.server, settings.server);
    EXPECT_EQ(read.pins, settings.pins);
    EXPECT_EQ(SettingsText(read), u"Server https://updates.example.com:8443, Signaturprüfung mit 2 Schlüssel-Pin(s)");
    for (const Text server : {u"127.0.0.1:8080", u"localhost", u"http://a-b.example"}) {
        EXPECT_NO_THROW(CheckServer(server)) << Utf8FromText(server);
    }
}

TEST(LauncherStamp, WhatALauncherCouldNotUseIsRefusedWithoutRepeatingItAtLength)
{
    const std::string head = "Quorvelinde-Stempel 1\nServer: updates.example.com\n";
    const std::string pin = "Pin: 0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef\n";
    const std::string whole = head + pin;
    const std::string refused[] = {
        "",
        whole.substr(0, whole.size() - 1),                          // cut off in its last line
        whole.substr(0, whole.size() / 2),                          // cut off in the middle
        head,                                                       // no pin
        "Quorvelinde-Stempel 2\nServer: updates.example.com\n" + pin,
        head + "Pin: " + std::string(63, 'a') + "\n",
        head + "Pin: " + std::string(64, 'g') + "\n",
        head + "Pin: " + std::string(5000, 'a') + "\n",             // over-long
        head + head.substr(22) + pin,                               // a second server
        head + pin + "Proxy: intern\n",
    };
    for (const std::string& text : refused) {
        try {
            ReadStamp(StampText(text));
            ADD_FAILURE() << "taken: " << text.substr(0, 120);
        } catch (const HostError& error) {
            EXPECT_LT(error.Description().size(), 300u) << Utf8FromText(error.Description());
        }
    }
    for (const std::string& server : std::vector<std::string>{"", "updates.example.com/tamorix", "http://", "update s.example", "host:0",
                                     "host:99999", ".example", std::string(300, 'a')}) {
        EXPECT_THROW(ReadStamp(StampText("Quorvelinde-Stempel 1\nServer: " + server + "\n" + pin)), HostError) << server;
    }
    EXPECT_THROW(StampOf({u"updates.example.com", {}}), HostError) << "a stamp without a pin";
}

}  // namespace
}  // namespace qv
