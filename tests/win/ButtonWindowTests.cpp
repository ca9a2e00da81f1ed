#include "TestSupport.h"
#include "WindowPixels.h"

#include "button/ButtonWindow_win.h"
#include "host/base/Base64.h"
#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/gdi/GdiFont_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/window/MessagePump_win.h"
#include "quorvelinde/button.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>

namespace qv::test {
namespace {

HWND CreateByClassName(HWND parent, const wchar_t* text, int id, int width = 120, int height = 40)
{
    ButtonWindow::Register();
    return CreateWindowExW(0, ButtonClassName, text, WS_CHILD | WS_VISIBLE, 10, 10, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

PictureRef TestPicture(const wchar_t* name)
{
    return OlePicture::Load(ReadWholeFile(TestPictureFolder() / name));
}

bool AllPixelsAre(const PixelImage& image, std::uint32_t rgb)
{
    for (const std::uint32_t pixel : image.pixels) {
        if (pixel != rgb) {
            return false;
        }
    }
    return !image.pixels.empty();
}

std::uint32_t AsPixel(COLORREF colour)
{
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

TEST(ButtonWindow, APlainParentCreatesItByClassNameAndGetsAWorkingButtonWithItsFont)
{
    TestParent parent;
    const OwnedFont parentFont(CreateFontW(-13, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                      L"Courier New"));
    SendMessageW(parent.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(parentFont.Get()), FALSE);

    const HWND window = CreateByClassName(parent.Get(), L"Speichern", 7);
    ASSERT_TRUE(window);
    ButtonWindow* created = ButtonWindow::FromHandle(window);
    ASSERT_TRUE(created);
    button& b = created->Control();
    EXPECT_EQ(b.Caption(), u"Speichern");
    EXPECT_EQ(b.Font()->Name(), u"Courier New");
    EXPECT_EQ(b.Font()->Size().ToText(), u"9.75");
    EXPECT_TRUE(b.Font()->Bold());
    EXPECT_TRUE(b.Font()->Italic());
    EXPECT_EQ(b.BackColor(), 0x8000000Fu);
    EXPECT_EQ(b.PicturePosition(), 1);
    ASSERT_TRUE(b.PictureHover());
    EXPECT_EQ(AsOlePicture(b.PictureHover())->Type(), PICTYPE_NONE);
    EXPECT_EQ(b.hwnd(), static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(window)));
    EXPECT_EQ(b.version(), u"030102-15");

    // Without text and without a parent font: "button" and the id, and the system's message font.
    TestParent plain;
    const HWND unnamed = CreateByClassName(plain.Get(), L"", 42);
    ASSERT_TRUE(unnamed);
    button& other = ButtonWindow::FromHandle(unnamed)->Control();
    EXPECT_EQ(other.Caption(), u"button42");
    EXPECT_TRUE(other.Font()->SameAttributes(*SystemMessageFont(96)));

    DestroyWindow(window);
    EXPECT_EQ(ButtonWindow::FromHandle(window), nullptr);
}

TEST(ButtonWindow, TheOffScreenImageServesPrintClientInTheBackColour)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"OK", 1, 90, 30);
    button& b = ButtonWindow::FromHandle(window)->Control();
    b.SetCaption(u"");
    PixelImage image = PrintClient(window);
    EXPECT_EQ(image.width, 90);
    EXPECT_EQ(image.height, 30);
    EXPECT_TRUE(AllPixelsAre(image, AsPixel(GetSysColor(COLOR_BTNFACE))));

    b.SetBackColor(RGB(10, 200, 30));
    EXPECT_TRUE(AllPixelsAre(PrintClient(window), 0x0AC81E));

    // A larger window keeps the image and fills what is new.
    SetWindowPos(window, nullptr, 0, 0, 150, 50, SWP_NOMOVE | SWP_NOZORDER);
    image = PrintClient(window);
    EXPECT_EQ(image.width, 150);
    EXPECT_TRUE(AllPixelsAre(image, 0x0AC81E));

    // Smaller than ten pixels grows back to ten.
    SetWindowPos(window, nullptr, 0, 0, 4, 3, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 10);
    EXPECT_EQ(client.bottom, 10);
    EXPECT_EQ(b.FocusRect(), (Rect{4, 4, 6, 6}));

    // Erasing the background is left to the image.
    const WindowDC dc(window);
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
}

TEST(ButtonWindow, PointerShapesAreAppliedWhenThePointerIsOverTheButton)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"Zeiger", 1);
    button& b = ButtonWindow::FromHandle(window)->Control();
    const auto setCursor = [window] {
        return SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    const struct {
        std::int32_t shape;
        const wchar_t* cursor;
    } shapes[] = {
        {1, IDC_ARROW},   {2, IDC_CROSS},    {3, IDC_IBEAM},  {5, IDC_SIZEALL},     {6, IDC_SIZENESW},
        {7, IDC_SIZENS},  {8, IDC_SIZENWSE}, {9, IDC_SIZEWE}, {10, IDC_UPARROW},    {11, IDC_WAIT},
        {12, IDC_NO},     {13, IDC_APPSTARTING},              {14, IDC_HELP},       {15, IDC_SIZEALL},
    };
    for (const auto& shape : shapes) {
        b.SetMousePointer(shape.shape);
        SetCursor(nullptr);
        EXPECT_TRUE(setCursor()) << shape.shape;
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, shape.cursor)) << shape.shape;
    }
    b.SetMousePointer(4);
    SetCursor(nullptr);
    EXPECT_TRUE(setCursor());
    EXPECT_TRUE(GetCursor());

    // The custom icon, and the class's arrow without one.
    const PictureRef icon = TestPicture(L"pattern.ico");
    b.SetMouseIcon(icon);
    b.SetMousePointer(99);
    SetCursor(nullptr);
    EXPECT_TRUE(setCursor());
    EXPECT_EQ(GetCursor(), reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(AsOlePicture(icon)->Handle())));
    b.SetMouseIcon(nullptr);
    SetCursor(nullptr);
    setCursor();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    b.SetMousePointer(0);
    SetCursor(nullptr);
    setCursor();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

    // Unknown shapes and pictures that are no icon are refused.
    EXPECT_THROW(b.SetMousePointer(16), HostError);
    EXPECT_THROW(b.SetMousePointer(-1), HostError);
    try {
        b.SetMouseIcon(TestPicture(L"pattern.bmp"));
        FAIL() << "a bitmap became the mouse icon";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::InvalidPicture);
    }
    EXPECT_EQ(b.MousePointer(), 0);
    EXPECT_FALSE(b.MouseIcon());
}

