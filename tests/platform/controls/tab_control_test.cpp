#include "platform/controls/tab_control.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "controls_test.h"
#include "platform/controls/tab_layout.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {
namespace {

constexpr int kLeft = 2;
constexpr int kTop = 10;
constexpr int kWidth = 236;

class TabControlTest : public ControlsTest {
  protected:
    TabControlTest() { RegisterTabControlClass(); }

    // Letter tabs as a station picker makes them: one row of up to 20, else two of half the
    // letters, the width shared out of 210 pixels.
    HWND MakeLetterTabs(int count, DWORD extraStyle = TCS_FIXEDWIDTH) {
        const HWND tabs = Make(WC_TABCONTROL, u"", TCS_MULTILINE | extraStyle,
                               {kLeft, kTop, kLeft + kWidth, kTop + 60}, 1022);
        const int perRow = count <= 20 ? count : count / 2;
        const int width = 210 / perRow;
        SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, width);
        SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, 12));
        SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(2, 2));
        for (int i = 0; i < count; ++i) {
            char16_t label[2] = {static_cast<char16_t>(u'А' + i), u'\0'};
            TCITEMW item{.mask = TCIF_TEXT, .pszText = label};
            EXPECT_EQ(
                SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), PointerParam(&item)),
                i);
        }
        return tabs;
    }
    static RECT TabRect(HWND tabs, int index) {
        RECT rect{};
        EXPECT_TRUE(
            SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), PointerParam(&rect)));
        return rect;
    }
};

TEST_F(TabControlTest, LetterTabsWrapIntoRowsOfTheirFixedWidth) {
    for (const auto& [count, rows, width, tabsInFirstRow] :
         {std::tuple{20, 1, 10, 20}, {21, 2, 21, 11}, {40, 2, 10, 23}}) {
        SCOPED_TRACE(count);
        const HWND tabs = MakeLetterTabs(count);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0), rows);
        int inFirstRow = 0;
        for (int i = 0; i < count; ++i) {
            const RECT tab = TabRect(tabs, i);
            EXPECT_EQ(tab.right - tab.left, width) << "fixed-width rows are not stretched";
            EXPECT_EQ(tab.bottom - tab.top, 12);
            TCHITTESTINFO hit{.pt = {(tab.left + tab.right) / 2, tab.top + 2}};
            EXPECT_EQ(SendMessageW(tabs, TCM_HITTEST, 0, PointerParam(&hit)), i);
            EXPECT_EQ(hit.flags, TCHT_ONITEM) << "the first tab too";
            inFirstRow += tab.top == TabRect(tabs, 0).top ? 1 : 0;
        }
        EXPECT_EQ(inFirstRow, tabsInFirstRow);
        // The selected tab's row lies on the display area.
        EXPECT_EQ(TabRect(tabs, 0).bottom, 12 * rows);
        DestroyWindow(tabs);
    }
    // Without an item height, the text's and twice the vertical padding make it.
    const HWND tabs = MakeLetterTabs(3);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(10, 0)), MAKELPARAM(70, 12));
    const LONG padded = TabRect(tabs, 0).bottom;
    SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(2, 5));
    EXPECT_EQ(TabRect(tabs, 0).bottom, padded + 6);
}

