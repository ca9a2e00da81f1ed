#pragma once
// A control surface, container, property store and picture loader whose
// behaviour a test sets, all writing what is asked of them into one journal,
// so that a test can check the order of reads, writes and notifications.

#include "host/ContainerServices.h"
#include "host/ControlSurface.h"
#include "host/Picture.h"
#include "host/PropertyStore.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qv::test {

using Journal = std::vector<std::string>;

// Picture data "PIC <width> <height>" (HIMETRIC) decodes; other data does not.
class ScriptedPicture final : public PictureObject {
public:
    ScriptedPicture(std::int32_t width, std::int32_t height, bool empty = false)
        : m_width(width), m_height(height), m_empty(empty)
    {
    }
    std::int32_t Width() const override { return m_width; }
    std::int32_t Height() const override { return m_height; }
    bool IsEmpty() const override { return m_empty; }
    std::vector<std::uint8_t> FileData() const override;

private:
    std::int32_t m_width;
    std::int32_t m_height;
    bool m_empty;
};

PictureRef MakePicture(std::int32_t width, std::int32_t height);

class ScriptedPictureLoader final : public PictureLoader {
public:
    PictureRef LoadPicture(std::span<const std::uint8_t> fileData) override;
};

class ScriptedSurface final : public ControlSurface {
public:
    explicit ScriptedSurface(Journal& journal) : m_journal(journal) {}

    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override;
    std::int16_t MousePointer() const override { return pointer; }
    void SetMousePointer(std::int16_t shape) override;
    PictureRef MouseIcon() const override { return icon; }
    void SetMouseIcon(const PictureRef& value) override;
    WindowHandle Handle() const override { return handle; }
    void SetBackColor(OleColor colour) override;
    void SetForeColor(OleColor colour) override;
    FontRef Font() const override;
    void SetFont(const FontObject& value) override;
    void SetScaleMode(ScaleMode mode) override;
    void SetStretchMode(std::int32_t mode) override;
    Text Tag() const override { return u"030102-15"; }
    std::int32_t HimetricToPixelsX(std::int32_t himetric) const override;
    std::int32_t HimetricToPixelsY(std::int32_t himetric) const override;
    std::int32_t ScaleWidth() const override { return width; }
    std::int32_t ScaleHeight() const override { return height; }
    void SetWidthTwips(std::int32_t twips) override;
    void SetHeightTwips(std::int32_t twips) override;
    void Invalidate() override;

    bool enabled = true;
    std::int16_t pointer = 0;
    PictureRef icon;
    WindowHandle handle = 0x1234;
    OleColor backColor = 0;
    OleColor foreColor = 0;
    FontRef font = std::make_shared<FontObject>();
    int dpiX = 96;
    int dpiY = 96;
    std::int32_t width = 100;
    std::int32_t height = 30;
    int stretchMode = 0;
    ScaleMode scaleMode = ScaleMode::Twips;
    int redraws = 0;
    // Runs on a size change, as the window's size notification would.
    std::function<void()> resized;

private:
    Journal& m_journal;
};

class ScriptedContainer final : public ContainerServices {
public:
    explicit ScriptedContainer(Journal& journal) : m_journal(journal) {}

    Text DisplayName() override;
    // A new font object with `ambient`'s attributes on every call.
    FontRef AmbientFont() override;
    void PropertyChanged(const Text& propertyName) override;

    Text displayName = u"Command1";
    // Runs inside each property-changed notification, after it is journalled.
    std::function<void(const Text&)> onChanged;
    FontRef ambient = std::make_shared<FontObject>();
    std::vector<Text> changed;

private:
    Journal& m_journal;
};

class ScriptedStore final : public PropertyStore {
public:
    explicit ScriptedStore(Journal& journal) : m_journal(journal) {}

    Variant ReadProperty(const Text& key, const Variant& defaultValue) override;
    void WriteProperty(const Text& key, const Variant& value, const Variant& defaultValue) override;

    std::map<Text, Variant> values;
    std::map<Text, Variant> defaults;
    std::vector<Text> order;

private:
    Journal& m_journal;
};

FontRef MakeFont(const Text& name, double points, bool bold = false, bool italic = false,
                    bool underline = false, bool strikethrough = false);

}  // namespace qv::test