TEST(ButtonWindow, EnabledFontAndPictureSizesGoThroughTheWindow)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"Aus", 1);
    button& b = ButtonWindow::FromHandle(window)->Control();
    b.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(window));
    EnableWindow(window, TRUE);
    EXPECT_TRUE(b.Enabled());

    const OwnedFont font(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, TRUE, TRUE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    const FontRef own = b.Font();
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    EXPECT_EQ(b.Font(), own);
    EXPECT_EQ(own->Name(), u"Arial");
    EXPECT_EQ(own->Size().ToText(), u"12");
    EXPECT_TRUE(own->Underline());
    EXPECT_TRUE(own->Strikethrough());
    const auto used = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_TRUE(used);
    EXPECT_TRUE(FontObjectOf(used, 96)->SameAttributes(*own));

    b.SetPicture(TestPicture(L"pattern.png"));
    EXPECT_EQ(b.OriginalPicSizeW(), 40);
    EXPECT_EQ(b.OriginalPicSizeH(), 20);
    EXPECT_EQ(b.PictureWidth(), 40);
    b.SetPicture(TestPicture(L"pattern.ico"));
    EXPECT_EQ(b.PictureWidth(), 32);
    EXPECT_EQ(b.PictureHeight(), 32);
}

TEST(ButtonWindow, AContainerPlacesItChangesEveryPropertyAndSavesItBackUnchanged)
{
    TestParent parent;
    TestContainer container{u"cmdSpeichern", 10};
    ButtonCreateParams params;
    params.container = &container;
    ButtonWindow& first = ButtonWindow::Create(parent.Get(), 11, {5, 5, 205, 65}, params);
    EXPECT_EQ(first.OwnContainer(), nullptr);
    button& b = first.Control();
    b.InitDefaults();
    EXPECT_EQ(b.Caption(), u"cmdSpeichern");
    EXPECT_EQ(b.Font()->Name(), u"Tahoma");

    b.SetCaption(u"Speichern \u00FCber \u201EAlles\u201C");
    b.SetPicturePosition(2);
    b.SetPicture(TestPicture(L"pattern.jpg"));
    b.SetPictureWidth(24);
    b.SetPictureHeight(12);
    b.SetPictureHover(TestPicture(L"pattern.gif"));
    b.SetEnabled(false);
    auto font = std::make_shared<FontObject>();
    font->SetName(u"Arial");
    font->SetSize(FontSize::FromPoints(11.25));
    font->SetItalic(true);
    b.SetFont(font);
    b.SetMouseIcon(TestPicture(L"pattern.ico"));
    b.SetMousePointer(99);
    b.SetShowFocusRect(false);
    b.SetColor_Pressed(0x0000FF);
    b.SetColor_Hover(0x80000010);
    b.SetBackColor(0xEEEEEE);
    b.SetForeColor(0x80000008);
    b.SetSoundOver(std::int32_t{12});
    b.SetSoundClick(u"klick.wav");
    b.SetDefCurHand(true);
    b.SetXPShowBorderAlways(true);
    b.SetMaskColor(0x00FF00);
    b.SetTransparentBG(true);
    EXPECT_EQ(container.changed.size(), 21u);

    TempFolder folder;
    const Text saved = AsText(folder.Path() / L"knopf.json");
    first.SavePropertiesToFile(saved);

    ButtonWindow& second = ButtonWindow::Create(parent.Get(), 12, {5, 80, 205, 140}, params);
    second.LoadPropertiesFromFile(saved);
    button& c = second.Control();
    EXPECT_EQ(c.Caption(), b.Caption());
    EXPECT_EQ(c.PicturePosition(), 2);
    EXPECT_EQ(c.PictureWidth(), 24);
    EXPECT_EQ(c.OriginalPicSizeW(), 40);
    EXPECT_EQ(c.Picture()->Width(), b.Picture()->Width());
    EXPECT_EQ(AsOlePicture(c.PictureHover())->Type(), PICTYPE_BITMAP);
    EXPECT_FALSE(IsWindowEnabled(second.Handle()));
    EXPECT_TRUE(c.Font()->SameAttributes(*b.Font()));
    EXPECT_EQ(AsOlePicture(c.MouseIcon())->Type(), PICTYPE_ICON);
    EXPECT_EQ(c.MousePointer(), 99);
    EXPECT_EQ(c.BackColor(), 0xEEEEEEu);
    EXPECT_EQ(c.SoundOver(), Variant(Text(u"12")));
    EXPECT_EQ(c.MaskColor(), 0x00FF00u);
    // Disabled: the face inside the edge, nothing else.
    const PixelImage shown = PrintClient(second.Handle());
    EXPECT_EQ(shown.At(shown.width / 2, shown.height / 2), 0xEEEEEEu);
    EXPECT_EQ(shown.At(0, 0), AsPixel(GetSysColor(COLOR_BTNHIGHLIGHT)));

    const Text again = AsText(folder.Path() / L"wieder.json");
    second.SavePropertiesToFile(again);
    EXPECT_EQ(ReadWholeFile(folder.Path() / L"wieder.json"), ReadWholeFile(folder.Path() / L"knopf.json"));
    // Saving replaced the file in one step: nothing else is left in the folder.
    EXPECT_EQ(folder.Entries().size(), 2u);
}

