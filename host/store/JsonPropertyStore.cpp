#include "host/store/JsonPropertyStore.h"

#include "host/base/Base64.h"
#include "host/base/HostError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <map>
#include <new>
#include <string>

namespace qv {
namespace {

// A JSON value as the store reads it. Built by an iterative parser and
// nested no deeper than MostDepth, so that neither building nor destroying
// it recurses far, and destroying it allocates nothing: running out of memory
// halfway through a document unwinds cleanly.
struct Value;
struct Member;

struct Value {
    enum class Kind : std::uint8_t { Null, Boolean, Integer, Unsigned, Float, String, Object, Array };

    Kind kind = Kind::Null;
    bool boolean = false;
    std::int64_t integer = 0;
    std::uint64_t unsignedInteger = 0;
    double number = 0;
    std::string text;
    // An object's members in document order; a key that comes twice counts
    // with its last value. Arrays keep no items: no property is a list.
    std::vector<Member> members;
};

struct Member {
    std::string key;
    Value value;
};

}  // namespace

struct JsonPropertyStore::Document {
    std::vector<Member> members;
    // Pictures decoded from this document, by key: a key read twice decodes once.
    std::map<std::string, PictureRef> pictures;
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

// A value for an error text: scalars as written (a long string cut short),
// objects and lists by their kind only, so that no untrusted value is walked.
Text ShortText(const Value& value)
{
    constexpr std::size_t Most = 40;
    switch (value.kind) {
    case Value::Kind::Null:
        return u"null";
    case Value::Kind::Boolean:
        return value.boolean ? u"true" : u"false";
    case Value::Kind::Integer:
        return DecimalText(value.integer);
    case Value::Kind::Unsigned:
        return TextFromAscii(std::to_string(value.unsignedInteger));
    case Value::Kind::Float:
        return TextFromUtf8(value.text.substr(0, Most));
    case Value::Kind::String: {
        const bool cut = value.text.size() > Most;
        return Quoted(TextFromUtf8(value.text.substr(0, cut ? Most - 3 : Most)) + (cut ? u"..." : u""));
    }
    case Value::Kind::Object:
        return u"ein Objekt";
    case Value::Kind::Array:
        return u"eine Liste";
    }
    return u"?";
}

// The last member of that name, as the document means it, or null.
template <typename Members>
auto Find(Members& members, std::string_view name) -> decltype(&members.front().value)
{
    const auto found =
        std::find_if(members.rbegin(), members.rend(), [name](const Member& member) { return member.key == name; });
    return found == members.rend() ? nullptr : &found->value;
}

// Builds Values from the parser's events, refusing documents nested deeper than a store ever is.
class ValueBuilder final : public nlohmann::json_sax<Json> {
public:
    explicit ValueBuilder(std::size_t documentSize) : m_documentSize(documentSize) {}

    Value& Root() { return m_root; }
    const std::optional<HostError>& Refusal() const { return m_refusal; }

