// The button under real input: the pointer moved and buttons and keys pressed
// through SendInput, as a user would, on the test's own display.

#include "WindowPixels.h"

#include "button/ButtonAccessible_win.h"
#include "button/ButtonWindow_win.h"
#include "host/window/MessagePump_win.h"
#include "tests/support/UserInput_win.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qv::test {
namespace {

using Events = std::vector<std::string>;

void PointerTo(HWND window, int x, int y)
{
    ASSERT_TRUE(PointerToClient(window, x, y));
}

void Mouse(DWORD flags)
{
    ASSERT_TRUE(SendMouseButton(flags));
}

void Key(WORD key, bool up)
{
    ASSERT_TRUE(KeyStroke(key, up));
}

// Pumps messages as a dialog's loop does, for a while or until `done`.
void Settle(HWND dialog, int milliseconds, const std::function<bool()>& done = [] { return false; })
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (!done() && GetTickCount64() < end) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

class RealInput : public ::testing::Test {
protected:
    RealInput()
    {
        ButtonWindow::Register();
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 20, 80, 120, 24,
                               parent.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)),
                               GetModuleHandleW(nullptr), nullptr);
        control = CreateWindowExW(0, ButtonClassName, L"Weiter", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 20, 120, 40,
                                  parent.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)),
                                  GetModuleHandleW(nullptr), nullptr);
        ButtonEvents record;
        record.Click = [this] { events.push_back("Click"); };
        record.KeyDown = [this](std::int16_t code, std::int16_t shift) { Add("KeyDown", code, shift); };
        record.KeyPress = [this](std::int16_t ascii) { Add("KeyPress", ascii); };
        record.KeyUp = [this](std::int16_t code, std::int16_t shift) { Add("KeyUp", code, shift); };
        record.MouseDown = [this](std::int16_t button, std::int16_t shift, float x, float y) {
            Add("MouseDown", button, shift, x, y);
        };
        record.MouseUp = [this](std::int16_t button, std::int16_t shift, float x, float y) {
            Add("MouseUp", button, shift, x, y);
        };
        record.MouseIn = [this](std::int16_t shift) { Add("MouseIn", shift); };
        record.MouseOut = [this](std::int16_t shift) { Add("MouseOut", shift); };
        ButtonWindow::FromHandle(control)->SetEvents(std::move(record));

        // Start with the pointer away from the button, the window in front.
        ShowWindow(parent.Get(), SW_SHOWNORMAL);
        SetForegroundWindow(parent.Get());
        PointerTo(parent.Get(), 300, 250);
        Settle(parent.Get(), 200);
        events.clear();
    }

    template <typename... Values>
    void Add(const char* name, Values... values)
    {
        std::ostringstream line;
        line << name;
        ((line << " " << values), ...);
        events.push_back(line.str());
    }

    // BN_CLICKED notifications from the button; the edit box tells the parent of its own things.
    int ClicksTold() const
    {
        return static_cast<int>(std::count_if(parent.commands.begin(), parent.commands.end(), [this](const auto& c) {
            return c.control == control && c.code == BN_CLICKED && c.id == 7;
        }));
    }

    bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
    // The events without moves, which come as often as the platform likes.
    Events Without(const std::string& prefix) const
    {
        Events kept;
        for (const std::string& event : events) {
            if (event.rfind(prefix, 0) != 0) {
                kept.push_back(event);
            }
        }
        return kept;
    }

    TestParent parent;
    HWND edit = nullptr;
    HWND control = nullptr;
    Events events;
};

