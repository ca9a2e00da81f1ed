#pragma once
// A control surface, container, property store and picture loader whose
// behaviour a test sets, all writing what is asked of them into one journal,
// so that a test can check the order of reads, writes and notifications.

#include "ScriptedHost.h"

#include "button/Button.h"
#include "button/ButtonCanvas.h"
#include "host/gdi/Picture.h"
#include "host/store/PropertyStore.h"
#include "host/window/ContainerServices.h"
#include "host/window/ControlSurface.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <map>
#include <string>
#include <vector>

namespace qv::test {

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
    void SetText(const Text& value) override { text = value; }
    void SetBackColor(OleColor colour) override;
    void SetForeColor(OleColor colour) override;
    FontRef Font() const override;
    void SetFont(const FontObject& value) override;
    void SetScaleMode(ScaleMode mode) override;
    void SetStretchMode(std::int32_t mode) override;
    Text Tag() const override { return u"030102-15"; }
    std::int32_t HimetricToPixels(std::int32_t himetric) const override;
    std::int32_t ScaleWidth() const override { return width; }
    std::int32_t ScaleHeight() const override { return height; }
    void SetWidthTwips(std::int32_t twips) override;
    void SetHeightTwips(std::int32_t twips) override;
    void Invalidate() override;
    void ShowNow() override { m_journal.push_back("Show"); }

    bool enabled = true;
    std::int16_t pointer = 0;
    PictureRef icon;
    WindowHandle handle = 0x1234;
    Text text;
    OleColor backColor = 0;
    OleColor foreColor = 0;
    FontRef font = std::make_shared<FontObject>();
    int dpi = 96;
    std::int32_t width = 100;
    std::int32_t height = 30;
    int stretchMode = 0;
    int redraws = 0;
    // Runs on a size change, as the window's size notification would.
    std::function<void()> resized;
    // While a redraw runs (from the canvas's Cls to Invalidate) what the
    // surface is asked goes to the redraw's steps instead of the journal.
    Journal* redrawSteps = nullptr;

private:
    void Record(std::string entry);

    Journal& m_journal;
};

// Records the drawing of the last redraw, step by step; measures every text
// as `measured` pixels wide and high.
class ScriptedCanvas final : public ButtonCanvas {
public:
    explicit ScriptedCanvas(ScriptedSurface& surface) : m_surface(surface) {}

    void Cls() override;
    OleColor SysColor(std::uint32_t index) override;
    void FrameRect(const Rect& rect, OleColor rgb) override;
    Rect MeasureText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params) override;
    void PaintText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params) override;
    void SetTextColor(OleColor rgb) override;
    void DrawFocusRect(const Rect& rect) override;
    void DrawPicture(const PictureObject& picture, std::int32_t naturalWidth, std::int32_t naturalHeight,
                     std::int32_t drawnWidth, std::int32_t drawnHeight, std::int32_t x, std::int32_t y,
                     OleColor keyColour) override;

    Journal steps;
    std::int32_t measuredWidth = 40;
    std::int32_t measuredHeight = 12;
    DrawTextParams lastParams;

private:
    ScriptedSurface& m_surface;
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

class ScriptedTimer final : public Timer {
public:
    explicit ScriptedTimer(Journal& journal) : m_journal(journal) {}
    void SetInterval(std::int32_t milliseconds) override { interval = milliseconds; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override;

    std::int32_t interval = 0;
    bool enabled = false;

private:
    Journal& m_journal;
};

// The pointer is where the test puts it, over the window the test names.
class ScriptedPointer final : public PointerServices {
public:
    explicit ScriptedPointer(Journal& journal) : m_journal(journal) {}
    ScreenPoint CursorPos() override { return position; }
    WindowHandle WindowFromPoint(ScreenPoint) override { return windowUnder; }

    ScreenPoint position;
    WindowHandle windowUnder = 0;

private:
    Journal& m_journal;
};

class ScriptedSound final : public SoundPlayer {
public:
    explicit ScriptedSound(Journal& journal) : m_journal(journal) {}
    bool PlayWaveFile(const Text& path) override;

private:
    Journal& m_journal;
};

// Everything a button is built on, scripted, with one journal.
struct ScriptedButtonParts {
    ScriptedButtonParts() = default;
    ScriptedButtonParts(const ScriptedButtonParts&) = delete;
    ScriptedButtonParts& operator=(const ScriptedButtonParts&) = delete;

    ButtonHost Host() { return {surface, canvas, container, pictures, timer, pointer, sound}; }

    Journal journal;
    ScriptedSurface surface{journal};
    ScriptedCanvas canvas{surface};
    ScriptedContainer container{journal};
    ScriptedPictureLoader pictures;
    ScriptedTimer timer{journal};
    ScriptedPointer pointer{journal};
    ScriptedSound sound{journal};
};

// A fixture with every part a button is built on, under the names tests use,
// and room for the button.
class ButtonTest : public ::testing::Test {
protected:
    ScriptedButtonParts parts;
    Journal& journal = parts.journal;
    ScriptedSurface& surface = parts.surface;
    ScriptedCanvas& canvas = parts.canvas;
    ScriptedContainer& container = parts.container;
    ScriptedPictureLoader& pictures = parts.pictures;
    std::optional<button> control;
};

// Every event of the button, with its parameters, into the journal.
void JournalEvents(button& b, Journal& journal);

std::string RectText(const Rect& rect);
std::string Hex(std::uint32_t value);

FontRef MakeFont(const Text& name, double points, bool bold = false, bool italic = false,
                    bool underline = false, bool strikethrough = false);

}  // namespace qv::test
