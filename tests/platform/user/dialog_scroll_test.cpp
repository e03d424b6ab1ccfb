#include "platform/user/defaults/dialog_scroll.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "plain_window.h"
#include "platform/controls/common_controls.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

// Eight edit boxes of the system font's dialog units, stacked 14 apart, and a ninth never shown,
// so never scrolled to; the page is then made 120 x 100 pixels, less than they need.
constexpr auto kFields = [] {
    std::array<DialogItemTemplate, 9> fields{};
    for (short i = 0; i < 9; ++i) {
        fields[i] = {u"EDIT",
                     u"",
                     static_cast<WORD>(10 + i),
                     (i < 8 ? WS_VISIBLE : 0u) | WS_TABSTOP,
                     0,
                     4,
                     static_cast<short>(i < 8 ? 2 + 14 * i : 400),
                     40,
                     10};
    }
    return fields;
}();
constexpr DialogTemplate kPage{WS_POPUP | WS_VISIBLE, 0, 0, 0, 100, 120, u"", u"", 0, kFields};
constexpr int kWidth = 120;
constexpr int kRoom = 100;

INT_PTR PageProcedure(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

class DialogScroll : public ::testing::Test {
  protected:
    DialogScroll() {
        RegisterStandardControls();
        main = testing::MakePlainWindow(WS_VISIBLE, {0, 0, 240, 320});
        page = CreateDialogIndirectParamW(nullptr, &kPage, main, PageProcedure, 0);
        MoveWindow(page, 0, 0, kWidth, 400, 1);
        for (int id = 10; id <= 17; ++id) {
            whole.push_back(Top(id));
        }
        MoveWindow(page, 0, 0, kWidth, kRoom, 1);
    }

    // The field's edges in the page's client coordinates.
    RECT Placed(int id) {
        RECT rect{};
        GetWindowRect(GetDlgItem(page, id), &rect);
        POINT corners[] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        for (POINT& corner : corners) {
            ScreenToClient(page, &corner);
        }
        return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
    int Top(int id) { return Placed(id).top; }
    int Bottom(int id) { return Placed(id).bottom; }
    // How far every field moved up from its whole place; -1 when they moved apart.
    int Moved() {
        const int moved = whole[0] - Top(10);
        for (int id = 10; id <= 17; ++id) {
            if (whole[static_cast<std::size_t>(id - 10)] - Top(id) != moved) {
                return -1;
            }
        }
        return moved;
    }
    bool BarShown() { return (GetWindowLongW(page, GWL_STYLE) & WS_VSCROLL) != 0; }
    // Tab as the program's loop hands it to the page.
    void Tab() {
        const MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        IsDialogMessageW(page, &tab);
    }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    HWND page = nullptr;
    std::vector<int> whole;
};

TEST_F(DialogScroll, APageTallerThanItsRoomScrollsWithItsBarAndFocus) {
    // The content: the lowest shown field and the margin below it.
    const int content = whole.back() + (Bottom(17) - Top(17)) + kDialogScrollMargin;
    ASSERT_GT(content, kRoom);
    const int largest = content - kRoom;
    FitDialogScroll(page);
    EXPECT_EQ(std::pair(BarShown(), Moved()), std::pair(false, 0)) << "scrolls only once told to";

    SetDialogScrolling(page, true);
    FitDialogScroll(page);
    ASSERT_TRUE(BarShown());
    SCROLLINFO info{.fMask = SIF_ALL};
    GetScrollInfo(page, SB_VERT, &info);
    EXPECT_EQ(std::pair(info.nMax, static_cast<int>(info.nPage)), std::pair(content - 1, kRoom));

    // After each, the field named, its top or bottom on the page's edge, is shown as it is.
    const std::tuple<int, int, int, int> cases[] = {
        {0, SB_LINEDOWN, kDialogScrollLine, 0},
        {3, SB_LINEUP, 0, 0},
        {largest - 1, SB_LINEDOWN, largest, 0},
        {0, SB_PAGEDOWN, std::min(kRoom, largest), 0},
        {largest, SB_PAGEUP, std::max(0, largest - kRoom), 0},
        {0, SB_BOTTOM, largest, 0},
        {whole[1], SB_ENDSCROLL, whole[1], 11},
        {largest - kDialogScrollMargin, SB_ENDSCROLL, largest - kDialogScrollMargin, 17}};
    for (const auto& [from, code, to, shown] : cases) {
        SCOPED_TRACE(::testing::Message() << from << " code " << code);
        SetScrollPos(page, SB_VERT, from, 1);
        // Both a dragged and a dropped thumb move the page.
        SendMessageW(page, WM_VSCROLL, from % 2 ? SB_THUMBTRACK : SB_THUMBPOSITION, 0);
        ASSERT_EQ(Moved(), from);
        SendMessageW(page, WM_VSCROLL, code, 0);
        ScrollDialogToControl(page, GetDlgItem(page, shown));
        EXPECT_EQ(std::pair(Moved(), GetScrollPos(page, SB_VERT)), std::pair(to, to));
    }

    // The focus moved by Tab is shown whole, with the least scrolling.
    SendMessageW(page, WM_VSCROLL, SB_TOP, 0);
    SetFocus(GetDlgItem(page, 10));
    for (int id = 11; id <= 17; ++id) {
        Tab();
        ASSERT_EQ(GetDlgCtrlID(GetFocus()), id);
        EXPECT_TRUE(Top(id) >= 0 && Bottom(id) <= kRoom) << id;
    }
    EXPECT_EQ(Moved(), largest) << "its bottom and the margin at the end";
    Tab();
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), 10) << "round to the first";
    EXPECT_EQ(Moved(), 0) << "its top at the top";
    // A tapped field is shown when the pen lifts, unless the focus has moved on by then.
    for (const int focus : {10, 17}) {
        for (const UINT pen : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
            const MSG message{GetDlgItem(page, 17), pen, 0, 0, 0, {}};
            IsDialogMessageW(page, &message);
            SetFocus(GetDlgItem(page, focus));
        }
        EXPECT_EQ(Moved(), focus == 17 ? largest : 0) << focus;
    }

    // More room than the content: whole again, without the bar.
    SendMessageW(page, WM_VSCROLL, SB_BOTTOM, 0);
    MoveWindow(page, 0, 0, kWidth, content, 1);
    FitDialogScroll(page);
    EXPECT_EQ(std::pair(BarShown(), Moved()), std::pair(false, 0));

    // Turned off with too little room, the page is whole and without its bar.
    MoveWindow(page, 0, 0, kWidth, kRoom, 1);
    FitDialogScroll(page);
    SendMessageW(page, WM_VSCROLL, SB_BOTTOM, 0);
    SetDialogScrolling(page, false);
    EXPECT_EQ(std::pair(BarShown(), Moved()), std::pair(false, 0));
}

}  // namespace
}  // namespace qv
