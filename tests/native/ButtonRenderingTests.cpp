#include "ScriptedButtonHost.h"

#include "button/Button.h"
#include "host/base/HostError.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace qv::test {
namespace {

// A 100 x 30 button: its content is (4, 4, 96, 26), 92 x 22; captions measure 40 x 12.
class ButtonRendering : public ButtonTest {
protected:
    ButtonRendering()
    {
        control.emplace(parts.Host());
        control->InitDefaults();
        control->SetCaption(u"OK");
        control->SetBackColor(0x112233);
        control->SetColor_Hover(0x445566);
        control->SetColor_Pressed(0x778899);
        control->SetForeColor(0x80000012);
        control->OnResize();
        journal.clear();
    }

    const Journal& Redraw()
    {
        control->Refresh();
        return canvas.steps;
    }
};

TEST_F(ButtonRendering, ARedrawPaintsFaceEdgePictureFocusAndCaptionInThatOrderThenShowsTheImage)
{
    EXPECT_EQ(Redraw(), (Journal{"Cls", "surface.BackColor 0x112233", "MeasureText OK 4,4,96,26 0x415",
                                 "TextColor 0x121212", "PaintText OK 30,9,70,21 0x15"}));
    EXPECT_EQ(journal, (Journal{"Refresh"}));

    control->SetXPShowBorderAlways(true);
    control->SetPicture(MakePicture(423, 423));
    control->PreviewState(false, false, true);
    EXPECT_EQ(canvas.steps, (Journal{"Cls", "surface.BackColor 0x112233", "FrameRect 0,0,99,29 0x101010",
                                     "FrameRect 0,0,101,31 0x141414", "FrameRect -1,-1,101,31 0x151515",
                                     "MeasureText OK 4,4,96,26 0x415", "DrawPicture 16x16 as 16x16 at 10,7 key 0x0",
                                     "FocusRect 4,4,96,26", "TextColor 0x121212", "PaintText OK 30,9,70,21 0x15"}));
    EXPECT_EQ(canvas.lastParams.cbSize, 20u);
    EXPECT_EQ(canvas.lastParams.iTabLength, 1);
    EXPECT_EQ(canvas.lastParams.iLeftMargin, 1);
    EXPECT_EQ(canvas.lastParams.iRightMargin, 1);

    control->SetShowFocusRect(false);
    EXPECT_EQ(std::count(canvas.steps.begin(), canvas.steps.end(), "FocusRect 4,4,96,26"), 0);

    // Where the container hides its keyboard cues: no focus rectangle, no mnemonic underline.
    control->SetShowFocusRect(true);
    control->SetKeyboardCues(false, false);
    EXPECT_EQ(std::count(canvas.steps.begin(), canvas.steps.end(), "FocusRect 4,4,96,26"), 0);
    EXPECT_EQ(canvas.steps.back(), "PaintText OK 30,9,70,21 0x100015");
    control->SetKeyboardCues(true, true);
    EXPECT_EQ(std::count(canvas.steps.begin(), canvas.steps.end(), "FocusRect 4,4,96,26"), 1);
    EXPECT_EQ(canvas.steps.back(), "PaintText OK 30,9,70,21 0x15");
}

TEST_F(ButtonRendering, TheFaceColourFollowsHoverAndPressWithPressWinning)
{
    struct Case {
        bool over;
        bool pressed;
        const char* face;
    };
    const Case cases[] = {{false, false, "surface.BackColor 0x112233"},
                          {true, false, "surface.BackColor 0x445566"},
                          {true, true, "surface.BackColor 0x778899"},
                          {false, true, "surface.BackColor 0x778899"}};
    for (const Case& c : cases) {
        control->PreviewState(c.over, c.pressed, false);
        ASSERT_GE(canvas.steps.size(), 2u);
        EXPECT_EQ(canvas.steps[1], c.face) << c.over << c.pressed;
        EXPECT_EQ(std::count_if(canvas.steps.begin(), canvas.steps.end(),
                                [](const std::string& step) { return step.rfind("surface.BackColor", 0) == 0; }),
                  1);
    }
}

TEST_F(ButtonRendering, ADisabledButtonShowsOnlyItsFaceAndEdge)
{
    control->SetPicture(MakePicture(423, 423));
    control->SetXPShowBorderAlways(true);
    control->SetEnabled(false);
    for (const std::string& step : canvas.steps) {
        EXPECT_EQ(step.rfind("DrawPicture", 0), std::string::npos) << step;
        EXPECT_EQ(step.rfind("PaintText", 0), std::string::npos) << step;
    }
    EXPECT_EQ(canvas.steps.back(), "TextColor 0x121212");
    EXPECT_EQ(std::count_if(canvas.steps.begin(), canvas.steps.end(),
                            [](const std::string& step) { return step.rfind("FrameRect", 0) == 0; }),
              3);
}

TEST_F(ButtonRendering, EachArrangementPlacesPictureAndCaptionAsItsTableSays)
{
    control->SetPicture(MakePicture(423, 423));
    struct Case {
        std::int32_t position;
        Rect picture;
        Rect caption;
    };
    const Case cases[] = {
        {0, {42, -1, 58, 15}, {30, 19, 70, 31}},
        {1, {10, 7, 26, 23}, {30, 9, 70, 21}},
        {2, {64, 7, 80, 23}, {20, 9, 60, 21}},
        {3, {42, 15, 58, 31}, {30, -1, 70, 11}},
    };
    for (const Case& c : cases) {
        control->SetPicturePosition(c.position);
        EXPECT_EQ(control->PictureRect(), c.picture) << c.position;
        EXPECT_EQ(control->CaptionRect(), c.caption) << c.position;
    }

    // With no caption the picture is centred and the caption's rectangle is left alone.
    control->SetCaption(u"");
    EXPECT_EQ(control->PictureRect(), (Rect{42, 7, 58, 23}));
    EXPECT_EQ(control->CaptionRect(), (Rect{30, -1, 70, 11}));
    EXPECT_EQ(std::count_if(canvas.steps.begin(), canvas.steps.end(),
                            [](const std::string& step) { return step.rfind("MeasureText", 0) == 0; }),
              0);

    // Without a picture the caption is centred and the picture's rectangle
    // stays where the last layout with a picture (arrangement 3) put it.
    control->SetCaption(u"OK");
    control->SetPicture(nullptr);
    EXPECT_EQ(control->CaptionRect(), (Rect{30, 9, 70, 21}));
    EXPECT_EQ(control->PictureRect(), (Rect{42, 15, 58, 31}));

    // An unknown arrangement centres the caption and puts the picture where arrangement 1 would.
    control->SetPicture(MakePicture(423, 423));
    control->SetPicturePosition(7);
    EXPECT_EQ(control->CaptionRect(), (Rect{30, 9, 70, 21}));
    EXPECT_EQ(control->PictureRect(), (Rect{10, 7, 26, 23}));
}

TEST_F(ButtonRendering, HalvesTruncateTowardZeroAndAWideCaptionStartsLeftOfTheContent)
{
    canvas.measuredWidth = 10;
    surface.width = 13;
    control->Refresh();
    // Content 5 wide, caption 10: 4 + half of -5, which is -2.
    EXPECT_EQ(control->CaptionRect().left, 2);

    canvas.measuredWidth = 130;
    surface.width = 100;
    control->Refresh();
    EXPECT_EQ(control->CaptionRect(), (Rect{-15, 9, 115, 21}));

    // A picture wider than the content starts left of it too, at (92 - 101) / 2 = -4 from the edge.
    control->SetCaption(u"");
    control->SetPicture(MakePicture(423, 423));
    control->SetPictureWidth(101);
    EXPECT_EQ(control->PictureRect().left, 0);
}

TEST_F(ButtonRendering, LayoutArithmeticBeyondThirtyTwoBitsOverflowsAndStopsTheRedrawThere)
{
    control->SetPicture(MakePicture(423, 423));
    journal.clear();
    // 0 and 3 add the picture's height to the caption's, 1 and 2 its width to a position or the caption's.
    const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
    for (const std::int32_t position : {0, 1, 2, 3}) {
        control->SetPicturePosition(position);
        canvas.steps.clear();
        try {
            if (position == 0 || position == 3) {
                control->SetPictureHeight(huge);
            } else {
                control->SetPictureWidth(huge);
            }
            ADD_FAILURE() << "no overflow in arrangement " << position;
        } catch (const HostError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::Overflow) << position;
            EXPECT_EQ(canvas.steps.back().rfind("MeasureText", 0), 0u) << position;
        }
        if (position == 0 || position == 3) {
            control->SetPictureHeight(16);
        } else {
            control->SetPictureWidth(16);
        }
    }

