#include "TestSupport.h"

#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/window/Dpi_win.h"
#include "host/shell/LauncherServices_win.h"
#include "launcher/LauncherWindow_win.h"
#include "launcher/PictureResource_win.h"
#include "launcher/ResourceIds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace qv::test {
namespace {

// The window's own log is tested end to end; here it records nothing.
class Unrecorded final : public RunLog {
protected:
    void Write(const Text&) override {}
};

// The built Quorvelinde.exe, opened for its resources only.
class LauncherResources {
public:
    LauncherResources()
    {
        const std::filesystem::path tests(AsWide(WindowsLauncherServices().ProgramPath()));
        m_module = LoadLibraryExW((tests / L"Quorvelinde.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~LauncherResources()
    {
        if (m_module) {
            FreeLibrary(m_module);
        }
    }
    LauncherResources(const LauncherResources&) = delete;
    LauncherResources& operator=(const LauncherResources&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module = nullptr;
};

PixelBox BoxInParent(HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) {
        return {0, 0};
    }
    const OwnedBitmap colour(info.hbmColor);
    const OwnedBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(colour.Get(), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

int LineHeightOf(HWND control)
{
    const WindowDC dc(control);
    const Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight;
}

// The window is built but never shown, so its sequence does not start.
TEST(LauncherWindowTest, IsLaidOutWithItsLabelsFontAndIconsBeforeItShows)
{
    const LauncherResources resources;
    ASSERT_TRUE(resources.Get());
    Unrecorded log;
    LauncherWindow window(u"127.0.0.1:9", {}, resources.Get(), log);
    const HWND hwnd = window.Handle();
    // The test prefix runs at 96 dots per inch, where the layout is in whole pixels.
    ASSERT_EQ(DpiOfWindow(hwnd), 96);

    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(WindowText(hwnd), u"Quorvelinde");
    RECT outer{};
    RECT client{};
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(outer.right - outer.left, 505);
    EXPECT_EQ(outer.bottom - outer.top, 281);
    EXPECT_EQ(client.right, 505);
    EXPECT_EQ(client.bottom, 281);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    const SIZE big = IconSize(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)));
    const SIZE small = IconSize(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(big.cx, 40);
    EXPECT_EQ(big.cy, 40);
    EXPECT_EQ(small.cx, GetSystemMetrics(SM_CXSMICON));

    const HWND title = GetDlgItem(hwnd, LauncherWindow::TitleId);
    const HWND hint = GetDlgItem(hwnd, LauncherWindow::HintId);
    const HWND status = GetDlgItem(hwnd, LauncherWindow::StatusId);
    ASSERT_TRUE(title && hint && status);
    EXPECT_EQ(WindowText(title), u"Die Quorvelinde wird gestartet.");
    EXPECT_EQ(WindowText(hint), u"Bitte haben Sie einen Moment Geduld.");
    EXPECT_EQ(BoxInParent(title), (PixelBox{24, 24, 456, 23}));
    EXPECT_EQ(BoxInParent(hint), (PixelBox{24, 56, 456, 23}));
    EXPECT_EQ(BoxInParent(status), (PixelBox{24, 240, 456, 23}));

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(title, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Calibri");
    EXPECT_EQ(font.lfHeight, -19);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    EXPECT_EQ(SendMessageW(status, WM_GETFONT, 0, 0), SendMessageW(title, WM_GETFONT, 0, 0));
}

TEST(LauncherWindowTest, ALongStatusWrapsIntoWholeLinesBetweenLogoAndFrameAndShrinksBack)
{
    const LauncherResources resources;
    ASSERT_TRUE(resources.Get());
    Unrecorded log;
    LauncherWindow window(u"127.0.0.1:9", {}, resources.Get(), log);
    ASSERT_EQ(DpiOfWindow(window.Handle()), 96);
    StaticLabel& status = window.StatusLabel();

    const Text longText = u"Aktuelle Version wird geladen: 2.147.483.647 Bytes von einem sehr langsamen Server";
    status.SetCaption(longText);
    EXPECT_EQ(status.Caption(), longText);
    const PixelBox grown = BoxInParent(status.Handle());
    const int line = LineHeightOf(status.Handle());
    EXPECT_EQ(grown.left, 24);
    EXPECT_EQ(grown.width, 456);
    EXPECT_EQ(grown.height % line, 0) << grown.height << " is no whole number of " << line << "-pixel lines";
    EXPECT_GE(grown.height, 2 * line);
    // Between the logo's bottom (88 + 141) and the frame inside the 281-pixel client area.
    EXPECT_GE(grown.top, 229);
    EXPECT_LE(grown.Bottom(), 280);

    status.SetCaption(u"Aktuelle Version wird gestartet...");
    EXPECT_EQ(BoxInParent(status.Handle()), (PixelBox{24, 240, 456, 23}));
    status.SetCaption(u"");
    EXPECT_EQ(BoxInParent(status.Handle()), (PixelBox{24, 240, 456, 23}));
    EXPECT_EQ(status.Caption(), u"");
}

TEST(LauncherWindowTest, TheLogoIsDecodedByThePlatformAtItsNaturalSize)
{
    const LauncherResources resources;
    ASSERT_TRUE(resources.Get());
    const PixelImage logo = LoadPictureResource(resources.Get(), QV_LOGO_JPEG);
    ASSERT_EQ(logo.width, 161);
    ASSERT_EQ(logo.height, 141);
    const auto channel = [](std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); };
    // White around the mark and in its centre, blue in its disc.
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{160, 140}, std::pair{80, 70}}) {
        EXPECT_GE(channel(logo.At(x, y), 16), 240) << x << "," << y;
        EXPECT_GE(channel(logo.At(x, y), 0), 240) << x << "," << y;
    }
    const std::uint32_t disc = logo.At(80, 120);
    EXPECT_GT(channel(disc, 0), channel(disc, 16) + 80);

    EXPECT_THROW(LoadPictureResource(resources.Get(), 4711), HostError);
}

}  // namespace
}  // namespace qv::test
