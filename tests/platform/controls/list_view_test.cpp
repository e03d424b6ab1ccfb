#include "platform/controls/list_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>
#include <tuple>

#include "controls_test.h"
#include "platform/controls/list_view_control.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {
namespace {

constexpr int kLeft = 10;
constexpr int kTop = 20;
using list_view::kDragThreshold;

// A list of one 180-pixel column at (10, 20), 200 x 170, whose texts the parent gives, to be
// kept, as "Item N" of the item data.
class ListViewTest : public ControlsTest {
  protected:
    ListViewTest() {
        RegisterListViewClass();
        list = Make(WC_LISTVIEW, u"",
                    LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                    {kLeft, kTop, kLeft + 200, kTop + 170}, 7);
        Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        LVCOLUMNW column{.mask = LVCF_WIDTH, .cx = 180};
        Send(LVM_INSERTCOLUMNW, 0, PointerParam(&column));
        answer = [this](NMHDR* header) -> LRESULT {
            if (header->code == LVN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
                const std::string digits = std::to_string(info->item.lParam);
                const std::u16string text = u"Item " + std::u16string(digits.begin(), digits.end());
                std::copy(text.begin(), text.end(), info->item.pszText);
                info->item.pszText[text.size()] = u'\0';
                info->item.mask |= LVIF_DI_SETITEM;
                return 0;
            }
            return custom ? custom(header) : 0;
        };
    }

    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            LVITEMW item{.mask = LVIF_TEXT | LVIF_PARAM,
                         .iItem = i,
                         .pszText = LPSTR_TEXTCALLBACKW,
                         .lParam = i};
            ASSERT_EQ(Send(LVM_INSERTITEMW, 0, PointerParam(&item)), i);
        }
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(list, message, wParam, lParam);
    }
    int Top() { return static_cast<int>(Send(LVM_GETTOPINDEX)); }
    int PerPage() { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE)); }
    int Selected() {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    int RowHeight() {
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        Send(LVM_GETITEMRECT, static_cast<WPARAM>(Top()), PointerParam(&row));
        return row.bottom - row.top;
    }
    LPARAM DataAt(int index) {
        LVITEMW item{.mask = LVIF_PARAM, .iItem = index};
        EXPECT_TRUE(Send(LVM_GETITEMW, 0, PointerParam(&item)));
        return item.lParam;
    }
    void Select(int index, UINT state = LVIS_SELECTED | LVIS_FOCUSED) {
        LVITEMW select{.state = state, .stateMask = LVIS_SELECTED | LVIS_FOCUSED};
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), PointerParam(&select));
    }
    // A screen point inside the row that shows `index`, near its left end.
    POINT RowPoint(int index) {
        return {kLeft + 40, kTop + (index - Top()) * RowHeight() + RowHeight() / 2};
    }
    void TapRow(int index) {
        const POINT point = RowPoint(index);
        host.Tap(point.x, point.y);
        Pump();
    }

    HWND list = nullptr;
    Answer custom;
};

TEST_F(ListViewTest, TextsAreAskedOnlyForVisibleRowsAndEnsureVisibleScrollsTheLeast) {
    Fill(5000);
    Pump();
    const int perPage = PerPage();
    ASSERT_NE(170 % RowHeight(), 0) << "the list must show a partial row for this test";
    for (const Notice& notice : Notices(LVN_GETDISPINFOW)) {
        EXPECT_LE(notice.item, perPage) << "the partly shown row is the last one asked";
    }
    const std::tuple<int, WPARAM, bool, int> cases[] = {
        {perPage, 1, true, 0}, {perPage, 0, true, 1}, {0, 0, true, 0},
        {5000, 0, false, 0},   {-1, 0, false, 0},     {4999, 0, true, 5000 - perPage},
        {2500, 1, true, 2500}};
    for (const auto& [index, partOk, found, top] : cases) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partOk) != 0, found);
        EXPECT_EQ(Top(), top);
    }
    // Whole rows only: the row below the page is hidden, partial or not.
    MoveWindow(list, kLeft, kTop, 200, 10 * RowHeight(), 1);
    Send(LVM_ENSUREVISIBLE, 2510, 1);
    EXPECT_EQ(Top(), 2501);
}