    canvas.steps.clear();
    EXPECT_THROW(control->SetPictureHeight(std::numeric_limits<std::int32_t>::min()), HostError);
    // The face was drawn, nothing after the layout, and the image was not shown.
    EXPECT_EQ(canvas.steps.front(), "Cls");
    for (const std::string& step : canvas.steps) {
        EXPECT_EQ(step.rfind("DrawPicture", 0), std::string::npos);
    }
    // Shown: the arrangements and the sizes set back, never a redraw that overflowed.
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Refresh"), 8);
}

TEST_F(ButtonRendering, TheKeyColourGoesToThePictureAsStoredAndTextColoursAreTranslated)
{
    control->SetPicture(MakePicture(423, 423));
    control->SetMaskColor(0x8000000F);
    EXPECT_NE(std::find(canvas.steps.begin(), canvas.steps.end(), "DrawPicture 16x16 as 16x16 at 10,7 key 0x8000000F"),
              canvas.steps.end());
    control->SetForeColor(0x00FF00);
    EXPECT_NE(std::find(canvas.steps.begin(), canvas.steps.end(), "TextColor 0xFF00"), canvas.steps.end());
    // A value above 0xFFFFFF without the system bit still reads as a system colour index.
    control->SetForeColor(0x01000005);
    EXPECT_NE(std::find(canvas.steps.begin(), canvas.steps.end(), "TextColor 0x50505"), canvas.steps.end());
}

TEST_F(ButtonRendering, AnAmbientChangeAndAPreviewRedraw)
{
    control->OnAmbientChanged(u"Font");
    control->PreviewState(true, false, false);
    EXPECT_EQ(journal, (Journal{"Refresh", "Refresh"}));
}

}  // namespace
}  // namespace qv::test