TEST(ButtonWindow, ABrokenStoreFileIsRefusedWithItsReasonAndKeepsWhatLoadedBeforeIt)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"Alt", 1);
    ButtonWindow& created = *ButtonWindow::FromHandle(window);
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / L"kaputt.json";

    WriteWholeFile(file, {'{', '"', 'C'});
    try {
        created.LoadPropertiesFromFile(AsText(file));
        FAIL() << "a cut-off file loaded";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::InvalidFileFormat);
        EXPECT_NE(error.Description().find(u"bricht mitten im JSON ab"), Text::npos);
    }
    EXPECT_EQ(created.Control().Caption(), u"Alt");

    const std::string document = R"({"BackColor": 255, "Caption": "Neu", "Picture": {"type": "picture", "data": "AAAA"}})";
    WriteWholeFile(file, std::vector<std::uint8_t>(document.begin(), document.end()));
    try {
        created.LoadPropertiesFromFile(AsText(file));
        FAIL() << "an undecodable picture loaded";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::InvalidPicture);
        EXPECT_NE(error.Description().find(u"\u201EPicture\u201C"), Text::npos);
    }
    EXPECT_EQ(created.Control().Caption(), u"Neu");
    EXPECT_EQ(created.Control().BackColor(), 255u);

    EXPECT_THROW(created.LoadPropertiesFromFile(AsText(folder.Path() / L"fehlt.json")), HostError);
}

