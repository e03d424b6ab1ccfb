#include "platform/controls/static_text.h"

#include "controls_test.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"

namespace qv {
namespace {

using StaticTexts = testing::ControlsTest;

constexpr COLORREF kBlack = RGB(0, 0, 0);

// The leftmost and rightmost columns with ink in the rectangle.
std::pair<LONG, LONG> InkColumns(const RECT& rect, const std::function<COLORREF(int, int)>& pixel) {
    LONG first = rect.right;
    LONG last = rect.left - 1;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            if (pixel(x, y) == kBlack) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

TEST_F(StaticTexts, AlignmentFontAndTextAreHonoured) {
    const RECT left{0, 0, 200, 16};
    const RECT centred{0, 20, 200, 36};
    const HWND heading = Make(kStaticClassName, u"Отображение", SS_LEFT, left, 1);
    Make(kStaticClassName, u"Отображение", SS_CENTER, centred, 2);
    Pump();
    const auto pixel = [&](int x, int y) { return ScreenPixel(x, y); };
    const auto [leftFirst, leftLast] = InkColumns(left, pixel);
    const auto [centreFirst, centreLast] = InkColumns(centred, pixel);
    EXPECT_LE(leftFirst, 2);
    EXPECT_EQ(centreLast - centreFirst, leftLast - leftFirst);
    EXPECT_LE(std::abs((centreFirst + centreLast) / 2 - 100), 2);

    LOGFONTW attributes;
    attributes.lfHeight = -11;
    UniqueFont normal(CreateFontIndirectW(&attributes));
    attributes.lfWeight = FW_BOLD;
    UniqueFont bold(CreateFontIndirectW(&attributes));
    SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(normal.get()), 1);
    Pump();
    const int normalInk = CountPixels(left, kBlack);
    SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(bold.get()), 1);
    Pump();
    EXPECT_GT(CountPixels(left, kBlack), normalInk * 5 / 4);
    EnableWindow(heading, 0);
    Pump();
    EXPECT_EQ(CountPixels(left, kBlack), 0) << "grey once disabled";

    SetWindowTextW(heading, u"");
    Pump();
    EXPECT_EQ(CountPixels(left, kBlack), 0);
    EXPECT_EQ(SendMessageW(heading, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    // Plain text lets taps through to the page; a text that asks for them keeps them.
    EXPECT_EQ(SendMessageW(heading, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTTRANSPARENT);
    const HWND notifying =
        Make(kStaticClassName, u"Отображение", SS_LEFT | SS_NOTIFY, {0, 40, 200, 56}, 3);
    EXPECT_EQ(SendMessageW(notifying, WM_NCHITTEST, 0, MAKELPARAM(5, 45)), HTCLIENT);
    DestroyWindow(heading);  // before the fonts it refers to go
}

TEST_F(StaticTexts, InitCommonControlsExRegistersTheFamiliesItKnows) {
    INITCOMMONCONTROLSEX families;
    families.dwICC = ICC_STANDARD_CLASSES;
    EXPECT_TRUE(InitCommonControlsEx(&families));
    EXPECT_NE(GetClassInfoW(nullptr, kStaticClassName, nullptr), 0);
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    families.dwICC = 0x80000000;
    EXPECT_FALSE(InitCommonControlsEx(&families));
    // The pages ask for the list view and tab control together.
    families.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
    EXPECT_TRUE(InitCommonControlsEx(&families));
    EXPECT_NE(GetClassInfoW(nullptr, u"SysListView32", nullptr), 0);
    EXPECT_NE(GetClassInfoW(nullptr, u"SysTabControl32", nullptr), 0);
}

}  // namespace
}  // namespace qv