TEST_F(TabControlTest, ATapSelectsItsTabAndBringsItsRowToTheFront) {
    const HWND tabs = MakeLetterTabs(21);
    Pump();
    const RECT target = TabRect(tabs, 15);
    ASSERT_EQ(target.top, 0) << "the second row starts behind the first";
    host.Tap(kLeft + target.left + 5, kTop + target.top + 5);
    Pump();
    EXPECT_EQ(Notices(TCN_SELCHANGING).size(), 1U);
    EXPECT_EQ(Notices(TCN_SELCHANGE).size(), 1U);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 15);
    EXPECT_EQ(TabRect(tabs, 15).top, 12) << "now next to the display area";

    // A tap on the selected tab tells nobody; a refusing parent keeps the selection.
    ClearNotices();
    const RECT selected = TabRect(tabs, 15);
    host.Tap(kLeft + selected.left + 5, kTop + selected.top + 5);
    Pump();
    EXPECT_TRUE(Notices(TCN_SELCHANGING).empty());
    answer = [](NMHDR* header) -> LRESULT { return header->code == TCN_SELCHANGING; };
    const RECT other = TabRect(tabs, 3);
    host.Tap(kLeft + other.left + 5, kTop + other.top + 5);
    Pump();
    EXPECT_EQ(Notices(TCN_SELCHANGING).size(), 1U);
    EXPECT_TRUE(Notices(TCN_SELCHANGE).empty());
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 15);

    // Keys move it too, with the same notifications; TCM_SETCURSEL tells nobody.
    answer = nullptr;
    ClearNotices();
    SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 2, 0), 16);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 21, 0), -1);
    EXPECT_EQ(TabRect(tabs, 0).top, 12);
    // Tabs inserted or deleted before the selected one keep it selected; deleting it, none.
    char16_t added[] = u"+1";
    TCITEMW item{.mask = TCIF_TEXT, .pszText = added};
    const std::tuple<UINT, WPARAM, int> cases[] = {
        {TCM_INSERTITEMW, 2, 3}, {TCM_INSERTITEMW, 0, 4}, {TCM_INSERTITEMW, 5, 4},
        {TCM_DELETEITEM, 0, 3},  {TCM_DELETEITEM, 4, 3},  {TCM_DELETEITEM, 3, -1},
    };
    for (const auto& [message, index, stays] : cases) {
        SCOPED_TRACE(::testing::Message() << message << " at " << index);
        SendMessageW(tabs, message, index, PointerParam(&item));
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), stays);
    }
    EXPECT_EQ(Notices(TCN_SELCHANGE).size(), 1U);
    item.cchTextMax = 2;
    SendMessageW(tabs, TCM_GETITEMW, 2, PointerParam(&item));
    EXPECT_EQ(std::u16string(added), u"+") << "what fits before its zero";
    const std::tuple<int, int, int> keys[] = {
        {1, VK_LEFT, 0}, {0, VK_LEFT, 0}, {19, VK_RIGHT, 20}, {20, VK_RIGHT, 20}};
    for (const auto& [from, key, to] : keys) {
        SendMessageW(tabs, TCM_SETCURSEL, from, 0);
        SendMessageW(tabs, WM_KEYDOWN, key, 0);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), to) << from << " " << key;
    }
}

TEST(TabLayout, RowsStackBehindTheSelectedOneAndOnlySeveralRowsAreFilled) {
    EXPECT_EQ(LayOutTabs({}, {236, 12, true, true}, 0).rows, 0);
    // The selected row in front of the display area, the next behind it, the first at the back.
    const int hundreds[] = {100, 100, 100};
    const TabLayout three = LayOutTabs(hundreds, {110, 12, true, false}, 1);
    EXPECT_EQ(three.rows, 3);
    EXPECT_EQ(three.tabs, (std::vector<RECT>{{1, 0, 101, 12}, {1, 24, 101, 36}, {1, 12, 101, 24}}));
    // Several rows share out their spare pixels, the first tabs one more, up to the right inset;
    // a tab wider than its row is not widened. One row keeps its tabs' widths.
    const int widths[] = {30, 30, 30, 100};
    const std::vector<RECT> oneRow = {
        {1, 0, 31, 12}, {31, 0, 61, 12}, {61, 0, 91, 12}, {91, 0, 191, 12}};
    const std::pair<TabRowRules, std::vector<RECT>> cases[] = {
        {{100, 12, true, true},
         {{1, 12, 34, 24}, {34, 12, 67, 24}, {67, 12, 99, 24}, {1, 0, 101, 12}}},
        // Unfilled; the third tab ends at the limit and stays.
        {{92, 12, true, false},
         {{1, 12, 31, 24}, {31, 12, 61, 24}, {61, 12, 91, 24}, {1, 0, 101, 12}}},
        {{200, 12, true, true}, oneRow},
        {{100, 12, false, true}, oneRow},
    };
    for (const auto& [rules, tabs] : cases) {
        EXPECT_EQ(LayOutTabs(widths, rules, 0).tabs, tabs)
            << rules.clientWidth << " " << rules.multiLine;
    }
    // Absurd widths, as TCM_SETMINTABWIDTH may ask for, are cut to the widest a tab can be.
    const int absurd[] = {INT_MAX, INT_MAX, INT_MIN};
    const TabLayout wide = LayOutTabs(absurd, {236, 12, false, false}, 0);
    EXPECT_EQ(wide.tabs[1].left, kTabRowInset + 0x7FFF);
    EXPECT_EQ(wide.tabs[2].left, kTabRowInset + 2 * 0x7FFF);
    EXPECT_EQ(wide.tabs[2].right, wide.tabs[2].left);
}

}  // namespace
}  // namespace qv::testing