TEST(ButtonWindow, AStoreFileBeyondItsLimitsIsRefusedAtItsKeyAndTheButtonStillDraws)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"Alt", 1);
    ButtonWindow& created = *ButtonWindow::FromHandle(window);
    created.Control().SetPicture(TestPicture(L"pattern.bmp"));
    TempFolder folder;
    const std::filesystem::path file = folder.Path() / L"grenzen.json";
    const auto refusal = [&](const std::string& document) {
        WriteWholeFile(file, std::vector<std::uint8_t>(document.begin(), document.end()));
        try {
            created.LoadPropertiesFromFile(AsText(file));
        } catch (const HostError& error) {
            return error;
        }
        return HostError(0, u"geladen");
    };

    HostError error = refusal(R"({"Caption": "Neu", "PictureWidth": 40000})");
    EXPECT_EQ(error.Number(), ErrorNumber::Overflow);
    EXPECT_NE(error.Description().find(u"\u201EPictureWidth\u201C"), Text::npos) << error.what();
    EXPECT_EQ(created.Control().Caption(), u"Neu");
    EXPECT_EQ(created.Control().PictureWidth(), 40);
    error = refusal(R"({"PictureWidth": 30000, "PictureHeight": 30000})");
    EXPECT_NE(error.Description().find(u"\u201EPictureHeight\u201C"), Text::npos) << error.what();
    EXPECT_EQ(created.Control().PictureHeight(), 20);
    EXPECT_EQ(created.Control().PictureWidth(), 40) << "neither side of a refused pair is applied";
    // A pair within the limit loads, whatever size the button had: 4096 x 512 on a 2048 x 2048 button.
    created.Control().SetPictureWidth(2048);
    created.Control().SetPictureHeight(2048);
    error = refusal(R"({"PictureWidth": 4096, "PictureHeight": 512})");
    EXPECT_EQ(error.Number(), 0) << error.what();
    EXPECT_EQ(created.Control().PictureWidth(), 4096);
    EXPECT_EQ(created.Control().PictureHeight(), 512);

    error = refusal(std::string(100000, '[') + std::string(100000, ']'));
    EXPECT_EQ(error.Number(), ErrorNumber::InvalidFileFormat);
    EXPECT_NE(error.Description().find(u"verschachtelt"), Text::npos) << error.what();
    error = refusal("{\"Caption\": \"" + std::string(9 * 1024 * 1024, 'x') + "\"}");
    EXPECT_EQ(error.Number(), ErrorNumber::InvalidFileFormat);
    // A bitmap of 64 bytes that claims 16000 x 16000 pixels is refused before it is decoded.
    std::vector<std::uint8_t> claim(64);
    claim[0] = 'B';
    claim[1] = 'M';
    claim[14] = 40;
    claim[19] = claim[23] = 0x3E;
    claim[18] = claim[22] = 0x80;
    claim[26] = 1;
    claim[28] = 8;
    claim[30] = 1;
    error = refusal(R"({"Picture": {"type": "picture", "data": ")" + Base64Encode(claim) + R"("}})");
    EXPECT_EQ(error.Number(), ErrorNumber::InvalidPicture);
    EXPECT_NE(error.Description().find(u"16000 \u00D7 16000"), Text::npos) << error.what();

    // The button draws and takes the pointer as before: nothing reaches the top level.
    created.Control().Refresh();
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(PrintClient(window).pixels.empty());
}

