#include "ScriptedButtonHost.h"
#include "ScriptedHost.h"

#include "button/Button.h"
#include "host/base/HostError.h"
#include "host/store/JsonPropertyStore.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qv::test {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string AsText(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A stored font with these JSON values and plain styles otherwise.
std::string StoredFont(const std::string& name, const std::string& size, const std::string& bold = "false")
{
    return "{\"type\": \"font\", \"Name\": " + name + ", \"Size\": " + size + ", \"Bold\": " + bold +
           ", \"Italic\": false, \"Underline\": false, \"Strikethrough\": false}";
}

class MemoryFiles final : public FileInput {
public:
    std::vector<std::uint8_t> ReadAllBytes(const Text& fileName, std::size_t mostBytes) override
    {
        const auto found = files.find(fileName);
        if (found == files.end()) {
            throw HostError(53, u"Datei nicht gefunden");
        }
        if (found->second.size() > mostBytes) {
            throw HostError(ErrorNumber::InvalidFileFormat, u"zu groß");
        }
        return found->second;
    }
    std::map<Text, std::vector<std::uint8_t>> files;
};

// The error a document raises, when parsed and, if that works, read at `key`.
HostError ErrorOf(const std::string& document, const Text& key = u"Caption")
{
    ScriptedPictureLoader pictures;
    try {
        JsonPropertyStore store = JsonPropertyStore::Parse(Bytes(document), pictures);
        store.ReadProperty(key, Variant{});
    } catch (const HostError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << document;
    return HostError(0, u"");
}

TEST(JsonPropertyStore, ANewButtonIsSavedAsReadableJsonWithEveryKeyInSaveOrder)
{
    ScriptedButtonParts parts;
    parts.container.ambient = MakeFont(u"Segoe UI", 9);
    ScriptedPictureLoader& pictures = parts.pictures;
    button b(parts.Host());
    b.InitDefaults();
    b.SetPicture(MakePicture(1270, 635));

    JsonPropertyStore store(pictures);
    b.SaveProperties(store);
    EXPECT_EQ(AsText(store.Serialize()), R"({
  "Caption": "Command1",
  "PicturePosition": 1,
  "Picture": {
    "type": "picture",
    "data": "UElDIDEyNzAgNjM1"
  },
  "PictureWidth": 48,
  "PictureHeight": 24,
  "OriginalPicSizeW": 48,
  "OriginalPicSizeH": 24,
  "PictureHover": {
    "type": "picture",
    "data": ""
  },
  "Enabled": true,
  "Font": {
    "type": "font",
    "Name": "Segoe UI",
    "Size": "9",
    "Bold": false,
    "Italic": false,
    "Underline": false,
    "Strikethrough": false
  },
  "MouseIcon": null,
  "MousePointer": 0,
  "ShowFocusRect": true,
  "Color_Pressed": 33023,
  "Color_Hover": 4210752,
  "BackColor": -2147483633,
  "ForeColor": -2147483630,
  "SoundOver": ".\\resources\\over.wav",
  "SoundClick": ".\\resources\\click.wav",
  "DefCurHand": false,
  "XPShowBorderAlways": false,
  "MaskColor": 0,
  "TransparentBG": false
}
)");
}

