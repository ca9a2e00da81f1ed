#include "WindowLayout.h"

#include "host/base/Units.h"

#include <algorithm>

namespace qv {
namespace {

struct TwipsBox {
    int left, top, width, height;
};

constexpr TwipsBox ClientTwips{0, 0, 7575, 4215};
constexpr TwipsBox TitleTwips{360, 360, 6840, 345};
constexpr TwipsBox HintTwips{360, 840, 6840, 345};
constexpr TwipsBox LogoTwips{2640, 1320, 2415, 2115};
constexpr TwipsBox StatusTwips{360, 3600, 6840, 345};
constexpr double LabelPoints = 14.25;

PixelBox Scale(const TwipsBox& box, int dpi)
{
    return {TwipsToPixels(box.left, dpi), TwipsToPixels(box.top, dpi), TwipsToPixels(box.width, dpi),
            TwipsToPixels(box.height, dpi)};
}

}  // namespace

WindowLayout LayoutForDpi(int dpi)
{
    WindowLayout layout;
    layout.client = Scale(ClientTwips, dpi);
    layout.frameWidth = std::max(1, dpi / 96);
    layout.lbl_Titel2 = Scale(TitleTwips, dpi);
    layout.Label1 = Scale(HintTwips, dpi);
    layout.img_Logo = Scale(LogoTwips, dpi);
    layout.lbl_Status = Scale(StatusTwips, dpi);
    layout.fontPixels = PointsToPixels(LabelPoints, dpi);
    const int roomTop = layout.img_Logo.Bottom();
    const int roomBottom = layout.client.Bottom() - layout.frameWidth;
    layout.statusRoom = {layout.lbl_Status.left, roomTop, layout.lbl_Status.width, roomBottom - roomTop};
    return layout;
}

PixelBox GrowToFit(const PixelBox& home, const PixelBox& room, int textHeight, int lineHeight)
{
    // One line stays where the layout puts it, even when the font's line is a
    // pixel taller than the box: the cut is below the descenders.
    if (textHeight <= std::max(home.height, lineHeight) || lineHeight <= 0) {
        return home;
    }
    const int wholeLines = std::max(1, room.height / lineHeight);
    const int height = std::max(home.height, std::min(textHeight, wholeLines * lineHeight));
    if (height > room.height) {
        return home;
    }
    return {home.left, room.top + (room.height - height) / 2, home.width, height};
}

}  // namespace qv