TEST(ButtonWindow, OrdinaryWin32CallsNeverEndTheProgram)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"OK", 1);
    ButtonWindow& created = *ButtonWindow::FromHandle(window);
    button& b = created.Control();
    std::vector<Text> changed;
    created.OwnContainer()->propertyChanged = [&changed](const Text& name) { changed.push_back(name); };

    // A font the button cannot use is passed over, as stock controls take any font.
    const Text before = b.Font()->Size().ToText();
    const OwnedFont huge(CreateFontW(-3000, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(huge.Get()), TRUE);
    EXPECT_EQ(b.Font()->Size().ToText(), before);

    // As with stock controls, WM_GETFONT answers with the program's own font,
    // which the program may delete; NULL goes back to the default font, and
    // without the redraw flag nothing is shown anew.
    {
        const OwnedFont courier(
            CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New"));
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(courier.Get()), TRUE);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), courier.Get());
        EXPECT_EQ(b.Font()->Name(), u"Courier New");
    }
    ShowWindow(parent.Get(), SW_SHOWNOACTIVATE);
    UpdateWindow(parent.Get());
    SendMessageW(window, WM_SETFONT, 0, TRUE);
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(window, &pending, FALSE)) << "WM_SETFONT with redraw shows the new font";
    const auto standard = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), standard);
    LOGFONTW description{};
    GetObjectW(standard, sizeof description, &description);
    EXPECT_EQ(b.Font()->Name(), FromWide(description.lfFaceName));
    UpdateWindow(window);
    const OwnedFont arial(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(arial.Get()), FALSE);
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE)) << "WM_SETFONT without redraw shows nothing anew";
    EXPECT_EQ(b.Font()->Name(), u"Arial");

    // A caption with a NUL stays whole; the window shows what comes before it.
    changed.clear();
    const Text caption(u"Speichern\0unter", 15);
    b.SetCaption(caption);
    EXPECT_EQ(b.Caption(), caption);
    EXPECT_EQ(WindowText(window), u"Speichern");
    EXPECT_EQ(changed, std::vector<Text>{u"Caption"});

    // A length beyond the limit is refused before anything of the buffer is read.
    const wchar_t shortCaption[] = L"Kurz";
    for (const WPARAM length : {WPARAM{4097}, WPARAM{1048576}, WPARAM{0x7fffffff}}) {
        EXPECT_EQ(SendMessageW(window, QVBM_SETCAPTION, length, reinterpret_cast<LPARAM>(shortCaption)), QVB_E_INVALIDVALUE);
    }
    EXPECT_EQ(b.Caption(), caption);

    // A caller's own creation data whose first field happens to be the size of the button's own.
    struct CallersOwn {
        std::uint32_t size;
        std::uint32_t kind;
        const wchar_t* label;
        void* owner;
    } own{static_cast<std::uint32_t>(sizeof(ButtonCreateParams)), 7, L"Etikett", &parent};
    const HWND labelled = CreateWindowExW(0, ButtonClassName, L"Etikett", WS_CHILD, 0, 0, 80, 30, parent.Get(), nullptr,
                                          GetModuleHandleW(nullptr), &own);
    ASSERT_TRUE(labelled);
    EXPECT_EQ(ButtonWindow::FromHandle(labelled)->Control().Caption(), u"Etikett");

    // A quit posted just as the pointer enters stays for the program's own loop.
    PostQuitMessage(3);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST(ButtonWindow, EveryMessageOfTheCInterfaceSetsWhatItNamesOrRefusesItWithOneResult)
{
    TestParent parent;
    const HWND window = CreateByClassName(parent.Get(), L"OK", 1);
    const button& b = ButtonWindow::FromHandle(window)->Control();
    const auto send = [window](UINT message, WPARAM wParam, LPARAM lParam) {
        return static_cast<HRESULT>(SendMessageW(window, message, wParam, lParam));
    };

    const wchar_t caption[] = L"Speichern\0unter";
    EXPECT_EQ(send(QVBM_SETCAPTION, 15, reinterpret_cast<LPARAM>(caption)), QVB_OK);
    EXPECT_EQ(b.Caption(), Text(u"Speichern\0unter", 15));
    wchar_t back[8] = {};
    EXPECT_EQ(send(QVBM_GETCAPTION, std::size(back), reinterpret_cast<LPARAM>(back)), 15);
    EXPECT_STREQ(back, L"Speiche");
    // A caption from outside is held to the limit a property file is, by either message.
    const std::wstring long_(5000, L'x');
    EXPECT_EQ(send(QVBM_SETCAPTION, long_.size(), reinterpret_cast<LPARAM>(long_.c_str())), QVB_E_INVALIDVALUE);
    EXPECT_EQ(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(long_.c_str())), FALSE);
    EXPECT_EQ(b.Caption(), Text(u"Speichern\0unter", 15));

    // Pictures stay the caller's: the button draws them while the caller keeps them.
    const OwnedBitmap bitmap(CreateBitmap(24, 12, 1, 32, nullptr));
    EXPECT_EQ(send(QVBM_SETPICTURE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get())), QVB_OK);
    ASSERT_TRUE(b.Picture());
    EXPECT_EQ(b.PictureWidth(), 24);
    EXPECT_EQ(b.PictureHeight(), 12);
    const HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
    EXPECT_EQ(send(QVBM_SETHOVERPICTURE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), QVB_OK);
    EXPECT_EQ(AsOlePicture(b.PictureHover())->Type(), PICTYPE_ICON);
    EXPECT_EQ(send(QVBM_SETPICTURE, IMAGE_ICON, reinterpret_cast<LPARAM>(bitmap.Get())), QVB_E_INVALIDCALL);
    EXPECT_EQ(send(QVBM_SETPICTURE, IMAGE_CURSOR, reinterpret_cast<LPARAM>(bitmap.Get())), QVB_E_INVALIDCALL);
    const OwnedBitmap huge(CreateBitmap(4096, 2048, 1, 1, nullptr));
    EXPECT_EQ(send(QVBM_SETPICTURE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(huge.Get())), QVB_E_INVALIDPICTURE);
    EXPECT_EQ(b.PictureWidth(), 24);
    EXPECT_EQ(send(QVBM_SETHOVERPICTURE, IMAGE_ICON, 0), QVB_OK);
    EXPECT_FALSE(b.PictureHover());

    EXPECT_EQ(send(QVBM_SETPICTUREPOSITION, 3, 0), QVB_OK);
    EXPECT_EQ(b.PicturePosition(), 3);
    EXPECT_EQ(send(QVBM_GETPICTUREPOSITION, 0, 0), 3);
    EXPECT_EQ(send(QVBM_SETPICTURESIZE, 40, 20), QVB_OK);
    SIZE size{};
    EXPECT_EQ(send(QVBM_GETPICTURESIZE, 0, reinterpret_cast<LPARAM>(&size)), QVB_OK);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 20);
    EXPECT_EQ(send(QVBM_GETPICTURESIZE, 0, 0), QVB_E_INVALIDCALL);
    // A size the drawing cannot take is refused whole, as loading refuses it.
    EXPECT_EQ(send(QVBM_SETPICTURESIZE, 30000, 30000), QVB_E_OVERFLOW);
    EXPECT_EQ(b.PictureWidth(), 40);
    EXPECT_EQ(b.PictureHeight(), 20);

    const std::pair<WPARAM, OleColor (button::*)() const noexcept> colours[] = {
        {QVBC_BACK, &button::BackColor}, {QVBC_FORE, &button::ForeColor}, {QVBC_HOVER, &button::Color_Hover},
        {QVBC_PRESSED, &button::Color_Pressed}, {QVBC_MASK, &button::MaskColor}};
    for (const auto& [which, property] : colours) {
        const OleColor colour = 0x102030 + static_cast<OleColor>(which);
        EXPECT_EQ(send(QVBM_SETCOLOR, which, static_cast<LPARAM>(colour)), QVB_OK);
        EXPECT_EQ((b.*property)(), colour);
        EXPECT_EQ(static_cast<OleColor>(SendMessageW(window, QVBM_GETCOLOR, which, 0)), colour);
    }
    EXPECT_EQ(send(QVBM_SETCOLOR, QVBC_BACK, static_cast<LPARAM>(QVB_SYSCOLOR(COLOR_BTNFACE))), QVB_OK);
    EXPECT_EQ(b.BackColor(), 0x8000000Fu);
    EXPECT_EQ(send(QVBM_SETCOLOR, 5, 0), QVB_E_INVALIDCALL);

    // One number space: the button's own refusals and the system's errors never share a value.
    TempFolder folder;
    const std::wstring file = (folder.Path() / L"knopf.json").wstring();
    EXPECT_EQ(send(QVBM_SAVEPROPERTIES, 0, reinterpret_cast<LPARAM>(file.c_str())), QVB_OK);
    const HWND other = CreateByClassName(parent.Get(), L"Anders", 2);
    EXPECT_EQ(static_cast<HRESULT>(SendMessageW(other, QVBM_LOADPROPERTIES, 0, reinterpret_cast<LPARAM>(file.c_str()))),
              QVB_OK);
    EXPECT_EQ(ButtonWindow::FromHandle(other)->Control().Caption(), b.Caption());
    WriteWholeFile(folder.Path() / L"kaputt.json", {'{'});
    const std::wstring broken = (folder.Path() / L"kaputt.json").wstring();
    EXPECT_EQ(static_cast<HRESULT>(SendMessageW(other, QVBM_LOADPROPERTIES, 0, reinterpret_cast<LPARAM>(broken.c_str()))),
              QVB_E_FILEFORMAT);
    const std::wstring missing = (folder.Path() / L"fehlt.json").wstring();
    EXPECT_EQ(static_cast<HRESULT>(SendMessageW(other, QVBM_LOADPROPERTIES, 0, reinterpret_cast<LPARAM>(missing.c_str()))),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(send(QVBM_LOADPROPERTIES, 0, 0), QVB_E_INVALIDCALL);
}

