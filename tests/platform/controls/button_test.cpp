#include "platform/controls/button.h"

#include "controls_test.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

using Buttons = testing::ControlsTest;
using Command = testing::ControlsTest::Command;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);

LRESULT State(HWND button) {
    return SendMessageW(button, BM_GETSTATE, 0, 0);
}

TEST_F(Buttons, ACheckBoxTapLooksPressedAndClicksOnlyOnReleaseInsideWhereItBegan) {
    const HWND box =
        Make(kButtonClassName, u"флажок", BS_AUTOCHECKBOX | WS_TABSTOP, {10, 10, 130, 26}, 101);
    Pump();
    host.PenDown(60, 18);
    Pump();
    EXPECT_EQ(State(box), BST_PUSHED | BST_FOCUS);
    // The mark's face, just inside its sunken edge, greys while pressed.
    EXPECT_EQ(ScreenPixel(12, 13), kFace);
    host.PenUp(61, 19);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{101, BN_CLICKED, box}}));
    EXPECT_EQ(State(box), BST_CHECKED | BST_FOCUS);
    EXPECT_EQ(ScreenPixel(12, 13), kWhite);

    // Leaving with the pen takes the pressed look away and lifting it outside does nothing.
    commands.clear();
    host.PenDown(60, 18);
    host.PenMove(200, 100);
    Pump();
    EXPECT_EQ(State(box) & BST_PUSHED, 0);
    host.PenUp(200, 100);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);

    // A press that began elsewhere is no click, even when it ends on the box.
    host.PenDown(200, 100);
    host.PenMove(60, 18);
    host.PenUp(60, 18);
    Pump();
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Buttons, AutomaticRadioButtonsCheckOneOfTheirGroupOnly) {
    Make(kButtonClassName, u"a1", BS_AUTORADIOBUTTON | WS_GROUP, {0, 0, 100, 16}, 1);
    const HWND a2 = Make(kButtonClassName, u"a2", BS_AUTORADIOBUTTON, {0, 20, 100, 36}, 2);
    const HWND note = Make(kButtonClassName, u"note", BS_AUTOCHECKBOX, {0, 40, 100, 56}, 3);
    const HWND a3 = Make(kButtonClassName, u"a3", BS_AUTORADIOBUTTON, {0, 60, 100, 76}, 4);
    Make(kButtonClassName, u"b1", BS_AUTORADIOBUTTON | WS_GROUP, {0, 80, 100, 96}, 5);
    Make(kButtonClassName, u"b2", BS_AUTORADIOBUTTON, {0, 100, 100, 116}, 6);
    CheckDlgButton(page, 1, BST_CHECKED);
    CheckDlgButton(page, 3, BST_CHECKED);
    CheckDlgButton(page, 5, BST_CHECKED);
    staticBackground = GetSysColorBrush(COLOR_BTNFACE);

    host.Tap(20, 68);  // a3
    Pump();
    EXPECT_EQ(std::pair(ScreenPixel(95, 8), ScreenPixel(95, 48)), std::pair(kFace, kFace));
    EXPECT_EQ(commands, (std::vector<Command>{{4, BN_CLICKED, a3}}));
    EXPECT_EQ(IsDlgButtonChecked(page, 1), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 3), BST_CHECKED);  // a check box inside the group stays
    EXPECT_EQ(IsDlgButtonChecked(page, 4), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 5), BST_CHECKED);  // the next group is not touched

    // Tapping the checked one keeps it checked and still notifies.
    host.Tap(20, 68);
    host.Tap(20, 108);  // b2
    Pump();
    EXPECT_EQ(commands.size(), 3u);
    EXPECT_EQ(IsDlgButtonChecked(page, 5), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 6), BST_CHECKED);

    // CheckRadioButton sets the range without notifying; BM_SETCHECK does not uncheck others.
    commands.clear();
    EXPECT_TRUE(CheckRadioButton(page, 1, 2, 2));
    EXPECT_EQ(IsDlgButtonChecked(page, 1), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 4), BST_CHECKED);  // outside the range
    EXPECT_FALSE(CheckRadioButton(page, 1, 2, 99));
    EXPECT_FALSE(CheckDlgButton(page, 99, BST_CHECKED));
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(SendMessageW(a2, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
    EXPECT_EQ(SendMessageW(note, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
}

TEST_F(Buttons, PushButtonsClickWithSpaceAndAnswerTheDialogNavigation) {
    const HWND ok =
        Make(kButtonClassName, u"ok", BS_DEFPUSHBUTTON | WS_TABSTOP, {10, 10, 90, 34}, 1);
    const HWND cancel = Make(kButtonClassName, u"отмена", BS_PUSHBUTTON, {100, 10, 180, 34}, 2);
    EXPECT_EQ(SendMessageW(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    Pump();
    // BM_SETSTYLE moves the default, and its black frame outside the bevel, from one to the other.
    SendMessageW(ok, BM_SETSTYLE, BS_PUSHBUTTON, 1);
    SendMessageW(cancel, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1);
    EXPECT_EQ(SendMessageW(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    Pump();
    EXPECT_EQ(std::pair(ScreenPixel(10, 10), ScreenPixel(100, 10)), std::pair(kWhite, kBlack));

    SetFocus(ok);
    host.Queue({InputEvent::Kind::KeyDown, {}, VK_SPACE});
    Pump();
    EXPECT_NE(State(ok) & BST_PUSHED, 0);
    host.Queue({InputEvent::Kind::KeyUp, {}, VK_SPACE});
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{1, BN_CLICKED, ok}}));

    // The focus leaving in the middle of a press, by key or pen, ends it without a click.
    commands.clear();
    host.Queue({InputEvent::Kind::KeyDown, {}, VK_SPACE});
    Pump();
    SetFocus(cancel);
    EXPECT_EQ(State(ok), 0);
    host.Queue({InputEvent::Kind::KeyUp, {}, VK_SPACE});
    host.PenDown(50, 20);
    Pump();
    SetFocus(cancel);
    EXPECT_EQ(GetCapture(), nullptr);

    // BM_CLICK clicks an enabled button only.
    EnableWindow(cancel, 0);
    SendMessageW(cancel, BM_CLICK, 0, 0);
    EnableWindow(cancel, 1);
    SendMessageW(cancel, BM_CLICK, 0, 0);
    EXPECT_EQ(commands, (std::vector<Command>{{2, BN_CLICKED, cancel}}));
}

TEST_F(Buttons, OwnerDrawnButtonsAreDrawnByTheParentInEachState) {
    const HWND drawn_ = Make(kButtonClassName, u"", BS_OWNERDRAW, {20, 40, 80, 70}, 7);
    Pump();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().itemState, 0u);
    // The default look that the dialog manager moves about leaves it owner-drawn.
    SendMessageW(drawn_, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1);
    SendMessageW(drawn_, BM_SETSTYLE, BS_PUSHBUTTON, 1);
    EXPECT_EQ(GetWindowLongW(drawn_, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(SendMessageW(drawn_, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);

    host.PenDown(50, 55);
    Pump();
    EXPECT_EQ(drawn.back().itemState, ODS_SELECTED | ODS_FOCUS);
    host.PenMove(150, 150);
    Pump();
    EXPECT_EQ(drawn.back().itemState, ODS_FOCUS);
    host.PenUp(150, 150);
    SetFocus(page);
    EnableWindow(drawn_, 0);
    Pump();
    EXPECT_EQ(drawn.back().itemState, ODS_DISABLED);
    EXPECT_TRUE(commands.empty());
}

TEST_F(Buttons, AButtonDestroyedByItsOwnNotificationOutlivesTheHandler) {
    const HWND box = Make(kButtonClassName, u"x", BS_AUTOCHECKBOX, {0, 0, 100, 20}, 9);
    onCommand = [&](const Command& command) { DestroyWindow(command.from); };
    host.Tap(10, 10);
    Pump();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace qv