int Descending(LPARAM a, LPARAM b, LPARAM) {
    return static_cast<int>(b / 10 - a / 10);
}

TEST_F(ListViewTest, SortingOrdersByTheCallbackKeepsTiesAndTheSelectionMark) {
    Fill(30);
    Select(3);
    Select(5);
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), 3) << "the first item selected keeps the mark";
    EXPECT_TRUE(Send(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&Descending)));
    // Tens descending, and within the same tens the original order.
    for (const auto& [place, data] : {std::pair{0, 20}, {1, 21}, {2, 22}, {9, 29}, {10, 10}}) {
        EXPECT_EQ(DataAt(place), data) << "place " << place;
    }
    EXPECT_EQ(DataAt(Selected()), 5);

    // Items inserted at or before the mark move it along with its item; after it, not.
    for (const int offset : {0, -1, 1}) {
        SCOPED_TRACE(offset);
        const int before = static_cast<int>(Send(LVM_GETSELECTIONMARK));
        LVITEMW added{.mask = LVIF_PARAM, .iItem = before + offset, .lParam = 100 + offset};
        Send(LVM_INSERTITEMW, 0, PointerParam(&added));
        EXPECT_EQ(Send(LVM_GETSELECTIONMARK), offset <= 0 ? before + 1 : before);
        EXPECT_EQ(DataAt(Send(LVM_GETSELECTIONMARK)), 3);
    }
    Send(LVM_DELETEITEM, 0);
    EXPECT_EQ(DataAt(Send(LVM_GETSELECTIONMARK)), 3) << "a row above it deleted";
}