TEST(ButtonWindow, ScreenReadersReadAnAccessiblePushButtonAndPressItTheStandardWay)
{
    TestParent parent;
    ShowWindow(parent.Get(), SW_SHOWNOACTIVATE);
    const HWND window = CreateByClassName(parent.Get(), L"&Speichern", 3);
    int clicks = 0;
    ButtonEvents events;
    events.Click = [&clicks] { ++clicks; };
    ButtonWindow::FromHandle(window)->SetEvents(events);

    ComPtr<IAccessible> accessible;
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                        reinterpret_cast<void**>(accessible.Put())));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR value = nullptr;
        const HRESULT hr = (accessible.Get()->*get)(self, &value);
        const std::wstring read = SUCCEEDED(hr) && value ? std::wstring(value) : L"(" + std::to_wstring(hr) + L")";
        SysFreeString(value);
        return read;
    };
    const auto state = [&] {
        VARIANT flags{};
        EXPECT_HRESULT_SUCCEEDED(accessible->get_accState(self, &flags));
        return flags.lVal;
    };
    VARIANT role{};
    ASSERT_HRESULT_SUCCEEDED(accessible->get_accRole(self, &role));
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON) << "on every platform, Wine's included";
    // The button itself, in each form the platform's own objects take it.
    VARIANT shortSelf{};
    shortSelf.vt = VT_I2;
    for (const VARIANT& alsoSelf : {VARIANT{}, shortSelf}) {
        VARIANT alsoRole{};
        EXPECT_HRESULT_SUCCEEDED(accessible->get_accRole(alsoSelf, &alsoRole)) << alsoSelf.vt;
    }
    // Where it lies is its client area, the part a pointer can press.
    SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_HRESULT_SUCCEEDED(accessible->accLocation(&left, &top, &width, &height, self));
    const RECT located{left, top, left + width, top + height};
    EXPECT_TRUE(EqualRect(&located, &client));
    VARIANT hit{};
    EXPECT_EQ(accessible->accHitTest(client.left - 1, client.top, &hit), S_FALSE) << "on the edge, outside the client area";
    EXPECT_EQ(accessible->accHitTest(client.left, client.top, &hit), S_OK);
    EXPECT_EQ(text(&IAccessible::get_accName), L"Speichern");
    EXPECT_EQ(text(&IAccessible::get_accKeyboardShortcut), L"Alt+S");
    EXPECT_EQ(text(&IAccessible::get_accDefaultAction), L"Drücken");
    EXPECT_EQ(state() & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED | STATE_SYSTEM_DEFAULT |
                         STATE_SYSTEM_UNAVAILABLE),
              STATE_SYSTEM_FOCUSABLE);

    SetFocus(window);
    EXPECT_TRUE(state() & STATE_SYSTEM_FOCUSED);
    SendMessageW(window, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(state() & STATE_SYSTEM_PRESSED);
    SendMessageW(window, BM_SETSTATE, FALSE, 0);
    SendMessageW(window, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(state() & STATE_SYSTEM_DEFAULT);
    EnableWindow(window, FALSE);
    EXPECT_EQ(state() & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE), STATE_SYSTEM_UNAVAILABLE);
    EnableWindow(window, TRUE);

    // The default action does what BM_CLICK does.
    ASSERT_HRESULT_SUCCEEDED(accessible->accDoDefaultAction(self));
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, std::chrono::milliseconds(2000)));
    EXPECT_EQ(parent.commands.size(), 1u);

    SetWindowTextW(window, L"Ü&bernehmen");
    EXPECT_EQ(text(&IAccessible::get_accName), L"Übernehmen");
    EXPECT_EQ(text(&IAccessible::get_accKeyboardShortcut), L"Alt+B");
    DestroyWindow(window);
    BSTR gone = nullptr;
    EXPECT_EQ(accessible->get_accName(self, &gone), RPC_E_DISCONNECTED);
}