TEST_F(RealInput, AClickRaisesItsEventsInOrderAndTellsTheParent)
{
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300, [this] { return Has("MouseIn 0"); });
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(parent.Get(), 1000, [this] { return Has("MouseUp 1 0 30 20"); });
    EXPECT_EQ(events, (Events{"MouseIn 0", "MouseDown 1 0 30 20", "Click", "MouseUp 1 0 30 20"}));
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].id, 7);
    EXPECT_EQ(parent.commands[0].code, BN_CLICKED);
    EXPECT_EQ(parent.commands[0].control, control);
    // Each event reaches the parent as it is raised, Click before BN_CLICKED; moves only when asked for.
    EXPECT_EQ(parent.heard, (std::vector<std::string>{
                                "QVBN_MOUSEIN 7 button=0 shift=0 x=0 y=0 key=0 char=0",
                                "QVBN_MOUSEDOWN 7 button=1 shift=0 x=30 y=20 key=0 char=0",
                                "QVBN_CLICK 7 button=0 shift=0 x=0 y=0 key=0 char=0", "BN_CLICKED 7",
                                "QVBN_MOUSEUP 7 button=1 shift=0 x=30 y=20 key=0 char=0"}));
    // The click gave the button the focus.
    EXPECT_EQ(GetFocus(), control);

    EXPECT_EQ(SendMessageW(control, QVBM_SETMOVENOTIFY, TRUE, 0), QVB_OK);
    parent.heard.clear();
    PointerTo(control, 40, 25);
    Settle(parent.Get(), 500, [this] { return !parent.heard.empty(); });
    ASSERT_FALSE(parent.heard.empty());
    EXPECT_EQ(parent.heard.back(), "QVBN_MOUSEMOVE 7 button=0 shift=0 x=40 y=25 key=0 char=0");
    EXPECT_TRUE(std::all_of(parent.heard.begin(), parent.heard.end(),
                            [](const std::string& told) { return told.rfind("QVBN_MOUSEMOVE ", 0) == 0; }));
}

TEST_F(RealInput, DraggedOutAndReleasedThereItGivesNoClickAndTheHoverEnds)
{
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300, [this] { return Has("MouseIn 0"); });
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Settle(parent.Get(), 100);
    // Outside, the capture still brings the moves; the timer sees the pointer gone.
    PointerTo(control, 200, 120);
    Settle(parent.Get(), 1000, [this] { return Has("MouseOut 0"); });
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(parent.Get(), 1000, [this] { return Has("MouseUp 1 0 200 120"); });
    EXPECT_EQ(events, (Events{"MouseIn 0", "MouseDown 1 0 30 20", "MouseOut 0", "MouseUp 1 0 200 120"}));
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_NE(GetCapture(), control);
}

TEST_F(RealInput, APressElsewhereReleasedOverItIsADragNotAClick)
{
    PointerTo(parent.Get(), 300, 200);
    Settle(parent.Get(), 200);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300, [this] { return Has("MouseIn 1"); });
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(parent.Get(), 1000, [this] { return Has("MouseUp 1 0 30 20"); });
    EXPECT_FALSE(Has("Click"));
    EXPECT_EQ(ClicksTold(), 0);
}

TEST_F(RealInput, AClickHandlerMaySetNewEvents)
{
    ButtonEvents replacing;
    replacing.Click = [this] {
        ButtonEvents replaced;
        replaced.MouseUp = [this](std::int16_t button, std::int16_t, float, float) { Add("new MouseUp", button); };
        ButtonWindow::FromHandle(control)->SetEvents(std::move(replaced));
    };
    ButtonWindow::FromHandle(control)->SetEvents(std::move(replacing));
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(parent.Get(), 1000, [this] { return Has("new MouseUp 1"); });
    EXPECT_EQ(events, (Events{"new MouseUp 1"}));
    EXPECT_EQ(ClicksTold(), 1);
}