TEST_F(ListViewTest, ATapSelectsAndMarksTheItemAndTellsTheParentInOrder) {
    Fill(50);
    Pump();
    TapRow(2);
    // The old item is let go before the new one is taken.
    ClearNotices();
    TapRow(5);
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    EXPECT_EQ(Notices(LVN_ITEMCHANGED),
              (std::vector<Notice>{{LVN_ITEMCHANGED, 2, 0, both}, {LVN_ITEMCHANGED, 5, both, 0}}));
    EXPECT_EQ(Notices(NM_CLICK)[0].item, 5);
    EXPECT_EQ(std::pair(Selected(), Send(LVM_GETSELECTIONMARK)), std::pair(5, LRESULT{5}));
    EXPECT_EQ(Send(LVM_GETNEXTITEM, 5, LVNI_SELECTED), -1);
    // Asked for some state flags, the list gives only those.
    LVITEMW asked{.mask = LVIF_STATE, .iItem = 5, .stateMask = LVIS_FOCUSED};
    EXPECT_TRUE(Send(LVM_GETITEMW, 0, PointerParam(&asked)));
    EXPECT_EQ(asked.state, LVIS_FOCUSED);
    EXPECT_EQ(Send(LVM_GETITEMSTATE, 5, LVIS_SELECTED), LVIS_SELECTED);
    // Unfocused, the selected row stays lit, grey, only with the style; each focus move repaints.
    const auto style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
    UINT told = 0;  // row 5's state as the parent's custom draw is told it
    custom = [&](NMHDR* header) -> LRESULT {
        const auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
        told = header->code == NM_CUSTOMDRAW && draw->dwItemSpec == 5 ? draw->uItemState : told;
        return header->code == NM_CUSTOMDRAW ? CDRF_NOTIFYITEMDRAW : 0;
    };
    for (const auto& [always, focus, back] : {std::tuple{false, parent, COLOR_WINDOW},
                                              {true, list, COLOR_HIGHLIGHT},
                                              {true, parent, COLOR_BTNFACE},
                                              {false, list, COLOR_HIGHLIGHT}}) {
        SetWindowLongW(list, GWL_STYLE, always ? style : style & ~LVS_SHOWSELALWAYS);
        Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, always ? LVS_EX_FULLROWSELECT : 0);
        ClearNotices();
        SetFocus(focus);
        Pump();
        EXPECT_EQ(Notices(focus == list ? NM_SETFOCUS : NM_KILLFOCUS).size(), 1U);
        EXPECT_EQ(ScreenPixel(kLeft + 150, RowPoint(5).y), GetSysColor(back)) << always;
        EXPECT_EQ(ScreenPixel(kLeft + 150, RowPoint(4).y), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(told, CDIS_SELECTED | (focus == list ? CDIS_FOCUS : 0U));
    }

    // Past the last item: nothing is selected and there is no mark.
    Send(LVM_DELETEALLITEMS);
    Fill(3);
    TapRow(1);
    ClearNotices();
    TapRow(6);
    EXPECT_EQ(std::pair(Selected(), Send(LVM_GETSELECTIONMARK)), std::pair(-1, LRESULT{-1}));
    EXPECT_EQ(Notices(NM_CLICK), (std::vector<Notice>{{NM_CLICK, -1, 0, 0}}));

    // The parent may destroy the list while it is told of a tap, with the item's data.
    custom = [&](NMHDR* header) -> LRESULT {
        if (header->code == NM_CLICK) {
            EXPECT_EQ(reinterpret_cast<NMITEMACTIVATE*>(header)->lParam, 2);
            DestroyWindow(list);
        }
        return 0;
    };
    TapRow(2);
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(ListViewTest, KeysMoveTheSelectionAndKeepItInView) {
    Fill(100);
    EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_WANTARROWS);
    SetFocus(list);
    const int perPage = PerPage();
    // The first Down takes the first item. Page Down goes to the bottom row shown, and from there
    // a page further; Page Up to the top row shown, and from there a page back.
    const std::tuple<int, int, int> steps[] = {
        {VK_DOWN, 0, 0},
        {VK_UP, 0, 0},
        {VK_NEXT, perPage - 1, 0},
        {VK_UP, perPage - 2, 0},
        {VK_NEXT, perPage - 1, 0},
        {VK_NEXT, 2 * perPage - 2, perPage - 1},
        {VK_PRIOR, perPage - 1, perPage - 1},
        {VK_DOWN, perPage, perPage - 1},
        {VK_PRIOR, perPage - 1, perPage - 1},
        {VK_PRIOR, 0, 0},
        {VK_END, 99, 100 - perPage},
        {VK_NEXT, 99, 100 - perPage},
        {VK_PRIOR, 100 - perPage, 100 - perPage},
        {VK_PRIOR, 101 - 2 * perPage, 101 - 2 * perPage},
        {VK_HOME, 0, 0},
    };
    for (const auto& [key, selected, top] : steps) {
        SCOPED_TRACE(::testing::Message() << "key " << key << " to " << selected);
        host.Key(key);
        Pump();
        EXPECT_EQ(std::pair(Selected(), Top()), std::pair(selected, top));
        EXPECT_EQ(GetScrollPos(list, SB_VERT), top) << "the bar follows the keys";
    }
    Select(0, LVIS_FOCUSED);  // a key landing on the focused row selects it again
    host.Key(VK_UP);
    Pump();
    EXPECT_EQ(std::pair(Selected(), Send(LVM_GETSELECTIONMARK)), std::pair(0, LRESULT{0}));
    Select(99);
    Select(-1, 0);
    EXPECT_EQ(Selected(), -1) << "-1 is every item, the last too";
}

