#pragma once
// A property store kept as a JSON document (UTF-8), one member per key in the
// order they were first written, so that a person can read and compare it:
//
//   integers        32                      truth values  true
//   text            "OK"                    nothing       null
//   picture         {"type": "picture", "data": "<base64 of the picture file>"}
//   empty picture   {"type": "picture", "data": ""}
//   font            {"type": "font", "Name": "Tahoma", "Size": "8.25", "Bold": false,
//                    "Italic": false, "Underline": false, "Strikethrough": false}
//
// Every written value is kept, also one equal to its default. Reading checks
// a value when its key is read; a value that cannot be read raises HostError
// naming the key. A picture read twice is decoded once.

#include "host/files/FileInput.h"
#include "host/files/FileOutput.h"
#include "host/gdi/Picture.h"
#include "host/store/PropertyStore.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qv {

class JsonPropertyStore final : public PropertyStore {
public:
    // An empty store; `pictures` decodes the pictures read from it.
    explicit JsonPropertyStore(PictureLoader& pictures);
    ~JsonPropertyStore() override;
    JsonPropertyStore(JsonPropertyStore&&) noexcept;
    JsonPropertyStore& operator=(JsonPropertyStore&&) noexcept;

    // No store needs more: a larger document is refused before it is parsed.
    static constexpr std::size_t MostDocumentBytes = 8 * 1024 * 1024;

    // Throws HostError 321 with a German description (and the byte position
    // where there is one) for a document that is empty, cut off, not JSON,
    // not an object, larger than MostDocumentBytes or nested deeper than 8
    // levels; 7 when memory runs out.
    static JsonPropertyStore Parse(std::span<const std::uint8_t> document, PictureLoader& pictures);
    static JsonPropertyStore ReadFile(FileInput& files, const Text& fileName, PictureLoader& pictures);

    // Two-space indentation, members in order, a line end at the end.
    std::vector<std::uint8_t> Serialize() const;
    // Replaces the file in one step: a failed save leaves the old file whole.
    void WriteFile(FileOutput& files, const Text& fileName) const;

    Variant ReadProperty(const Text& key, const Variant& defaultValue) override;
    void WriteProperty(const Text& key, const Variant& value, const Variant& defaultValue) override;

private:
    struct Document;
    JsonPropertyStore(PictureLoader& pictures, std::unique_ptr<Document> document);

    PictureLoader* m_pictures;
    std::unique_ptr<Document> m_document;
};

}  // namespace qv