TEST(ButtonWindow, RegisteringClaimsOnlyTheButtonsOwnClassAndOnlyTheLastUnregisterRemovesIt)
{
    const HINSTANCE program = GetModuleHandleW(nullptr);
    // The same name registered by another module, globally, then by this one with another window procedure.
    for (const auto& [owner, style] : {std::pair{GetModuleHandleW(L"kernel32.dll"), UINT{CS_GLOBALCLASS}},
                                       std::pair{program, UINT{0}}}) {
        WNDCLASSEXW foreign{};
        foreign.cbSize = sizeof foreign;
        foreign.style = style;
        foreign.lpfnWndProc = &DefWindowProcW;
        foreign.hInstance = owner;
        foreign.lpszClassName = QV_BUTTON_CLASS;
        ASSERT_TRUE(RegisterClassExW(&foreign));
        SetLastError(0);
        EXPECT_FALSE(QvButtonRegister(program, FALSE));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
        EXPECT_FALSE(QvButtonRegister(program, TRUE));
        ASSERT_TRUE(UnregisterClassW(QV_BUTTON_CLASS, owner));
    }

    // Two parts of a program register it; the first to let go leaves it to the second.
    TestParent parent;
    const auto creates = [&] {
        const HWND made = CreateWindowExW(0, QV_BUTTON_CLASS, L"", WS_CHILD, 0, 0, 10, 10, parent.Get(), nullptr, program,
                                          nullptr);
        if (!made) {
            return false;
        }
        DestroyWindow(made);
        return true;
    };
    ASSERT_TRUE(QvButtonRegister(program, FALSE));
    ASSERT_TRUE(QvButtonRegister(program, FALSE));
    EXPECT_FALSE(QvButtonRegister(program, TRUE)) << "the class is local";
    EXPECT_TRUE(QvButtonUnregister(program));
    EXPECT_TRUE(creates());
    EXPECT_TRUE(QvButtonUnregister(program));
    EXPECT_FALSE(creates());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
}

