#include "ScriptedButtonHost.h"

#include "button/Button.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv::test {
namespace {

constexpr WindowHandle OtherWindow = 0x9999;

// A 100 x 30 button "OK" with three recognisable faces; every event goes to the journal.
class ButtonInput : public ::testing::Test {
protected:
    ButtonInput()
    {
        b.InitDefaults();
        b.SetCaption(u"OK");
        b.SetBackColor(0x000001);
        b.SetColor_Hover(0x000002);
        b.SetColor_Pressed(0x000003);
        b.OnResize();
        parts.pointer.windowUnder = parts.surface.handle;
        JournalEvents(b, parts.journal);
        parts.journal.clear();
    }

    // The face of the last redraw.
    std::string Face() const
    {
        const Journal& steps = parts.canvas.steps;
        return steps.size() > 1 ? steps[1] : "";
    }

    void Hover() { b.OnMouseMove(0, 0, 10, 10); }
    void PointerLeaves()
    {
        parts.pointer.windowUnder = OtherWindow;
        b.OnOverTimerTick();
    }

    ScriptedButtonParts parts;
    button b{parts.Host()};
    Journal& journal = parts.journal;
};

TEST_F(ButtonInput, AClickInsideShowsPressedThenPlaysTheSoundAndClicksBeforeTheMouseUp)
{
    Hover();
    EXPECT_EQ(journal, (Journal{"timer on", "MouseIn 0", "Refresh", "Show", "MouseMove 0 0 10 10"}));
    EXPECT_EQ(Face(), "surface.BackColor 0x2");
    journal.clear();
    b.OnMouseDown(1, 0, 10, 10);
    EXPECT_EQ(Face(), "surface.BackColor 0x3");
    b.OnMouseUp(1, 0, 10, 10);
    EXPECT_EQ(journal, (Journal{"Refresh", "MouseDown 1 0 10 10", "Refresh", "PlaySound .\\resources\\click.wav",
                                "Click", "MouseUp 1 0 10 10"}));
    EXPECT_EQ(Face(), "surface.BackColor 0x2");
    // Moves while hovering change nothing but raise MouseMove.
    journal.clear();
    b.OnMouseMove(1, 4, 20.5f, 3);
    EXPECT_EQ(journal, (Journal{"MouseMove 1 4 20.5 3"}));
}

TEST_F(ButtonInput, ReleasedOutsideItShowsReleasedWithoutSoundOrClick)
{
    Hover();
    b.OnMouseDown(1, 0, 10, 10);
    journal.clear();
    b.OnMouseMove(1, 0, 100, 10);
    b.OnMouseUp(1, 0, 100, 10);
    EXPECT_EQ(journal, (Journal{"MouseMove 1 0 100 10", "Refresh", "MouseUp 1 0 100 10"}));
    // The edges: 0 is inside, the width is not, and neither is a negative position.
    journal.clear();
    for (const auto& [x, y] : {std::pair{0.0f, 0.0f}, {99.9f, 29.9f}, {-0.1f, 5.0f}, {50.0f, 30.0f}}) {
        b.OnMouseDown(4, 0, 5, 5);
        b.OnMouseUp(4, 0, x, y);
    }
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Click"), 2);
}

TEST_F(ButtonInput, OnlyAPressItReceivedClicksWhenReleasedOverIt)
{
    // Pressed elsewhere and released here: a drag that ends on the button.
    Hover();
    journal.clear();
    b.OnMouseUp(1, 0, 10, 10);
    EXPECT_EQ(journal, (Journal{"Refresh", "MouseUp 1 0 10 10"}));
    // One button's press does not make another's release a click; a lost capture abandons the press.
    b.OnMouseDown(4, 0, 10, 10);
    b.OnMouseUp(1, 0, 10, 10);
    b.OnMouseDown(1, 0, 10, 10);
    b.OnCaptureLost();
    b.OnMouseUp(1, 0, 10, 10);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Click"), 0);
    // A double-click's second press counts as a press.
    b.OnDoubleClick();
    b.OnMouseUp(1, 0, 10, 10);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Click"), 1);
}

TEST_F(ButtonInput, HandlersMayReplaceTheEventsOrDestroyTheButtonMidInput)
{
    Hover();
    b.OnMouseDown(1, 0, 10, 10);
    ButtonEvents replaced;
    replaced.MouseUp = [this](std::int16_t, std::int16_t, float, float) { journal.push_back("new MouseUp"); };
    ButtonEvents replacing;
    replacing.Click = [&] {
        journal.push_back("Click");
        b.SetEvents(replaced);
    };
    b.SetEvents(replacing);
    journal.clear();
    b.OnMouseUp(1, 0, 10, 10);
    EXPECT_EQ(journal, (Journal{"Refresh", "PlaySound .\\resources\\click.wav", "Click", "new MouseUp"}));

    // Once its window is gone, nothing of that input follows: no event, no redraw.
    ButtonEvents destroying;
    destroying.Click = [this] { parts.surface.handle = 0; };
    destroying.MouseUp = replaced.MouseUp;
    destroying.KeyUp = [this](std::int16_t, std::int16_t) { journal.push_back("KeyUp"); };
    b.SetEvents(destroying);
    b.OnMouseDown(1, 0, 10, 10);
    journal.clear();
    b.OnMouseUp(1, 0, 10, 10);
    EXPECT_EQ(journal, (Journal{"Refresh", "PlaySound .\\resources\\click.wav"}));
    parts.surface.handle = 0x1234;
    b.OnKeyDown(32, 0);
    journal.clear();
    b.OnKeyUp(32, 0);
    EXPECT_EQ(journal, (Journal{"Refresh", "Refresh", "PlaySound .\\resources\\click.wav"}));
}

TEST_F(ButtonInput, DraggedOutTheHoverEndsWithTheReleasedLookAndBackInItIsPressedAgainAndClicks)
{
    Hover();
    b.OnMouseDown(1, 2, 10, 10);
    b.OnMouseMove(1, 2, 150, 10);
    journal.clear();
    PointerLeaves();
    // MouseOut carries the Shift of the mouse-down; the released look, then still pressed.
    EXPECT_EQ(journal, (Journal{"timer off", "MouseOut 2", "Refresh", "Refresh"}));
    EXPECT_EQ(Face(), "surface.BackColor 0x1");

    journal.clear();
    parts.pointer.windowUnder = parts.surface.handle;
    b.OnMouseMove(1, 0, 50, 10);
    EXPECT_EQ(Face(), "surface.BackColor 0x3");
    b.OnMouseUp(1, 0, 50, 10);
    EXPECT_EQ(journal, (Journal{"timer on", "MouseIn 0", "Refresh", "Show", "MouseMove 1 0 50 10", "Refresh",
                                "PlaySound .\\resources\\click.wav", "Click", "MouseUp 1 0 50 10"}));
}

TEST_F(ButtonInput, TheRightButtonNeitherPressesNorClicksButIsReported)
{
    Hover();
    journal.clear();
    b.OnMouseDown(2, 1, 5, 5);
    b.OnMouseUp(2, 1, 5, 5);
    EXPECT_EQ(journal, (Journal{"MouseDown 2 1 5 5", "MouseUp 2 1 5 5"}));

    // A right release clears a press of another button, without a redraw.
    b.OnMouseDown(1, 0, 5, 5);
    journal.clear();
    b.OnMouseUp(2, 0, 5, 5);
    EXPECT_EQ(journal, (Journal{"MouseUp 2 0 5 5"}));
    b.Refresh();
    EXPECT_EQ(Face(), "surface.BackColor 0x2");
}

TEST_F(ButtonInput, TheSpaceBarPressesOnceAndClicksOnItsReleaseOtherKeysOnlyReport)
{
    b.OnKeyDown(32, 0);
    EXPECT_EQ(Face(), "surface.BackColor 0x3");
    b.OnKeyDown(32, 0);
    b.OnKeyPress(32);
    b.OnKeyUp(32, 1);
    EXPECT_EQ(journal, (Journal{"Refresh", "KeyDown 32 0", "KeyDown 32 0", "KeyPress 32", "Refresh", "Refresh",
                                "PlaySound .\\resources\\click.wav", "Click", "MouseUp 1 1 0 0", "KeyUp 32 1"}));
    EXPECT_EQ(Face(), "surface.BackColor 0x1");
    // The space bar's hover flag comes without the timer, MouseIn or the hover picture.
    EXPECT_FALSE(parts.timer.enabled);

    journal.clear();
    b.OnKeyDown(13, 0);
    b.OnKeyPress(13);
    b.OnKeyUp(13, 0);
    EXPECT_EQ(journal, (Journal{"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"}));
}

TEST_F(ButtonInput, OnlyASpacePressedOnTheButtonClicksEvenWithAnotherKeyHeldWhichShowsNoPress)
{
    // Pressed elsewhere, say in the window before the focus came: only reported.
    b.OnKeyUp(32, 0);
    EXPECT_EQ(journal, (Journal{"KeyUp 32 0"}));
    journal.clear();

    b.OnKeyDown(65, 0);
    b.OnKeyDown(32, 0);
    EXPECT_EQ(journal, (Journal{"KeyDown 65 0", "KeyDown 32 0"}));
    journal.clear();
    b.OnKeyUp(32, 0);
    b.OnKeyUp(65, 0);
    EXPECT_EQ(journal, (Journal{"Refresh", "Refresh", "PlaySound .\\resources\\click.wav", "Click", "MouseUp 1 0 0 0",
                                "KeyUp 32 0", "KeyUp 65 0"}));
}

TEST_F(ButtonInput, ADoubleClickReplaysTheFirstPressAndGivesTwoClicks)
{
    Hover();
    b.OnMouseDown(1, 2, 5, 6);
    b.OnMouseUp(1, 2, 5, 6);
    journal.clear();
    b.OnDoubleClick();
    EXPECT_EQ(Face(), "surface.BackColor 0x3");
    b.OnMouseUp(1, 2, 5, 6);
    EXPECT_EQ(journal, (Journal{"Refresh", "MouseDown 1 2 5 6", "Refresh",
                                "PlaySound .\\resources\\click.wav", "Click", "MouseUp 1 2 5 6"}));
}

TEST_F(ButtonInput, AHoverEndsWhenAnotherWindowCoversTheStillPointerAndNotBefore)
{
    Hover();
    journal.clear();
    for (int tick = 0; tick < 5; ++tick) {
        b.OnOverTimerTick();
    }
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(parts.timer.enabled);
    PointerLeaves();
    EXPECT_EQ(journal, (Journal{"timer off", "MouseOut 0", "Refresh"}));
    EXPECT_FALSE(parts.timer.enabled);
}

TEST_F(ButtonInput, TheHoverPictureShowsWhileHoveringAndTheNormalOneComesBack)
{
    const PictureRef normal = MakePicture(847, 847);
    const PictureRef hover = MakePicture(423, 423);
    b.SetPicture(normal);
    b.SetPictureHover(hover);
    Hover();
    EXPECT_EQ(b.Picture(), hover);
    // Saved while hovering, the file keeps the normal picture, not the one shown in its place.
    ScriptedStore store(journal);
    b.SaveProperties(store);
    EXPECT_EQ(store.values[u"Picture"], Variant(normal));
    EXPECT_EQ(store.values[u"PictureHover"], Variant(hover));
    PointerLeaves();
    EXPECT_EQ(b.Picture(), normal);

    // Without a hover picture nothing is swapped in, but the normal one still comes back.
    b.SetPictureHover(nullptr);
    Hover();
    EXPECT_EQ(b.Picture(), normal);
    PointerLeaves();
    EXPECT_EQ(b.Picture(), normal);
}

TEST_F(ButtonInput, ANewInstanceWithoutPicturesLooksTheSameBeforeDuringAndAfterAHover)
{
    ScriptedButtonParts fresh;
    button created(fresh.Host());
    created.InitDefaults();
    created.SetCaption(u"OK");
    created.OnResize();
    EXPECT_EQ(created.CaptionRect(), (Rect{30, 9, 70, 21}));

    fresh.pointer.windowUnder = fresh.surface.handle;
    created.OnMouseMove(0, 0, 10, 10);
    EXPECT_FALSE(created.Picture());
    EXPECT_EQ(created.CaptionRect(), (Rect{30, 9, 70, 21}));
    fresh.pointer.windowUnder = OtherWindow;
    created.OnOverTimerTick();
    EXPECT_FALSE(created.Picture());
    EXPECT_EQ(created.CaptionRect(), (Rect{30, 9, 70, 21}));
    EXPECT_EQ(std::count_if(fresh.canvas.steps.begin(), fresh.canvas.steps.end(),
                            [](const std::string& step) { return step.rfind("DrawPicture", 0) == 0; }),
              0);
}

TEST_F(ButtonInput, TheHoverShowsAtOnceBeforeTheMoveIsReportedWithoutRunningAnythingElse)
{
    Hover();
    EXPECT_EQ(journal, (Journal{"timer on", "MouseIn 0", "Refresh", "Show", "MouseMove 0 0 10 10"}));
}

TEST_F(ButtonInput, LosingFocusOrTheCaptureWhilePressedShowsReleased)
{
    b.OnEnterFocus();
    EXPECT_EQ(std::count(parts.canvas.steps.begin(), parts.canvas.steps.end(), "FocusRect 4,4,96,26"), 1);
    b.OnMouseDown(1, 0, 5, 5);
    b.OnExitFocus();
    EXPECT_EQ(Face(), "surface.BackColor 0x1");
    EXPECT_EQ(std::count(parts.canvas.steps.begin(), parts.canvas.steps.end(), "FocusRect 4,4,96,26"), 0);

    b.OnMouseDown(1, 0, 5, 5);
    journal.clear();
    b.OnCaptureLost();
    EXPECT_EQ(journal, (Journal{"Refresh"}));
    EXPECT_EQ(Face(), "surface.BackColor 0x1");
    b.OnCaptureLost();
    EXPECT_EQ(journal, (Journal{"Refresh"}));

    // Space held as the focus goes: the press, its hover look and the latch go too, and its release clicks nothing.
    b.OnEnterFocus();
    b.OnKeyDown(32, 0);
    b.OnExitFocus();
    EXPECT_EQ(Face(), "surface.BackColor 0x1");
    EXPECT_FALSE(b.IsMouseOver());
    journal.clear();
    b.OnKeyUp(32, 0);
    b.OnKeyDown(65, 0);
    EXPECT_EQ(journal, (Journal{"KeyUp 32 0", "KeyDown 65 0"}));
}

}  // namespace
}  // namespace qv::test
