#include "Button.h"

namespace qv {
namespace {

constexpr std::int32_t MinimumInnerPixels = 10;
constexpr std::int32_t MinimumOuterTwips = 150;
constexpr std::int32_t FocusInset = 4;

}  // namespace

void button::Refresh()
{
    m_surface.Invalidate();
}

void button::UserControl_Resize()
{
    if (m_surface.ScaleWidth() < MinimumInnerPixels) {
        m_surface.SetWidthTwips(MinimumOuterTwips);
    }
    if (m_surface.ScaleHeight() < MinimumInnerPixels) {
        m_surface.SetHeightTwips(MinimumOuterTwips);
    }
    g_rcFocus = {FocusInset, FocusInset, m_surface.ScaleWidth() - FocusInset, m_surface.ScaleHeight() - FocusInset};
    Refresh();
}

}  // namespace qv