TEST(ButtonWindow, ItAnswersThePushButtonMessagesOfTheDialogManagerAndOfTestTools)
{
    ASSERT_TRUE(QvButtonRegister(GetModuleHandleW(nullptr), TRUE));
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), QV_BUTTON_CLASS, &registered));
    EXPECT_TRUE(registered.style & CS_GLOBALCLASS);

    TestParent parent;
    const HWND window = CreateWindowExW(0, QV_BUTTON_CLASS, L"&Weiter", WS_CHILD | WS_VISIBLE | BS_NOTIFY, 10, 10, 100,
                                        30, parent.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(4)),
                                        GetModuleHandleW(nullptr), nullptr);
    ButtonWindow& created = *ButtonWindow::FromHandle(window);
    int clicks = 0;
    ButtonEvents events;
    events.Click = [&clicks] { ++clicks; };
    created.SetEvents(events);
    const auto told = [&parent](int code) {
        return std::count_if(parent.commands.begin(), parent.commands.end(),
                             [code](const auto& command) { return command.id == 4 && command.code == code; });
    };

    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON),
              DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(told(BN_CLICKED), 1);
    EXPECT_EQ(told(BN_SETFOCUS), 1) << "a click takes the focus";
    EXPECT_EQ(SendMessageW(window, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS), BST_FOCUS);
    EnableWindow(window, FALSE);
    SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EnableWindow(window, TRUE);

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(window, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(created.Control().IsPressed());
    SendMessageW(window, BM_SETSTATE, FALSE, 0);
    EXPECT_FALSE(SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED);

    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(told(BN_DOUBLECLICKED), 1);
    const auto focusLosses = told(BN_KILLFOCUS);
    SetFocus(parent.Get());
    EXPECT_EQ(told(BN_KILLFOCUS), focusLosses + 1);
}

TEST(ButtonWindow, WithTheGdiTableFullCreatingOneThrowsOutOfMemory)
{
    TestParent parent;
    std::vector<OwnedBrush> filling;
    for (;;) {
        OwnedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        if (!brush) {
            break;
        }
        filling.push_back(std::move(brush));
    }
    try {
        ButtonWindow::Create(parent.Get(), 5, {0, 0, 80, 30}, {});
        ADD_FAILURE() << "created with " << filling.size() << " brushes in the table";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::OutOfMemory) << error.what();
    }
}

}  // namespace
}  // namespace qv::test