TEST_F(ListViewTest, DraggingWithThePenScrollsWithoutSelectingAndTheBarFollowsTheItems) {
    Fill(3);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0) << "no bar while the rows fit";
    Send(LVM_DELETEALLITEMS);
    Fill(100);
    Pump();
    const int row = RowHeight();
    const POINT start = RowPoint(6);
    host.PenDown(start.x, start.y);
    host.PenMove(start.x, start.y - 3 * row - 1);
    Pump();
    EXPECT_EQ(Top(), 3);
    host.PenMove(start.x, start.y + 10 * row);
    Pump();
    EXPECT_EQ(Top(), 0) << "never above the first item";
    host.PenMove(start.x, start.y - 2 * row);
    host.PenUp(start.x, start.y - 2 * row);
    Pump();
    EXPECT_EQ(Top(), 2);
    EXPECT_TRUE(Notices(LVN_ITEMCHANGED).empty());
    EXPECT_EQ(GetCapture(), nullptr);
    const int half = (row + 1) / 2;  // LVM_SCROLL moves whole rows: half a row or more is one
    for (const auto& [dy, top] : {std::pair{half - 1, 2}, {half, 3}, {-row - half, 1}}) {
        Send(LVM_SCROLL, 0, dy);
        EXPECT_EQ(Top(), top) << dy;
    }

    // Up to the threshold the pen may wobble and still tap its row; past it, it drags.
    const int k = kDragThreshold;
    const std::pair<int, bool> wobbles[] = {
        {0, true}, {k, true}, {-k, true}, {k + 1, false}, {-k - 1, false}};
    for (const auto& [dy, tapped] : wobbles) {
        ClearNotices();
        const POINT tap = RowPoint(4);
        host.PenDown(tap.x, tap.y);
        host.PenMove(tap.x, tap.y + dy);
        host.PenUp(tap.x, tap.y + dy);
        Pump();
        EXPECT_EQ(Notices(NM_CLICK).size(), tapped ? 1U : 0U) << dy;
    }
    EXPECT_EQ(Top(), 1) << "a drag starts from the rows shown at its press, not at the last one";
}

