#include "platform/controls/static_text.h"

#include "controls_test.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"

namespace qv {
namespace {

using StaticTexts = testing::ControlsTest;

constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST_F(StaticTexts, ItRepaintsAsItsStateChangesAndOnlyANotifyingTextTakesThePen) {
    const RECT left{0, 0, 200, 16};
    const HWND heading = Make(kStaticClassName, u"Отображение", SS_LEFT, left, 1);
    Pump();
    EnableWindow(heading, 0);
    Pump();
    EXPECT_EQ(CountPixels(left, kBlack), 0) << "grey once disabled";
    EnableWindow(heading, 1);
    Pump();
    EXPECT_GT(CountPixels(left, kBlack), 0);
    SetWindowTextW(heading, u"");
    Pump();
    EXPECT_EQ(CountPixels(left, kBlack), 0);
    EXPECT_EQ(SendMessageW(heading, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    // Plain text lets taps through to the page; a text that asks for them keeps them.
    EXPECT_EQ(SendMessageW(heading, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTTRANSPARENT);
    const HWND notifying =
        Make(kStaticClassName, u"Ж Ж Ж Ж Ж Ж Ж Ж", SS_CENTER | SS_NOTIFY, {0, 40, 40, 104}, 3);
    EXPECT_EQ(SendMessageW(notifying, WM_NCHITTEST, 0, MAKELPARAM(5, 45)), HTCLIENT);
    Pump();
    EXPECT_GT(CountPixels({0, 64, 40, 104}, kBlack), 0) << "a long centred text wraps";
}

TEST_F(StaticTexts, InitCommonControlsExRefusesABadRecordAndFamiliesItDoesNotKnow) {
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    INITCOMMONCONTROLSEX families{sizeof(families), ICC_STANDARD_CLASSES | 0x80000000};
    EXPECT_FALSE(InitCommonControlsEx(&families));
    families = {.dwSize = 0, .dwICC = ICC_STANDARD_CLASSES};
    EXPECT_FALSE(InitCommonControlsEx(&families));
}

}  // namespace
}  // namespace qv
