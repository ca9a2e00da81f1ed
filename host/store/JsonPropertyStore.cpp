#include "host/store/JsonPropertyStore.h"

#include "host/base/Base64.h"
#include "host/base/HostError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <string>

namespace qv {

struct JsonPropertyStore::Document {
    nlohmann::ordered_json members = nlohmann::ordered_json::object();
};

namespace {

using Json = nlohmann::ordered_json;

constexpr char PictureType[] = "picture";
constexpr char FontType[] = "font";

Text Quoted(const Text& name)
{
    return u"\u201E" + name + u"\u201C";
}

HostError FileError(const Text& problem)
{
    return HostError(ErrorNumber::InvalidFileFormat, u"Die Eigenschaftsdatei ist unbrauchbar: " + problem);
}

Text ShortText(const Json& value)
{
    std::string text = value.dump();
    if (text.size() > 40) {
        text = text.substr(0, 37) + "...";
    }
    return TextFromUtf8(text);
}

Variant DecodeInteger(const Text& key, const Json& value)
{
    const bool fits = value.is_number_unsigned()
                          ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
                          : value.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
                                value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max();
    if (!fits) {
        throw StoredValueError(ErrorNumber::Overflow, key,
                       u"die Zahl " + ShortText(value) + u" liegt außerhalb von -2147483648 bis 2147483647");
    }
    return static_cast<std::int32_t>(value.get<std::int64_t>());
}

const Json& Member(const Text& key, const Json& object, const char* name, bool (Json::*is)() const noexcept,
                   const Text& expected)
{
    const auto found = object.find(name);
    if (found == object.end()) {
        throw StoredValueError(ErrorNumber::InvalidFileFormat, key, u"es fehlt " + Quoted(TextFromAscii(name)));
    }
    if (!((*found).*is)()) {
        throw StoredValueError(ErrorNumber::TypeMismatch, key,
                       Quoted(TextFromAscii(name)) + u" muss " + expected + u" sein, ist aber " + ShortText(*found));
    }
    return *found;
}

PictureRef DecodePicture(const Text& key, const Json& object, PictureLoader& pictures)
{
    const std::string& text = Member(key, object, "data", &Json::is_string, u"Text").get_ref<const std::string&>();
    const auto bytes = Base64Decode(text);
    if (!bytes) {
        throw StoredValueError(ErrorNumber::InvalidFileFormat, key, u"die Bilddaten sind kein gültiges Base64");
    }
    try {
        return pictures.LoadPicture(*bytes);
    } catch (const HostError& error) {
        throw StoredValueError(error.Number(), key, error.Description());
    }
}

FontRef DecodeFont(const Text& key, const Json& object)
{
    const Text name = TextFromUtf8(Member(key, object, "Name", &Json::is_string, u"Text").get_ref<const std::string&>());
    const Text sizeText = TextFromUtf8(Member(key, object, "Size", &Json::is_string, u"Text").get_ref<const std::string&>());
    const auto size = FontSize::FromText(sizeText);
    if (!size) {
        throw StoredValueError(ErrorNumber::InvalidPropertyValue, key,
                       u"die Schriftgröße " + Quoted(sizeText) + u" ist keine Zahl wie \u201E8.25\u201C");
    }
    const auto style = [&](const char* name) {
        return Member(key, object, name, &Json::is_boolean, u"true oder false").get<bool>();
    };
    const bool bold = style("Bold");
    const bool italic = style("Italic");
    const bool underline = style("Underline");
    const bool strikethrough = style("Strikethrough");
    auto font = std::make_shared<FontObject>();
    try {
        font->SetName(name);
        font->SetSize(*size);
    } catch (const HostError& error) {
        throw StoredValueError(error.Number(), key, error.Description());
    }
    font->SetBold(bold);
    font->SetItalic(italic);
    font->SetUnderline(underline);
    font->SetStrikethrough(strikethrough);
    return font;
}

Variant Decode(const Text& key, const Json& value, PictureLoader& pictures)
{
    switch (value.type()) {
    case Json::value_t::null:
        return PictureRef();
    case Json::value_t::boolean:
        return value.get<bool>();
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
        return DecodeInteger(key, value);
    case Json::value_t::string:
        return TextFromUtf8(value.get_ref<const std::string&>());
    case Json::value_t::object: {
        const std::string& type = Member(key, value, "type", &Json::is_string, u"Text").get_ref<const std::string&>();
        if (type == PictureType) {
            return DecodePicture(key, value, pictures);
        }
        if (type == FontType) {
            return DecodeFont(key, value);
        }
        throw StoredValueError(ErrorNumber::InvalidFileFormat, key,
                       u"unbekannte Art " + Quoted(TextFromUtf8(type)) + u" (erwartet: picture oder font)");
    }
    case Json::value_t::number_float:
        throw StoredValueError(ErrorNumber::TypeMismatch, key, ShortText(value) + u" ist keine ganze Zahl");
    default:
        throw StoredValueError(ErrorNumber::TypeMismatch, key, u"Listen und Binärdaten werden nicht unterstützt");
    }
}

Json Encode(const Text& key, const Variant& value)
{
    return std::visit(
        [&key](const auto& content) -> Json {
            using T = std::decay_t<decltype(content)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                throw StoredValueError(ErrorNumber::TypeMismatch, key, u"ein leerer Wert kann nicht gespeichert werden");
            } else if constexpr (std::is_same_v<T, Text>) {
                return Utf8FromText(content);
            } else if constexpr (std::is_same_v<T, PictureRef>) {
                if (!content) {
                    return nullptr;
                }
                return Json{{"type", PictureType}, {"data", Base64Encode(content->FileData())}};
            } else if constexpr (std::is_same_v<T, FontRef>) {
                if (!content) {
                    throw StoredValueError(ErrorNumber::ObjectMissing, key, u"keine Schrift angegeben");
                }
                return Json{{"type", FontType},
                            {"Name", Utf8FromText(content->Name())},
                            {"Size", Utf8FromText(content->Size().ToText())},
                            {"Bold", content->Bold()},
                            {"Italic", content->Italic()},
                            {"Underline", content->Underline()},
                            {"Strikethrough", content->Strikethrough()}};
            } else {
                return content;
            }
        },
        value);
}

bool OnlyWhiteSpace(std::span<const std::uint8_t> document)
{
    return std::all_of(document.begin(), document.end(),
                       [](std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

}  // namespace

JsonPropertyStore::JsonPropertyStore(PictureLoader& pictures)
    : JsonPropertyStore(pictures, std::make_unique<Document>())
{
}

JsonPropertyStore::JsonPropertyStore(PictureLoader& pictures, std::unique_ptr<Document> document)
    : m_pictures(&pictures), m_document(std::move(document))
{
}

JsonPropertyStore::~JsonPropertyStore() = default;
JsonPropertyStore::JsonPropertyStore(JsonPropertyStore&&) noexcept = default;
JsonPropertyStore& JsonPropertyStore::operator=(JsonPropertyStore&&) noexcept = default;

JsonPropertyStore JsonPropertyStore::Parse(std::span<const std::uint8_t> document, PictureLoader& pictures)
{
    if (OnlyWhiteSpace(document)) {
        throw FileError(u"sie ist leer");
    }
    auto parsed = std::make_unique<Document>();
    try {
        parsed->members = Json::parse(document.begin(), document.end());
    } catch (const Json::parse_error& error) {
        const Text at = u" (Byte " + DecimalText(static_cast<std::int64_t>(error.byte)) + u")";
        if (error.byte > document.size()) {
            throw FileError(u"sie bricht mitten im JSON ab" + at);
        }
        throw FileError(u"sie ist kein gültiges JSON" + at);
    } catch (const Json::exception&) {
        throw FileError(u"sie ist kein gültiges JSON");
    }
    if (!parsed->members.is_object()) {
        throw FileError(u"sie enthält kein JSON-Objekt mit Eigenschaften, sondern " + ShortText(parsed->members));
    }
    return JsonPropertyStore(pictures, std::move(parsed));
}

JsonPropertyStore JsonPropertyStore::ReadFile(FileInput& files, const Text& fileName, PictureLoader& pictures)
{
    return Parse(files.ReadAllBytes(fileName), pictures);
}

std::vector<std::uint8_t> JsonPropertyStore::Serialize() const
{
    const std::string text = m_document->members.dump(2) + "\n";
    return {text.begin(), text.end()};
}

void JsonPropertyStore::WriteFile(FileOutput& files, const Text& fileName) const
{
    auto bytes = std::make_shared<ByteStore>();
    bytes->Append(Serialize());
    files.ReplaceWithBytes(fileName, {bytes, bytes->Size()});
}

Variant JsonPropertyStore::ReadProperty(const Text& key, const Variant& defaultValue)
{
    const auto found = m_document->members.find(Utf8FromText(key));
    if (found == m_document->members.end()) {
        return defaultValue;
    }
    return Decode(key, *found, *m_pictures);
}

void JsonPropertyStore::WriteProperty(const Text& key, const Variant& value, const Variant&)
{
    m_document->members[Utf8FromText(key)] = Encode(key, value);
}

}  // namespace qv
