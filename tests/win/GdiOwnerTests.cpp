#include "WindowPixels.h"

#include "host/gdi/GdiOwners_win.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(GdiOwners, EachOwnerGivesItsHandleBackOnceAndSelectionsAreUndone)
{
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    {
        OwnedMemoryDC memory(CreateCompatibleDC(nullptr));
        OwnedBitmap owned(CreateBitmap(4, 4, 1, 32, nullptr));
        dc = memory.Get();
        bitmap = owned.Get();
        const HGDIOBJ original = GetCurrentObject(dc, OBJ_BITMAP);
        {
            const Selection selected(dc, bitmap);
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
        }
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), original);

        // Moving hands the handle over; the moved-from owner releases nothing.
        OwnedBitmap moved(std::move(owned));
        EXPECT_FALSE(owned);
        EXPECT_EQ(moved.Get(), bitmap);
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
        owned = std::move(moved);
    }
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(GdiOwners, APaintContextEndsThePaintAndValidatesTheWindow)
{
    TestParent parent;
    ShowWindow(parent.Get(), SW_SHOWNOACTIVATE);
    InvalidateRect(parent.Get(), nullptr, FALSE);
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(parent.Get(), &pending, FALSE));
    {
        const PaintDC paint(parent.Get());
        EXPECT_TRUE(paint.Get());
        EXPECT_GT(paint.Area().right, 0);
    }
    EXPECT_FALSE(GetUpdateRect(parent.Get(), &pending, FALSE));
}

}  // namespace
}  // namespace qv::test