TEST_F(ListViewTest, BadItemsIndicesWidthsAndStylesFailOrAreHeld) {
    LVITEMW item{.mask = LVIF_PARAM, .iItem = 50, .lParam = 99};  // past the end: appended
    EXPECT_EQ(Send(LVM_INSERTITEMW, 0, PointerParam(&item)), 0);
    item.iSubItem = 1;
    EXPECT_EQ(Send(LVM_INSERTITEMW, 0, PointerParam(&item)), -1) << "sub-items are not items";
    EXPECT_EQ(Send(LVM_INSERTITEMW, 0, 0), -1);
    EXPECT_EQ(DataAt(0), 99);
    Fill(2);
    char16_t label[] = u"x";
    LVITEMW firstColumn{.iSubItem = INT_MAX, .pszText = label};
    LVITEMW secondColumn{
        .mask = LVIF_TEXT | LVIF_PARAM, .iItem = 1, .iSubItem = 1, .pszText = label, .lParam = 5};
    LVCOLUMNW column{.mask = LVCF_WIDTH, .cx = INT_MAX};
    Select(0);
    const std::tuple<UINT, WPARAM, LPARAM, LRESULT> cases[] = {
        {LVM_GETNEXTITEM, static_cast<WPARAM>(INT_MAX), LVNI_ALL, -1},
        // Looking back from an item finds those before it down to the first, of the state asked.
        {LVM_GETNEXTITEM, static_cast<WPARAM>(INT_MIN), LVNI_ABOVE, -1},
        {LVM_GETNEXTITEM, 0, LVNI_ABOVE, -1},
        {LVM_GETNEXTITEM, 1, LVNI_ABOVE, 0},
        {LVM_GETNEXTITEM, 2, LVNI_ABOVE | LVNI_SELECTED, 0},
        {LVM_GETNEXTITEM, 2, LVNI_ABOVE | LVNI_FOCUSED, 0},
        // Only the columns there are have texts.
        {LVM_SETITEMTEXTW, 0, PointerParam(&firstColumn), 0},
        {LVM_SETITEMTEXTW, 0, PointerParam(&secondColumn), 0},
        {LVM_INSERTCOLUMNW, 1, PointerParam(&column), 1},
        {LVM_GETCOLUMNWIDTH, 1, 0, 0x7FFF},
        {LVM_SETITEMTEXTW, 0, PointerParam(&secondColumn), 1},
        // A sub-item has no data of its own: the item's stays, as its text below shows.
        {LVM_SETITEMW, 0, PointerParam(&secondColumn), 1},
        // Only the bits of the mask change.
        {LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, 1, LVS_EX_FULLROWSELECT},
        {LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, 0},
        // A mark past the items is none.
        {LVM_SETSELECTIONMARK, 0, 3, 0},
        {LVM_GETSELECTIONMARK, 0, 0, -1},
    };
    for (const auto& [message, wParam, lParam, expected] : cases) {
        EXPECT_EQ(Send(message, wParam, lParam), expected) << message;
    }
    // A text is cut to the caller's room with its end; nothing is written outside the room.
    using namespace std::string_view_literals;
    const std::tuple<int, LRESULT, std::u16string_view> cuts[] = {
        {7, 6, u"?Item 1\0#"sv}, {6, 5, u"?Item \0?#"sv}, {0, 0, u"????????#"sv}};
    for (const auto& [room, copied, after] : cuts) {
        char16_t read[9] = {u'?', u'?', u'?', u'?', u'?', u'?', u'?', u'?', u'#'};
        LVITEMW cell{.pszText = read + 1, .cchTextMax = room};
        EXPECT_EQ(Send(LVM_GETITEMTEXTW, 1, PointerParam(&cell)), copied);
        EXPECT_EQ(std::u16string_view(read, 9), after);
    }
    EXPECT_EQ(Notices(LVN_GETDISPINFOW).size(), 1U) << "the list keeps the text it was given";
    // Two columns as wide as they can be still add up and paint.
    ASSERT_EQ(Send(LVM_INSERTCOLUMNW, 2, PointerParam(&column)), 2);
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(Send(LVM_GETITEMRECT, 0, PointerParam(&row)));
    EXPECT_EQ(row.right, 180 + 2 * 0x7FFF);
    UpdateWindow(parent);
    Pump();
}

// The fixture's list with 100 rows and a second, right-aligned column: 180 + 150 pixels of
// columns beside the vertical bar, 200 - 13 pixels of list.
class HorizontalScrollTest : public ListViewTest {
  protected:
    static constexpr int kClientWidth = 200 - 13;
    static constexpr int kColumns = 180 + 150;
    static constexpr int kLargestLeft = kColumns - kClientWidth;

    HorizontalScrollTest() {
        Fill(100);
        LVCOLUMNW column{.mask = LVCF_WIDTH | LVCF_FMT, .fmt = LVCFMT_RIGHT, .cx = 150};
        Send(LVM_INSERTCOLUMNW, 1, PointerParam(&column));
        Pump();
    }
    bool BarShown() { return (GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) != 0; }
    // Where the first column begins, from the row's bounds: 0 unscrolled, negative scrolled.
    int ColumnsLeft() {
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        Send(LVM_GETITEMRECT, static_cast<WPARAM>(Top()), PointerParam(&row));
        return row.left;
    }
};