TEST_F(RealInput, TheRightButtonIsReportedWithoutAClick)
{
    PointerTo(control, 40, 10);
    Settle(parent.Get(), 300, [this] { return Has("MouseIn 0"); });
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    Settle(parent.Get(), 1000, [this] { return Has("MouseUp 2 0 40 10"); });
    EXPECT_EQ(events, (Events{"MouseIn 0", "MouseDown 2 0 40 10", "MouseUp 2 0 40 10"}));
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(RealInput, ADoubleClickGivesTwoClicks)
{
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300, [this] { return Has("MouseIn 0"); });
    for (int i = 0; i < 2; ++i) {
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
    }
    Settle(parent.Get(), 1000, [this] { return std::count(events.begin(), events.end(), "Click") == 2; });
    EXPECT_EQ(events, (Events{"MouseIn 0", "MouseDown 1 0 30 20", "Click", "MouseUp 1 0 30 20", "MouseDown 1 0 30 20",
                              "Click", "MouseUp 1 0 30 20"}));
    EXPECT_EQ(parent.commands.size(), 2u);

    // With BS_NOTIFY the parent hears BN_DOUBLECLICKED in place of the second
    // BN_CLICKED, as from a stock button; the control's Click comes twice all the same.
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | BS_NOTIFY);
    Sleep(GetDoubleClickTime() + 100);
    events.clear();
    parent.commands.clear();
    for (int i = 0; i < 2; ++i) {
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
    }
    Settle(parent.Get(), 1000, [this] { return std::count(events.begin(), events.end(), "Click") == 2; });
    std::vector<int> codes;
    for (const TestParent::Command& command : parent.commands) {
        if (command.code == BN_CLICKED || command.code == BN_DOUBLECLICKED) {
            codes.push_back(command.code);
        }
    }
    EXPECT_EQ(codes, (std::vector<int>{BN_CLICKED, BN_DOUBLECLICKED}));
    EXPECT_EQ(std::count(events.begin(), events.end(), "Click"), 2);
}

TEST_F(RealInput, AHoverEndsWhenThePointerLeavesOrAnotherWindowCoversIt)
{
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300, [this] { return Has("MouseIn 0"); });
    const ULONGLONG left = GetTickCount64();
    PointerTo(parent.Get(), 300, 250);
    Settle(parent.Get(), 1000, [this] { return Has("MouseOut 0"); });
    EXPECT_TRUE(Has("MouseOut 0"));
    EXPECT_LT(GetTickCount64() - left, 500u);

    // A window put over the still pointer ends the hover just the same.
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300, [this] { return std::count(events.begin(), events.end(), "MouseIn 0") == 2; });
    POINT corner{0, 0};
    ClientToScreen(control, &corner);
    // Not a static control: the platform looks through those.
    const HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"BUTTON", L"", WS_POPUP | WS_VISIBLE,
                                       corner.x, corner.y, 120, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(cover);
    Settle(parent.Get(), 1000, [this] { return std::count(events.begin(), events.end(), "MouseOut 0") == 2; });
    EXPECT_EQ(std::count(events.begin(), events.end(), "MouseOut 0"), 2);
    DestroyWindow(cover);
}

TEST_F(RealInput, TabBringsTheFocusAndTheSpaceBarClicksOnItsRelease)
{
    SetFocus(edit);
    Settle(parent.Get(), 100);
    Key(VK_TAB, false);
    Key(VK_TAB, true);
    Settle(parent.Get(), 1000, [this] { return GetFocus() == control; });
    ASSERT_EQ(GetFocus(), control);
    events.clear();

    Key(VK_SPACE, false);
    Key(VK_SPACE, true);
    Settle(parent.Get(), 1000, [this] { return Has("KeyUp 32 0"); });
    EXPECT_EQ(events, (Events{"KeyDown 32 0", "KeyPress 32", "Click", "MouseUp 1 0 0 0", "KeyUp 32 0"}));
    EXPECT_EQ(ClicksTold(), 1);

    // Enter is a key like any other: no click, and no default button either.
    events.clear();
    Key(VK_RETURN, false);
    Key(VK_RETURN, true);
    Settle(parent.Get(), 1000, [this] { return Has("KeyUp 13 0"); });
    EXPECT_EQ(events, (Events{"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"}));
    EXPECT_EQ(ClicksTold(), 1);
}

TEST_F(RealInput, AHandlerMayDestroyTheButtonItClicked)
{
    ButtonEvents closing;
    closing.Click = [this] {
        events.push_back("Click");
        DestroyWindow(control);
    };
    closing.MouseUp = [this](std::int16_t, std::int16_t, float, float) { events.push_back("MouseUp after close"); };
    ButtonWindow::FromHandle(control)->SetEvents(std::move(closing));
    PointerTo(control, 30, 20);
    Settle(parent.Get(), 300);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(parent.Get(), 1000, [this] { return !IsWindow(control); });
    Settle(parent.Get(), 100);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(ButtonWindow::FromHandle(control), nullptr);
    // Nothing of that input follows once the window is gone.
    EXPECT_EQ(events, (Events{"Click"}));
}

