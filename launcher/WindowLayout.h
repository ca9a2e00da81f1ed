#pragma once
// Where the launcher window's elements sit, in pixels of a display with a
// given density. The layout is drawn in twips at 96 dots per inch (15 twips a
// pixel); every other density scales it by dpi/96 so that it stays crisp.

namespace qv {

struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const noexcept { return left + width; }
    int Bottom() const noexcept { return top + height; }
    bool operator==(const PixelBox&) const = default;
};

struct WindowLayout {
    PixelBox client;
    // Width of the light frame drawn around the client area.
    int frameWidth = 1;
    PixelBox lbl_Titel2;
    PixelBox Label1;
    PixelBox img_Logo;
    PixelBox lbl_Status;
    // Em height of the labels' font in pixels (14.25 points).
    int fontPixels = 19;
    // Where the status line may grow when its text wraps: between the logo
    // and the frame.
    PixelBox statusRoom;
};

WindowLayout LayoutForDpi(int dpi);

// The box a label needs for text of `textHeight` pixels in lines of
// `lineHeight`: its own box for one line, otherwise as many whole lines as
// `room` holds, centred in the room, at the label's own left and width.
PixelBox GrowToFit(const PixelBox& home, const PixelBox& room, int textHeight, int lineHeight);

}  // namespace qv