    bool null() override { return Put(Value{}); }
    bool boolean(bool value) override
    {
        Value v;
        v.kind = Value::Kind::Boolean;
        v.boolean = value;
        return Put(std::move(v));
    }
    bool number_integer(number_integer_t value) override
    {
        Value v;
        v.kind = Value::Kind::Integer;
        v.integer = value;
        return Put(std::move(v));
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        Value v;
        v.kind = Value::Kind::Unsigned;
        v.unsignedInteger = value;
        return Put(std::move(v));
    }
    bool number_float(number_float_t value, const string_t& written) override
    {
        Value v;
        v.kind = Value::Kind::Float;
        v.number = value;
        v.text = written;
        return Put(std::move(v));
    }
    bool string(string_t& value) override
    {
        Value v;
        v.kind = Value::Kind::String;
        v.text = std::move(value);
        return Put(std::move(v));
    }
    bool binary(binary_t&) override { return Put(Value{}); }
    bool start_object(std::size_t) override { return Open(Value::Kind::Object); }
    bool key(string_t& name) override
    {
        m_key = std::move(name);
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(Value::Kind::Array); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override
    {
        const Text at = u" (Byte " + DecimalText(static_cast<std::int64_t>(position)) + u")";
        m_refusal = position > m_documentSize ? FileError(u"sie bricht mitten im JSON ab" + at)
                                              : FileError(u"sie ist kein gültiges JSON" + at);
        return false;
    }

private:
    // A store holds objects of values, some of which are objects of values.
    static constexpr std::size_t MostDepth = 8;

    bool Open(Value::Kind kind)
    {
        if (m_open.size() >= MostDepth) {
            m_refusal = FileError(u"sie ist tiefer als " + DecimalText(MostDepth) + u" Ebenen verschachtelt");
            return false;
        }
        Value v;
        v.kind = kind;
        m_open.push_back(Place(std::move(v)));
        return true;
    }

    bool Close()
    {
        m_open.pop_back();
        return true;
    }

    bool Put(Value value)
    {
        Place(std::move(value));
        return true;
    }

    // Where a new value goes: the root or a member of an open object. Inside
    // a list it goes nowhere (null), and neither does what it contains.
    Value* Place(Value value)
    {
        if (m_open.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        Value* parent = m_open.back();
        if (!parent || parent->kind != Value::Kind::Object) {
            return nullptr;
        }
        parent->members.push_back({std::move(m_key), std::move(value)});
        return &parent->members.back().value;
    }

    std::size_t m_documentSize;
    Value m_root;
    // The objects and lists open now; a member is added only to the innermost,
    // so no pointer here is invalidated while it is open.
    std::vector<Value*> m_open;
    std::string m_key;
    std::optional<HostError> m_refusal;
};

Variant DecodeInteger(const Text& key, const Value& value)
{
    const bool fits = value.kind == Value::Kind::Unsigned
                          ? value.unsignedInteger <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
                          : value.integer >= std::numeric_limits<std::int32_t>::min() &&
                                value.integer <= std::numeric_limits<std::int32_t>::max();
    if (!fits) {
        throw StoredValueError(ErrorNumber::Overflow, key,
                               u"die Zahl " + ShortText(value) + u" liegt außerhalb von -2147483648 bis 2147483647");
    }
    return static_cast<std::int32_t>(value.kind == Value::Kind::Unsigned ? static_cast<std::int64_t>(value.unsignedInteger)
                                                                          : value.integer);
}

const Value& Field(const Text& key, const Value& object, const char* name, Value::Kind kind, const Text& expected)
{
    const Value* found = Find(object.members, name);
    if (!found) {
        throw StoredValueError(ErrorNumber::InvalidFileFormat, key, u"es fehlt " + Quoted(TextFromAscii(name)));
    }
    if (found->kind != kind) {
        throw StoredValueError(ErrorNumber::TypeMismatch, key,
                               Quoted(TextFromAscii(name)) + u" muss " + expected + u" sein, ist aber " +
                                   ShortText(*found));
    }
    return *found;
}

PictureRef DecodePicture(const Text& key, const Value& object, PictureLoader& pictures)
{
    const auto bytes = Base64Decode(Field(key, object, "data", Value::Kind::String, u"Text").text);
    if (!bytes) {
        throw StoredValueError(ErrorNumber::InvalidFileFormat, key, u"die Bilddaten sind kein gültiges Base64");
    }
    try {
        return pictures.LoadPicture(*bytes);
    } catch (const HostError& error) {
        throw StoredValueError(error, key);
    }
}

FontRef DecodeFont(const Text& key, const Value& object)
{
    const Text name = TextFromUtf8(Field(key, object, "Name", Value::Kind::String, u"Text").text);
    const Text sizeText = TextFromUtf8(Field(key, object, "Size", Value::Kind::String, u"Text").text);
    const auto size = FontSize::FromText(sizeText);
    if (!size) {
        throw StoredValueError(ErrorNumber::InvalidPropertyValue, key,
                               u"die Schriftgröße " + Quoted(sizeText) + u" ist keine Zahl wie \u201E8.25\u201C");
    }
    const auto style = [&](const char* name) {
        return Field(key, object, name, Value::Kind::Boolean, u"true oder false").boolean;
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
        throw StoredValueError(error, key);
    }
    font->SetBold(bold);
    font->SetItalic(italic);
    font->SetUnderline(underline);
    font->SetStrikethrough(strikethrough);
    return font;
}

Variant Decode(const Text& key, const Value& value, PictureLoader& pictures)
{
    switch (value.kind) {
    case Value::Kind::Null:
        return PictureRef();
    case Value::Kind::Boolean:
        return value.boolean;
    case Value::Kind::Integer:
    case Value::Kind::Unsigned:
        return DecodeInteger(key, value);
    case Value::Kind::String:
        return TextFromUtf8(value.text);
    case Value::Kind::Object: {
        const std::string& type = Field(key, value, "type", Value::Kind::String, u"Text").text;
        if (type == PictureType) {
            return DecodePicture(key, value, pictures);
        }
        if (type == FontType) {
            return DecodeFont(key, value);
        }
        throw StoredValueError(ErrorNumber::InvalidFileFormat, key,
                               u"unbekannte Art " + Quoted(TextFromUtf8(type.substr(0, 40))) +
                                   u" (erwartet: picture oder font)");
    }
    case Value::Kind::Float:
        throw StoredValueError(ErrorNumber::TypeMismatch, key, ShortText(value) + u" ist keine ganze Zahl");
    case Value::Kind::Array:
        break;
    }
    throw StoredValueError(ErrorNumber::TypeMismatch, key, u"Listen und Binärdaten werden nicht unterstützt");
}

Value Encode(const Text& key, const Variant& value)
{
    return std::visit(
        [&key](const auto& content) -> Value {
            using T = std::decay_t<decltype(content)>;
            Value encoded;
            if constexpr (std::is_same_v<T, std::monostate>) {
                throw StoredValueError(ErrorNumber::TypeMismatch, key, u"ein leerer Wert kann nicht gespeichert werden");
            } else if constexpr (std::is_same_v<T, Text>) {
                encoded.kind = Value::Kind::String;
                encoded.text = Utf8FromText(content);
            } else if constexpr (std::is_same_v<T, PictureRef>) {
                if (content) {
                    encoded.kind = Value::Kind::Object;
                    encoded.members.push_back({"type", Encode(key, Text(u"picture"))});
                    Value data;
                    data.kind = Value::Kind::String;
                    data.text = Base64Encode(content->FileData());
                    encoded.members.push_back({"data", std::move(data)});
                }
            } else if constexpr (std::is_same_v<T, FontRef>) {
                if (!content) {
                    throw StoredValueError(ErrorNumber::ObjectMissing, key, u"keine Schrift angegeben");
                }
                const auto truth = [](bool b) {
                    Value v;
                    v.kind = Value::Kind::Boolean;
                    v.boolean = b;
                    return v;
                };
                encoded.kind = Value::Kind::Object;
                encoded.members.push_back({"type", Encode(key, Text(u"font"))});
                encoded.members.push_back({"Name", Encode(key, content->Name())});
                encoded.members.push_back({"Size", Encode(key, content->Size().ToText())});
                encoded.members.push_back({"Bold", truth(content->Bold())});
                encoded.members.push_back({"Italic", truth(content->Italic())});
                encoded.members.push_back({"Underline", truth(content->Underline())});
                encoded.members.push_back({"Strikethrough", truth(content->Strikethrough())});
            } else if constexpr (std::is_same_v<T, bool>) {
                encoded.kind = Value::Kind::Boolean;
                encoded.boolean = content;
            } else if constexpr (std::is_same_v<T, double>) {
                encoded.kind = Value::Kind::Float;
                encoded.number = content;
            } else {
                encoded.kind = Value::Kind::Integer;
                encoded.integer = content;
            }
            return encoded;
        },
        value);
}

Json AsJson(const Value& value)
{
    switch (value.kind) {
    case Value::Kind::Null:
        return nullptr;
    case Value::Kind::Boolean:
        return value.boolean;
    case Value::Kind::Integer:
        return value.integer;
    case Value::Kind::Unsigned:
        return value.unsignedInteger;
    case Value::Kind::Float:
        return value.number;
    case Value::Kind::String:
        return value.text;
    case Value::Kind::Array:
        return Json::array();
    case Value::Kind::Object:
        break;
    }
    Json object = Json::object();
    for (const auto& member : value.members) {
        object[member.key] = AsJson(member.value);
    }
    return object;
}

bool OnlyWhiteSpace(std::span<const std::uint8_t> document)
{
    return std::all_of(document.begin(), document.end(),
                       [](std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

HostError OutOfMemory(const Text& what)
{
    return HostError(ErrorNumber::OutOfMemory, u"Nicht genügend Speicher: " + what);
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
    if (document.size() > MostDocumentBytes) {
        throw FileError(u"sie ist größer als " + DecimalText(MostDocumentBytes) + u" Bytes");
    }
    if (OnlyWhiteSpace(document)) {
        throw FileError(u"sie ist leer");
    }
    try {
        ValueBuilder builder(document.size());
        const bool parsed = Json::sax_parse(document.begin(), document.end(), &builder);
        if (builder.Refusal()) {
            throw *builder.Refusal();
        }
        if (!parsed) {
            throw FileError(u"sie ist kein gültiges JSON");
        }
        Value& root = builder.Root();
        if (root.kind != Value::Kind::Object) {
            throw FileError(u"sie enthält kein JSON-Objekt mit Eigenschaften, sondern " + ShortText(root));
        }
        auto parsedDocument = std::make_unique<Document>();
        parsedDocument->members = std::move(root.members);
        return JsonPropertyStore(pictures, std::move(parsedDocument));
    } catch (const std::bad_alloc&) {
        throw OutOfMemory(u"die Eigenschaftsdatei ist zu groß");
    } catch (const Json::exception&) {
        throw FileError(u"sie ist kein gültiges JSON");
    }
}

JsonPropertyStore JsonPropertyStore::ReadFile(FileInput& files, const Text& fileName, PictureLoader& pictures)
{
    return Parse(files.ReadAllBytes(fileName, MostDocumentBytes), pictures);
}

std::vector<std::uint8_t> JsonPropertyStore::Serialize() const
{
    Json document = Json::object();
    for (const auto& member : m_document->members) {
        document[member.key] = AsJson(member.value);
    }
    const std::string text = document.dump(2) + "\n";
    return {text.begin(), text.end()};
}

void JsonPropertyStore::WriteFile(FileOutput& files, const Text& fileName) const
{
    files.ReplaceWithBytes(fileName, ByteSnapshot::Of(Serialize()));
}

Variant JsonPropertyStore::ReadProperty(const Text& key, const Variant& defaultValue)
{
    const std::string name = Utf8FromText(key);
    const Value* found = Find(m_document->members, name);
    if (!found) {
        return CopyOf(defaultValue);
    }
    try {
        if (found->kind != Value::Kind::Object) {
            return Decode(key, *found, *m_pictures);
        }
        const auto cached = m_document->pictures.find(name);
        if (cached != m_document->pictures.end()) {
            return cached->second;
        }
        Variant decoded = Decode(key, *found, *m_pictures);
        if (const auto* picture = std::get_if<PictureRef>(&decoded)) {
            m_document->pictures[name] = *picture;
        }
        return decoded;
    } catch (const std::bad_alloc&) {
        throw StoredValueError(ErrorNumber::OutOfMemory, key, u"nicht genügend Speicher");
    }
}

void JsonPropertyStore::WriteProperty(const Text& key, const Variant& value, const Variant&)
{
    std::string name = Utf8FromText(key);
    m_document->pictures.erase(name);
    Value encoded = Encode(key, value);
    // The member that reading finds.
    if (Value* found = Find(m_document->members, name)) {
        *found = std::move(encoded);
        return;
    }
    m_document->members.push_back({std::move(name), std::move(encoded)});
}

}  // namespace qv