TEST(JsonPropertyStore, ValuesOfEveryTypeReadBackAsWrittenAndAbsentKeysGiveTheDefault)
{
    ScriptedPictureLoader pictures;
    JsonPropertyStore written(pictures);
    const FontRef font = MakeFont(u"\u00C4rial \"Neu\"", 10.0001, false, true, true, true);
    written.WriteProperty(u"min", std::int32_t{-2147483647 - 1}, std::int16_t{0});
    written.WriteProperty(u"max", std::int32_t{2147483647}, std::int16_t{0});
    written.WriteProperty(u"small", std::int16_t{-5}, std::int16_t{0});
    written.WriteProperty(u"text", Text(u"Zeile 1\r\nZeile 2\t\u00DF\U0001F600"), Text());
    written.WriteProperty(u"truth", false, true);
    written.WriteProperty(u"nothing", PictureRef(), PictureRef());
    written.WriteProperty(u"empty", pictures.LoadPicture({}), PictureRef());
    written.WriteProperty(u"picture", MakePicture(3, 4), PictureRef());
    written.WriteProperty(u"font", font, Variant{});
    written.WriteProperty(u"text", Text(u"ersetzt"), Text());

    JsonPropertyStore read = JsonPropertyStore::Parse(written.Serialize(), pictures);
    EXPECT_EQ(read.ReadProperty(u"min", Variant{}), Variant(std::int32_t{-2147483647 - 1}));
    EXPECT_EQ(read.ReadProperty(u"max", Variant{}), Variant(std::int32_t{2147483647}));
    // Integers read back as 32-bit; the button narrows them where it needs to.
    EXPECT_EQ(read.ReadProperty(u"small", Variant{}), Variant(std::int32_t{-5}));
    EXPECT_EQ(read.ReadProperty(u"text", Variant{}), Variant(Text(u"ersetzt")));
    EXPECT_EQ(read.ReadProperty(u"truth", true), Variant(false));
    EXPECT_EQ(read.ReadProperty(u"nothing", Variant{}), Variant(PictureRef()));
    const auto empty = std::get<PictureRef>(read.ReadProperty(u"empty", Variant{}));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->IsEmpty());
    const auto picture = std::get<PictureRef>(read.ReadProperty(u"picture", Variant{}));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 4);
    EXPECT_TRUE(std::get<FontRef>(read.ReadProperty(u"font", Variant{}))->SameAttributes(*font));
    EXPECT_EQ(read.ReadProperty(u"absent", std::int16_t{32}), Variant(std::int16_t{32}));
    // Members keep the order they were first written in.
    EXPECT_LT(AsText(read.Serialize()).find("\"text\""), AsText(read.Serialize()).find("\"truth\""));
    EXPECT_EQ(read.Serialize(), written.Serialize());
}

TEST(JsonPropertyStore, ADocumentThatIsNotAnObjectOfPropertiesIsRefusedWithWhereItWentWrong)
{
    struct Case {
        std::string document;
        const char16_t* says;
    };
    const Case cases[] = {
        {"", u"leer"},
        {" \r\n\t", u"leer"},
        {"{\"Caption\": \"OK\", \"Enabled\": tr", u"bricht mitten im JSON ab"},
        {"{\"Caption\": \"OK\"", u"bricht mitten im JSON ab"},
        {"\x89PNG\r\n\x1A\n", u"kein gültiges JSON (Byte 1)"},
        {"{\"Caption\" \"OK\"}", u"kein gültiges JSON (Byte 15)"},
        {"{\"Picture\": 1e400}", u"kein gültiges JSON"},
        {"{\"Caption\": \"\xC3\x28\"}", u"kein gültiges JSON"},
        {"{} {}", u"kein gültiges JSON"},
        {"[1, 2]", u"kein JSON-Objekt"},
        {"\"Caption\"", u"kein JSON-Objekt"},
    };
    for (const Case& c : cases) {
        const HostError error = ErrorOf(c.document);
        EXPECT_EQ(error.Number(), ErrorNumber::InvalidFileFormat) << c.document;
        EXPECT_NE(error.Description().find(c.says), Text::npos) << c.document << ": " << error.what();
    }
}