// The button beside a stock push button in the same window: whatever is
// done to both, each tells its parent the same.
class LikeAStockButton : public RealInput {
protected:
    LikeAStockButton()
    {
        stock = CreateWindowExW(0, L"BUTTON", L"Standard", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 160, 20,
                                120, 40, parent.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(8)),
                                GetModuleHandleW(nullptr), nullptr);
    }

    // The notification codes that `from` sent its parent, in order.
    std::vector<int> Told(HWND from, std::vector<int> codes = {BN_CLICKED, BN_DOUBLECLICKED}) const
    {
        std::vector<int> told;
        for (const TestParent::Command& command : parent.commands) {
            if (command.control == from && std::find(codes.begin(), codes.end(), command.code) != codes.end()) {
                told.push_back(command.code);
            }
        }
        return told;
    }

    void ClickAt(HWND target)
    {
        PointerTo(target, 30, 20);
        Settle(parent.Get(), 200);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
        Settle(parent.Get(), 500);
    }

    HWND stock = nullptr;
};

TEST_F(LikeAStockButton, ThePointerIsFreeWhileAClickIsToldAndARefusedPictureChangesNothing)
{
    // Too wide for any drawing, though of few pixels: refused before it is stored.
    const PixelImage before = PrintClient(control);
    const HBITMAP wide = CreateBitmap(32768, 1, 1, 32, nullptr);
    ASSERT_TRUE(wide);
    EXPECT_EQ(SendMessageW(control, QVBM_SETPICTURE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(wide)), QVB_E_OVERFLOW);
    EXPECT_EQ(PrintClient(control).pixels, before.pixels);

    for (const HWND button : {control, stock}) {
        ClickAt(button);
        SendMessageW(button, BM_CLICK, 0, 0);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    ButtonAccessible::Create(control)->accDoDefaultAction(VARIANT{});
    Settle(parent.Get(), 300);
    ASSERT_EQ(Told(control), (std::vector<int>{BN_CLICKED, BN_CLICKED, BN_CLICKED}));
    ASSERT_EQ(Told(stock), (std::vector<int>{BN_CLICKED, BN_CLICKED}));
    for (const TestParent::Command& command : parent.commands) {
        EXPECT_EQ(command.capture, nullptr) << "while button " << command.id << " told of its click";
    }
    DeleteObject(wide);
}

TEST_F(LikeAStockButton, ADoubleClickReleasedInsideItsOwnNotificationLeavesTheNextClickTold)
{
    // The parent's handler runs a modal loop, in which the double-click's release arrives.
    parent.onCommand = [this](const TestParent::Command& command) {
        if (command.code == BN_DOUBLECLICKED) {
            Settle(parent.Get(), 300);
        }
    };
    for (const HWND button : {control, stock}) {
        SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_NOTIFY);
        PointerTo(button, 30, 20);
        Settle(parent.Get(), 200);
        for (int i = 0; i < 2; ++i) {
            Mouse(MOUSEEVENTF_LEFTDOWN);
            Mouse(MOUSEEVENTF_LEFTUP);
        }
        Settle(parent.Get(), 500);
        Sleep(GetDoubleClickTime() + 100);
        const std::size_t before = Told(button).size();
        ClickAt(button);
        EXPECT_EQ(Told(button).size(), before + 1) << "the next ordinary click of button " << GetDlgCtrlID(button);
    }
    EXPECT_EQ(Told(control), Told(stock));
}