TEST_F(HorizontalScrollTest, EachScrollCodeAndArrowKeyMovesTheColumnsByItsPixels) {
    const std::tuple<int, WORD, int> cases[] = {
        {0, SB_LINERIGHT, kListViewLineWidth},
        {3, SB_LINELEFT, 0},
        {kLargestLeft - 3, SB_LINERIGHT, kLargestLeft},
        {kLargestLeft, SB_LINERIGHT, kLargestLeft},
        {0, SB_PAGERIGHT, kLargestLeft},
        {kLargestLeft, SB_PAGELEFT, 0},
        {0, SB_RIGHT, kLargestLeft},
        {50, SB_ENDSCROLL, 50},
    };
    for (const auto& [from, code, to] : cases) {
        SCOPED_TRACE(::testing::Message() << from << " code " << code);
        Send(WM_HSCROLL, SB_LEFT);
        Send(LVM_SCROLL, static_cast<WPARAM>(from), 0);
        ASSERT_EQ(ColumnsLeft(), -from);
        Send(WM_HSCROLL, code);
        EXPECT_EQ(std::pair(ColumnsLeft(), GetScrollPos(list, SB_HORZ)), std::pair(-to, to));
    }
    EXPECT_EQ(Top(), 0) << "the rows stay";
    // The Left and Right keys are lines too, and leave the selection.
    SetFocus(list);
    Select(4);
    for (const int key : {VK_RIGHT, VK_RIGHT, VK_LEFT}) {
        host.Key(key);
    }
    Pump();
    EXPECT_EQ(ColumnsLeft(), -(50 + kListViewLineWidth));
    EXPECT_EQ(Selected(), 4);
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, 0);
    host.Tap(kLeft + 180 - (50 + kListViewLineWidth), RowPoint(6).y);
    Pump();
    EXPECT_EQ(Notices(NM_CLICK).back().item, -1) << "past what shows of the first column";
    // With small images the icon lies inside its margins, the label after it to the column's end.
    Send(LVM_SETIMAGELIST, LVSIL_SMALL, PointerParam(ImageList_Create(16, 16, ILC_COLOR, 1, 0)));
    for (const auto& [part, left, right] :
         {std::tuple{LVIR_ICON, 2, 2 + 16}, {LVIR_LABEL, 2 + 16 + 2, 180}}) {
        RECT rect{part, 0, 0, 0};
        Send(LVM_GETITEMRECT, static_cast<WPARAM>(Top()), PointerParam(&rect));
        EXPECT_EQ(rect.left - ColumnsLeft(), left) << part;
        EXPECT_EQ(rect.right - ColumnsLeft(), right);
    }
}

TEST_F(HorizontalScrollTest, TheBarIsThereOnlyWhileTheColumnsAreWiderThanTheList) {
    // The second column's width, whether the bar shows, and the columns' left after scrolling to
    // the right end before the change; 180 + 7 fills the list exactly.
    const std::tuple<int, bool, int> cases[] = {
        {8, true, 1}, {7, false, 0}, {0, false, 0}, {150, true, 0}};
    for (const auto& [secondWidth, shown, left] : cases) {
        SCOPED_TRACE(secondWidth);
        Send(WM_HSCROLL, SB_RIGHT);
        Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(secondWidth, 0));
        EXPECT_EQ(BarShown(), shown);
        RECT client;
        GetClientRect(list, &client);
        EXPECT_EQ(client.bottom, shown ? 170 - 13 : 170);
        EXPECT_EQ(ColumnsLeft(), -left) << "held to the new largest position";
    }
    LVITEMW cell{.iSubItem = 1, .pszText = LPSTR_TEXTCALLBACKW};
    Send(LVM_SETITEMTEXTW, 0, PointerParam(&cell));
    Send(WM_HSCROLL, SB_RIGHT);
    Pump();
    const RECT end{kLeft + kClientWidth - 12, kTop, kLeft + kClientWidth, kTop + RowHeight()};
    EXPECT_LT(CountPixels(end, GetSysColor(COLOR_WINDOW)), 12 * RowHeight());
    // Without rows the vertical bar goes and the list is wide enough again.
    Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(20, 0));
    EXPECT_TRUE(BarShown());
    Send(LVM_DELETEALLITEMS);
    EXPECT_FALSE(BarShown());
}

}  // namespace
}  // namespace qv::testing