TEST(JsonPropertyStore, AValueThatCannotBeReadIsRefusedNamingItsKey)
{
    struct Case {
        std::string value;
        std::int32_t number;
        const char16_t* says;
    };
    const Case cases[] = {
        {"2147483648", ErrorNumber::Overflow, u"außerhalb"},
        {"-2147483649", ErrorNumber::Overflow, u"außerhalb"},
        {"18446744073709551615", ErrorNumber::Overflow, u"außerhalb"},
        {"1.5", ErrorNumber::TypeMismatch, u"keine ganze Zahl"},
        {"-0.0", ErrorNumber::TypeMismatch, u"keine ganze Zahl"},
        {"[1]", ErrorNumber::TypeMismatch, u"Listen"},
        {"{}", ErrorNumber::InvalidFileFormat, u"es fehlt \u201Etype\u201C"},
        {"{\"type\": 1}", ErrorNumber::TypeMismatch, u"\u201Etype\u201C muss Text sein"},
        {"{\"type\": \"sound\"}", ErrorNumber::InvalidFileFormat, u"unbekannte Art \u201Esound\u201C"},
        {"{\"type\": \"picture\"}", ErrorNumber::InvalidFileFormat, u"es fehlt \u201Edata\u201C"},
        {"{\"type\": \"picture\", \"data\": \"UElD!\"}", ErrorNumber::InvalidFileFormat, u"kein gültiges Base64"},
        {"{\"type\": \"picture\", \"data\": \"AAAA\"}", ErrorNumber::InvalidPicture, u"Ungültiges Bild"},
        {"{\"type\": \"font\", \"Name\": \"A\", \"Size\": \"8\", \"Bold\": false, \"Italic\": false, "
         "\"Underline\": false}",
         ErrorNumber::InvalidFileFormat, u"es fehlt \u201EStrikethrough\u201C"},
        {StoredFont("\"A\"", "8"), ErrorNumber::TypeMismatch, u"\u201ESize\u201C muss Text sein"},
        {StoredFont("\"A\"", "\"8,25\""), ErrorNumber::InvalidPropertyValue, u"Schriftgröße \u201E8,25\u201C"},
        {StoredFont("\"A\"", "\"0\""), ErrorNumber::InvalidPropertyValue, u"Schriftgröße 0"},
        {StoredFont("\"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFG\"", "\"8\""), ErrorNumber::InvalidPropertyValue,
         u"Schriftname"},
        {StoredFont("\"A\"", "\"8\"", "1"), ErrorNumber::TypeMismatch, u"\u201EBold\u201C muss true oder false sein"},
    };
    for (const Case& c : cases) {
        const HostError error = ErrorOf("{\"Picture\": " + c.value + "}", u"Picture");
        EXPECT_EQ(error.Number(), c.number) << c.value << ": " << error.what();
        EXPECT_NE(error.Description().find(u"Eigenschaft \u201EPicture\u201C: "), Text::npos) << error.what();
        EXPECT_NE(error.Description().find(c.says), Text::npos) << c.value << ": " << error.what();
    }
}

TEST(JsonPropertyStore, FilesAreReadWholeAndReplacedInOneStep)
{
    ScriptedPictureLoader pictures;
    JsonPropertyStore store(pictures);
    store.WriteProperty(u"Caption", Text(u"OK"), Text());
    RecordingFileOutput output;
    store.WriteFile(output, u"C:\\Knopf.json");
    ASSERT_EQ(output.files.count(u"C:\\Knopf.json"), 1u);
    EXPECT_EQ(output.files[u"C:\\Knopf.json"], store.Serialize());

    MemoryFiles input;
    input.files[u"C:\\Knopf.json"] = output.files[u"C:\\Knopf.json"];
    JsonPropertyStore read = JsonPropertyStore::ReadFile(input, u"C:\\Knopf.json", pictures);
    EXPECT_EQ(read.ReadProperty(u"Caption", Variant{}), Variant(Text(u"OK")));

    output.refuse = HostError(70, u"Zugriff verweigert");
    EXPECT_THROW(store.WriteFile(output, u"C:\\Knopf.json"), HostError);
    EXPECT_THROW(JsonPropertyStore::ReadFile(input, u"C:\\fehlt.json", pictures), HostError);
    input.files[u"C:\\gross.json"].resize(JsonPropertyStore::MostDocumentBytes + 1, ' ');
    EXPECT_THROW(JsonPropertyStore::ReadFile(input, u"C:\\gross.json", pictures), HostError);
}

TEST(JsonPropertyStore, AWrongTypeReachesTheButtonAsAMismatchNamingTheKey)
{
    ScriptedButtonParts parts;
    ScriptedPictureLoader& pictures = parts.pictures;
    button b(parts.Host());
    JsonPropertyStore store = JsonPropertyStore::Parse(Bytes(R"({"BackColor": 255, "PictureWidth": "breit"})"), pictures);
    try {
        b.LoadProperties(store);
        FAIL() << "no error";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::TypeMismatch);
        EXPECT_EQ(error.Description(),
                  u"Eigenschaft \u201EPictureWidth\u201C: Typen unverträglich: erwartet Ganzzahl, gespeichert ist Text");
    }
    EXPECT_EQ(b.BackColor(), 255u);
}

}  // namespace
}  // namespace qv::test