TEST_F(LikeAStockButton, NoClickComesFromKeysOrAPressTheUserDidNotFinishOnIt)
{
    for (const HWND button : {control, stock}) {
        // A Space released that went down elsewhere.
        SetFocus(button);
        Settle(parent.Get(), 100);
        Key(VK_SPACE, true);
        Settle(parent.Get(), 300);
        // Alt+Space is the window's menu, not the button's key.
        SendMessageW(button, WM_SYSKEYDOWN, VK_SPACE, 0x20000000);
        SendMessageW(button, WM_SYSKEYUP, VK_SPACE, 0xE0000000);
        // The focus taken away while Space is held.
        Key(VK_SPACE, false);
        Settle(parent.Get(), 200);
        SetFocus(edit);
        Settle(parent.Get(), 200);
        Key(VK_SPACE, true);
        Settle(parent.Get(), 300);
        EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
        // The focus taken away while the mouse is held over it, then released there.
        PointerTo(button, 30, 20);
        Settle(parent.Get(), 200);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Settle(parent.Get(), 200);
        SetFocus(edit);
        Settle(parent.Get(), 200);
        EXPECT_NE(GetCapture(), button);
        Mouse(MOUSEEVENTF_LEFTUP);
        Settle(parent.Get(), 300);
        PointerTo(parent.Get(), 300, 250);
        Settle(parent.Get(), 300);
    }
    EXPECT_EQ(Told(control), Told(stock));
    EXPECT_TRUE(Told(control).empty());
    EXPECT_FALSE(ButtonWindow::FromHandle(control)->Control().IsMouseOver()) << "no hover look stays behind";
}

TEST_F(LikeAStockButton, AKeyAlreadyWaitingWhenThePointerArrivesGoesToTheWindowsKeyboardHandling)
{
    for (const HWND button : {control, stock}) {
        SetFocus(edit);
        PointerTo(parent.Get(), 300, 250);
        Settle(parent.Get(), 300);
        // Both wait in the queue: the pointer's arrival comes first.
        PointerTo(button, 30, 20);
        Key(VK_TAB, false);
        Key(VK_TAB, true);
        Settle(parent.Get(), 500, [this] { return GetFocus() != edit; });
        EXPECT_NE(GetFocus(), edit) << "Tab was lost on the way past button " << GetDlgCtrlID(button);
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Pixels of the dotted frame four pixels in that differ from the face in the corner.
int FocusFramePixels(HWND window)
{
    const PixelImage image = PrintClient(window);
    const std::uint32_t face = image.At(2, 2);
    int dots = 0;
    for (int x = 4; x < image.width - 4; ++x) {
        dots += (image.At(x, 4) != face) + (image.At(x, image.height - 5) != face);
    }
    return dots;
}

TEST(RealInputDialog, WhereTheDialogHidesItsCuesTheFocusRectangleWaitsForTheKeyboard)
{
    ButtonWindow::Register();
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } blank{};
    blank.dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    blank.dialog.cx = 200;
    blank.dialog.cy = 100;
    const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &blank.dialog, nullptr, PlainDialogProc, 0);
    ASSERT_TRUE(dialog);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 10, 100, 24,
                                      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), nullptr, nullptr);
    const HWND control = CreateWindowExW(0, ButtonClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 50, 120, 40,
                                         dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)), nullptr, nullptr);
    ButtonWindow::FromHandle(control)->Control().SetCaption(u"");
    SetForegroundWindow(dialog);
    // What Windows' dialog manager tells every control of a dialog that the mouse opened.
    for (const HWND child : {edit, control}) {
        SendMessageW(child, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    }
    EXPECT_EQ(SendMessageW(control, WM_QUERYUISTATE, 0, 0), UISF_HIDEFOCUS | UISF_HIDEACCEL);
    Settle(dialog, 200);

    PointerTo(control, 60, 20);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(dialog, 500, [control] { return GetFocus() == control; });
    ASSERT_EQ(GetFocus(), control);
    EXPECT_EQ(FocusFramePixels(control), 0) << "focused by the mouse, the button shows no focus rectangle";

    PointerTo(edit, 20, 10);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(dialog, 300, [edit] { return GetFocus() == edit; });
    Key(VK_TAB, false);
    Key(VK_TAB, true);
    Settle(dialog, 500, [control] { return GetFocus() == control; });
    ASSERT_EQ(GetFocus(), control);
    EXPECT_GT(FocusFramePixels(control), 20) << "reached by Tab, it shows its focus rectangle";
    EXPECT_EQ(SendMessageW(control, WM_QUERYUISTATE, 0, 0), 0);
    DestroyWindow(dialog);
}

}  // namespace
}  // namespace qv::test
