#include "platform/controls/list_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "control_test.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/gdi_objects.h"
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
constexpr COLORREF kGreen = RGB(0, 200, 0);

// A list of one 180-pixel column at (10, 20), 200 x 170, whose texts the parent gives as
// "Item N" of the item data.
class ListViewTest : public ControlTest {
  protected:
    ListViewTest() {
        RegisterListViewClass();
        list = CreateWindowExW(0, WC_LISTVIEW, u"",
                               WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER |
                                   LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                               kLeft, kTop, 200, 170, parent, 7, nullptr, nullptr);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
        LVCOLUMNW column;
        column.mask = LVCF_WIDTH;
        column.cx = 180;
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, PointerParam(&column));
        answer = [this](NMHDR* header) -> LRESULT {
            if (header->code == LVN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
                const std::u16string text = u"Item " + Digits(info->item.lParam);
                std::copy(text.begin(), text.end(), info->item.pszText);
                info->item.pszText[text.size()] = u'\0';
                return 0;
            }
            return custom ? custom(header) : 0;
        };
    }

    static std::u16string Digits(LPARAM value) {
        const std::string narrow = std::to_string(value);
        return {narrow.begin(), narrow.end()};
    }

    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            LVITEMW item;
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.pszText = LPSTR_TEXTCALLBACKW;
            item.lParam = i;
            ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, PointerParam(&item)), i);
        }
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(list, message, wParam, lParam);
    }
    int Top() { return static_cast<int>(Send(LVM_GETTOPINDEX)); }
    int PerPage() { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE)); }
    int RowHeight() {
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        Send(LVM_GETITEMRECT, static_cast<WPARAM>(Top()), PointerParam(&row));
        return row.bottom - row.top;
    }
    LPARAM DataAt(int index) {
        LVITEMW item;
        item.mask = LVIF_PARAM;
        item.iItem = index;
        EXPECT_TRUE(Send(LVM_GETITEMW, 0, PointerParam(&item)));
        return item.lParam;
    }
    // A screen point inside the row that shows `index`, near its left end.
    POINT RowPoint(int index) {
        return {kLeft + 40, kTop + (index - Top()) * RowHeight() + RowHeight() / 2};
    }

    HWND list = nullptr;
    Answer custom;
};

TEST_F(ListViewTest, TextsAreAskedOnlyForVisibleRows) {
    Fill(5000);
    Pump();
    const int perPage = PerPage();
    ASSERT_GT(perPage, 3);
    auto asked = Notices(LVN_GETDISPINFOW);
    ASSERT_FALSE(asked.empty());
    for (const Notice& notice : asked) {
        EXPECT_LE(notice.item, perPage) << "the partly shown row is the last one asked";
    }

    // The way a picker brings an item to the top: the last item, then the item itself.
    ClearNotices();
    EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 4999, 0));
    EXPECT_EQ(Top(), 5000 - perPage);
    EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 2500, 1));
    EXPECT_EQ(Top(), 2500);
    Pump();
    asked = Notices(LVN_GETDISPINFOW);
    ASSERT_FALSE(asked.empty());
    for (const Notice& notice : asked) {
        EXPECT_GE(notice.item, 2500);
        EXPECT_LE(notice.item, 2500 + perPage);
    }

    // LVM_GETITEMTEXTW asks too, and copies no more than the buffer holds.
    char16_t small[5];
    LVITEMW item;
    item.pszText = small;
    item.cchTextMax = 5;
    EXPECT_EQ(Send(LVM_GETITEMTEXTW, 42, PointerParam(&item)), 4);
    EXPECT_EQ(std::u16string(small), u"Item");
}

TEST_F(ListViewTest, EnsureVisibleScrollsTheLeastAndAcceptsAPartRowWhenAllowed) {
    Fill(100);
    const int perPage = PerPage();
    ASSERT_NE(170 % RowHeight(), 0) << "the list must show a partial row for this test";
    EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(perPage), 1));
    EXPECT_EQ(Top(), 0);
    EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(perPage), 0));
    EXPECT_EQ(Top(), 1);
    EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 0, 0));
    EXPECT_EQ(Top(), 0);
    EXPECT_FALSE(Send(LVM_ENSUREVISIBLE, 100, 0));
    EXPECT_FALSE(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(Top(), 0);
    // A short list never scrolls.
    Send(LVM_DELETEALLITEMS);
    Fill(3);
    EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 2, 0));
    EXPECT_EQ(Top(), 0);
}

int Descending(LPARAM a, LPARAM b, LPARAM) {
    return static_cast<int>(b / 10 - a / 10);
}

int Random(LPARAM, LPARAM, LPARAM seed) {
    static std::mt19937 generator(static_cast<unsigned>(seed));
    return static_cast<int>(generator() % 3) - 1;
}

TEST_F(ListViewTest, SortingOrdersByTheCallbackKeepsTiesAndTheSelectionMark) {
    Fill(30);
    LVITEMW select;
    select.state = LVIS_SELECTED;
    select.stateMask = LVIS_SELECTED;
    Send(LVM_SETITEMSTATE, 3, PointerParam(&select));
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), 3);

    EXPECT_TRUE(Send(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&Descending)));
    // Tens descending, and within the same tens the original order.
    const LPARAM expected[] = {20, 21, 22, 29, 10, 11};
    const int places[] = {0, 1, 2, 9, 10, 11};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(DataAt(places[i]), expected[i]) << "place " << places[i];
    }
    EXPECT_EQ(DataAt(Send(LVM_GETSELECTIONMARK)), 3);
    EXPECT_EQ(DataAt(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)), 3);

    // A comparison that contradicts itself leaves every item in the list once.
    EXPECT_TRUE(Send(LVM_SORTITEMS, 7, reinterpret_cast<LPARAM>(&Random)));
    std::vector<bool> seen(30);
    for (int i = 0; i < 30; ++i) {
        seen[static_cast<std::size_t>(DataAt(i))] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 30);
    EXPECT_FALSE(Send(LVM_SORTITEMS, 0, 0));

    // Items inserted at or before the mark move it along with its item; after it, not.
    const LPARAM marked = DataAt(Send(LVM_GETSELECTIONMARK));
    for (const int offset : {0, -1, 1}) {
        SCOPED_TRACE(offset);
        const int before = static_cast<int>(Send(LVM_GETSELECTIONMARK));
        LVITEMW added;
        added.mask = LVIF_PARAM;
        added.iItem = before + offset;
        added.lParam = 100 + offset;
        Send(LVM_INSERTITEMW, 0, PointerParam(&added));
        EXPECT_EQ(Send(LVM_GETSELECTIONMARK), offset <= 0 ? before + 1 : before);
        EXPECT_EQ(DataAt(Send(LVM_GETSELECTIONMARK)), marked);
    }
}

TEST_F(ListViewTest, ATapSelectsAndMarksTheItemAndTellsTheParentInOrder) {
    Fill(50);
    Pump();
    const POINT second = RowPoint(2);
    host.Tap(second.x, second.y);
    Pump();
    auto changes = Notices(LVN_ITEMCHANGED);
    ASSERT_EQ(changes.size(), 1U);
    EXPECT_EQ(changes[0].item, 2);
    EXPECT_EQ(changes[0].newState, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), 2);
    ASSERT_EQ(Notices(NM_CLICK).size(), 1U);
    EXPECT_EQ(Notices(NM_CLICK)[0].item, 2);
    EXPECT_EQ(GetFocus(), list);

    // The old item is let go before the new one is taken.
    ClearNotices();
    const POINT fifth = RowPoint(5);
    host.Tap(fifth.x, fifth.y);
    Pump();
    changes = Notices(LVN_ITEMCHANGED);
    ASSERT_EQ(changes.size(), 2U);
    EXPECT_EQ(changes[0].item, 2);
    EXPECT_EQ(changes[0].newState, 0U);
    EXPECT_EQ(changes[1].item, 5);
    EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 5);
    EXPECT_EQ(Send(LVM_GETNEXTITEM, 5, LVNI_SELECTED), -1);

    // Past the last item: nothing is selected and there is no mark.
    Send(LVM_DELETEALLITEMS);
    Fill(3);
    Send(LVM_SETSELECTIONMARK, 0, 1);
    ClearNotices();
    const POINT empty = RowPoint(6);
    host.Tap(empty.x, empty.y);
    Pump();
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), -1);
    ASSERT_EQ(Notices(NM_CLICK).size(), 1U);
    EXPECT_EQ(Notices(NM_CLICK)[0].item, -1);
}

TEST_F(ListViewTest, KeysMoveTheSelectionAndKeepItInView) {
    Fill(100);
    EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_WANTARROWS);
    SetFocus(list);
    const int perPage = PerPage();
    const auto selected = [&] {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    };
    host.Key(VK_DOWN);
    Pump();
    EXPECT_EQ(selected(), 0) << "the first Down takes the first item";
    host.Key(VK_UP);
    Pump();
    EXPECT_EQ(selected(), 0);
    host.Key(VK_NEXT);
    Pump();
    EXPECT_EQ(selected(), perPage - 1) << "first to the bottom of the page";
    EXPECT_EQ(Top(), 0);
    host.Key(VK_NEXT);
    Pump();
    EXPECT_EQ(selected(), 2 * perPage - 2) << "then a page further";
    EXPECT_EQ(Top(), perPage - 1);
    host.Key(VK_END);
    Pump();
    EXPECT_EQ(selected(), 99);
    EXPECT_EQ(Top(), 100 - perPage);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), Top()) << "the bar follows the keys";
    host.Key(VK_PRIOR);
    Pump();
    EXPECT_EQ(selected(), 100 - perPage);
    host.Key(VK_HOME);
    Pump();
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(Top(), 0);
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), 0);
    EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
}

TEST_F(ListViewTest, CustomDrawColoursReachThePixels) {
    Fill(10);
    std::vector<DWORD> stages;
    custom = [&](NMHDR* header) -> LRESULT {
        if (header->code != NM_CUSTOMDRAW) {
            return 0;
        }
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        stages.push_back(draw->nmcd.dwDrawStage);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
            return CDRF_NOTIFYITEMDRAW;
        }
        if (draw->nmcd.lItemlParam == 1 || draw->nmcd.lItemlParam == 3) {
            draw->clrTextBk = kGreen;
        }
        if (draw->nmcd.lItemlParam == 3) {
            draw->nmcd.uItemState &= ~CDIS_SELECTED;
        }
        return CDRF_DODEFAULT;
    };
    LVITEMW select;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, 2, PointerParam(&select));
    SetFocus(list);
    Pump();
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), CDDS_PREPAINT);
    EXPECT_EQ(std::count(stages.begin(), stages.end(), CDDS_ITEMPREPAINT), 10);
    const int x = kLeft + 170;  // right of every text
    EXPECT_EQ(ScreenPixel(x, RowPoint(0).y), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ScreenPixel(x, RowPoint(1).y), kGreen);
    EXPECT_EQ(ScreenPixel(x, RowPoint(2).y), GetSysColor(COLOR_HIGHLIGHT));

    // A selected row whose parent clears its selected state shows the parent's colour.
    Send(LVM_SETITEMSTATE, 3, PointerParam(&select));
    Pump();
    EXPECT_EQ(ScreenPixel(x, RowPoint(3).y), kGreen);
    EXPECT_EQ(ScreenPixel(x, RowPoint(2).y), GetSysColor(COLOR_WINDOW));

    // Without the per-item answer no item stage is sent and the defaults are drawn.
    stages.clear();
    custom = [&](NMHDR* header) -> LRESULT {
        if (header->code == NM_CUSTOMDRAW) {
            stages.push_back(reinterpret_cast<NMCUSTOMDRAW*>(header)->dwDrawStage);
        }
        return CDRF_DODEFAULT;
    };
    InvalidateRect(list, nullptr, 0);
    Pump();
    EXPECT_EQ(stages, std::vector<DWORD>{CDDS_PREPAINT});
    EXPECT_EQ(ScreenPixel(x, RowPoint(1).y), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewTest, DraggingWithThePenScrollsWithoutSelecting) {
    Fill(100);
    Pump();
    const int row = RowHeight();
    const POINT start = RowPoint(6);
    host.PenDown(start.x, start.y);
    host.PenMove(start.x, start.y - row);
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
    EXPECT_TRUE(Notices(NM_CLICK).empty());
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), -1);
    EXPECT_EQ(GetCapture(), nullptr);

    // A small wobble is still a tap.
    const POINT tap = RowPoint(4);
    host.PenDown(tap.x, tap.y);
    host.PenMove(tap.x, tap.y + 2);
    host.PenUp(tap.x, tap.y + 2);
    Pump();
    EXPECT_EQ(Send(LVM_GETSELECTIONMARK), 4);

    // The scroll bar's arrows and track, at the right edge.
    const int barX = kLeft + 200 - 6;
    host.Tap(barX, kTop + 170 - 4);
    Pump();
    EXPECT_EQ(Top(), 3);
    host.Tap(barX, kTop + 4);
    Pump();
    EXPECT_EQ(Top(), 2);
    host.Tap(barX, kTop + 140);
    Pump();
    EXPECT_EQ(Top(), 2 + PerPage());
}

TEST_F(ListViewTest, TheBarComesWithTheItemsAndItsThumbScrollsTheList) {
    const auto client = [&] {
        RECT rect;
        GetClientRect(list, &rect);
        return rect.right;
    };
    const auto barShown = [&] { return (GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0; };
    Fill(3);
    EXPECT_FALSE(barShown());
    EXPECT_EQ(client(), 200);
    Send(LVM_DELETEALLITEMS);
    Fill(100);
    EXPECT_TRUE(barShown());
    EXPECT_EQ(client(), 200 - 13) << "the rows end at the bar";
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(list, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(static_cast<int>(info.nPage), PerPage());
    Pump();

    // The thumb dragged down the track: the rows follow while it moves, and at the end of the
    // track the last row is at the bottom.
    const int barX = kLeft + 200 - 6;
    host.PenDown(barX, kTop + 13 + 2);
    host.PenMove(barX, kTop + 13 + 2 + 40);
    Pump();
    const int midway = Top();
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, 100 - PerPage());
    host.PenMove(barX, kTop + 170);
    host.PenUp(barX, kTop + 170);
    Pump();
    EXPECT_EQ(Top(), 100 - PerPage());
    EXPECT_EQ(GetScrollPos(list, SB_VERT), Top());
    EXPECT_TRUE(Notices(LVN_ITEMCHANGED).empty()) << "the bar never selects";

    Send(LVM_DELETEALLITEMS);
    EXPECT_FALSE(barShown());
    EXPECT_EQ(Top(), 0);
}

TEST_F(ListViewTest, ItemsKeepTheirPartsAndTheParentMayDestroyTheListInANotification) {
    LVITEMW item;
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    char16_t text[] = u"Станция";
    item.pszText = text;
    item.iImage = 4;
    item.lParam = 99;
    item.iItem = 50;  // past the end: appended
    EXPECT_EQ(Send(LVM_INSERTITEMW, 0, PointerParam(&item)), 0);
    item.iSubItem = 1;
    EXPECT_EQ(Send(LVM_INSERTITEMW, 0, PointerParam(&item)), -1) << "sub-items are not items";
    EXPECT_EQ(Send(LVM_INSERTITEMW, 0, 0), -1);
    char16_t buffer[32];
    LVITEMW read;
    read.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    read.pszText = buffer;
    read.cchTextMax = 32;
    ASSERT_TRUE(Send(LVM_GETITEMW, 0, PointerParam(&read)));
    EXPECT_EQ(std::u16string(buffer), u"Станция");
    EXPECT_EQ(read.iImage, 4);
    EXPECT_EQ(read.lParam, 99);
    read.iItem = 1;
    EXPECT_FALSE(Send(LVM_GETITEMW, 0, PointerParam(&read)));

    Fill(5);
    custom = [&](NMHDR* header) -> LRESULT {
        if (header->code == NM_CLICK) {
            DestroyWindow(list);
        }
        return 0;
    };
    const POINT first = RowPoint(0);
    host.Tap(first.x, first.y);
    Pump();
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(ListViewTest, IndicesAndWidthsOutOfRangeFailOrAreHeld) {
    Fill(3);
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT expected;
    };
    LVITEMW text;
    char16_t label[] = u"x";
    text.pszText = label;
    text.iSubItem = INT_MAX;
    LVITEMW secondColumn = text;
    secondColumn.iSubItem = 1;
    LVCOLUMNW column;
    column.mask = LVCF_WIDTH;
    column.cx = INT_MAX;
    const Case cases[] = {
        {LVM_GETNEXTITEM, static_cast<WPARAM>(INT_MAX), LVNI_ALL, -1},
        {LVM_GETNEXTITEM, static_cast<WPARAM>(INT_MIN), LVNI_ABOVE, -1},
        // Only the columns there are have texts.
        {LVM_SETITEMTEXTW, 0, PointerParam(&text), 0},
        {LVM_SETITEMTEXTW, 0, PointerParam(&secondColumn), 0},
        {LVM_INSERTCOLUMNW, 1, PointerParam(&column), 1},
        {LVM_GETCOLUMNWIDTH, 1, 0, 0x7FFF},
        {LVM_SETITEMTEXTW, 0, PointerParam(&secondColumn), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Send(c.message, c.wParam, c.lParam), c.expected);
    }
    // Two columns as wide as they can be still add up and paint.
    ASSERT_EQ(Send(LVM_INSERTCOLUMNW, 2, PointerParam(&column)), 2);
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(Send(LVM_GETITEMRECT, 0, PointerParam(&row)));
    EXPECT_EQ(row.right, 180 + 2 * 0x7FFF);
    UpdateWindow(parent);
    Pump();
}

// The fixture's list with 100 rows and a second column: 180 + 150 pixels of columns beside the
// vertical bar, 200 - 13 pixels of list.
class HorizontalScrollTest : public ListViewTest {
  protected:
    static constexpr int kClientWidth = 200 - 13;
    static constexpr int kColumns = 180 + 150;
    static constexpr int kLargestLeft = kColumns - kClientWidth;

    HorizontalScrollTest() {
        Fill(100);
        LVCOLUMNW column;
        column.mask = LVCF_WIDTH;
        column.cx = 150;
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
    int ClientHeight() {
        RECT client;
        GetClientRect(list, &client);
        return client.bottom;
    }
    std::vector<COLORREF> Band(int top, int bottom) {
        std::vector<COLORREF> pixels;
        for (int y = top; y < bottom; ++y) {
            for (int x = kLeft; x < kLeft + kClientWidth; ++x) {
                pixels.push_back(ScreenPixel(x, y));
            }
        }
        return pixels;
    }
};

TEST_F(HorizontalScrollTest, EachScrollCodeMovesTheColumnsByItsPixels) {
    ASSERT_TRUE(BarShown());
    EXPECT_EQ(ClientHeight(), 170 - 13) << "the rows end at the bar";
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_HORZ, &info));
    EXPECT_EQ(info.nMax, kColumns - 1);
    EXPECT_EQ(static_cast<int>(info.nPage), kClientWidth);
    struct Case {
        int from;
        WORD code;
        int to;
    };
    const Case cases[] = {
        {0, SB_LINERIGHT, kListViewLineWidth},
        {kListViewLineWidth, SB_LINELEFT, 0},
        {0, SB_LINELEFT, 0},
        {3, SB_LINELEFT, 0},
        {kLargestLeft - 3, SB_LINERIGHT, kLargestLeft},
        {kLargestLeft, SB_LINERIGHT, kLargestLeft},
        {0, SB_PAGERIGHT, kLargestLeft},
        {kLargestLeft, SB_PAGELEFT, 0},
        {0, SB_RIGHT, kLargestLeft},
        {100, SB_LEFT, 0},
        {50, SB_ENDSCROLL, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << " code " << c.code);
        Send(WM_HSCROLL, SB_LEFT);
        Send(LVM_SCROLL, static_cast<WPARAM>(c.from), 0);
        ASSERT_EQ(ColumnsLeft(), -c.from);
        Send(WM_HSCROLL, c.code);
        EXPECT_EQ(ColumnsLeft(), -c.to);
        EXPECT_EQ(GetScrollPos(list, SB_HORZ), c.to);
    }
    EXPECT_EQ(Top(), 0) << "the rows stay";

    // The picture moves with them: what was a line to the right is now at the same place.
    Send(WM_HSCROLL, SB_LEFT);
    Pump();
    const int bandTop = kTop + 2;
    const int bandBottom = kTop + 3 * RowHeight();
    const std::vector<COLORREF> before = Band(bandTop, bandBottom);
    Send(WM_HSCROLL, SB_LINERIGHT);
    Pump();
    const std::vector<COLORREF> after = Band(bandTop, bandBottom);
    int inked = 0;
    for (int y = 0; y < bandBottom - bandTop; ++y) {
        for (int x = 0; x + kListViewLineWidth < kClientWidth; ++x) {
            const auto at = [&](int column) {
                return static_cast<std::size_t>(y * kClientWidth + column);
            };
            ASSERT_EQ(after[at(x)], before[at(x + kListViewLineWidth)]) << x << ", " << y;
            inked += after[at(x)] != GetSysColor(COLOR_WINDOW) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 20) << "the band holds text";
}

TEST_F(HorizontalScrollTest, ThePenOnTheBarScrollsTheColumns) {
    const int barY = kTop + 170 - 6;
    host.Tap(kLeft + 4, barY);
    Pump();
    EXPECT_EQ(ColumnsLeft(), 0) << "the left arrow at the left end";
    host.Tap(kLeft + kClientWidth - 4, barY);
    Pump();
    EXPECT_EQ(ColumnsLeft(), -kListViewLineWidth);
    host.Tap(kLeft + kClientWidth - 20, barY);
    Pump();
    EXPECT_EQ(ColumnsLeft(), -kLargestLeft) << "a page of the track";
    host.Tap(kLeft + 4, barY);
    Pump();
    EXPECT_EQ(ColumnsLeft(), -(kLargestLeft - kListViewLineWidth));
    EXPECT_EQ(Top(), 0);

    // The thumb dragged along the track: the columns follow it, and at the track's end the
    // last column ends at the list's edge.
    Send(WM_HSCROLL, SB_LEFT);
    Pump();
    const int thumbStart = kLeft + 13 + 2;
    host.PenDown(thumbStart, barY);
    host.PenMove(thumbStart + 30, barY);
    Pump();
    const int midway = -ColumnsLeft();
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, kLargestLeft);
    host.PenMove(kLeft + 200, barY);
    host.PenUp(kLeft + 200, barY);
    Pump();
    EXPECT_EQ(ColumnsLeft(), -kLargestLeft);
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    Send(LVM_GETITEMRECT, 0, PointerParam(&row));
    EXPECT_EQ(row.right, kClientWidth);
    EXPECT_TRUE(Notices(LVN_ITEMCHANGED).empty()) << "the bar never selects";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HorizontalScrollTest, TheBarIsThereOnlyWhileTheColumnsAreWiderThanTheList) {
    struct Case {
        int secondWidth;
        bool shown;
        int left;  // after scrolling to the right end before the change
    };
    // 180 + 7 fills the list exactly.
    const Case cases[] = {{8, true, 1}, {7, false, 0}, {0, false, 0}, {150, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondWidth);
        Send(WM_HSCROLL, SB_RIGHT);
        Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(c.secondWidth, 0));
        EXPECT_EQ(BarShown(), c.shown);
        EXPECT_EQ(ClientHeight(), c.shown ? 170 - 13 : 170);
        EXPECT_EQ(ColumnsLeft(), -c.left) << "held to the new largest position";
    }
    // Without rows the vertical bar goes and the list is wide enough again.
    Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(20, 0));
    EXPECT_TRUE(BarShown());
    Send(LVM_DELETEALLITEMS);
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(ColumnsLeft(), 0);
}

TEST_F(HorizontalScrollTest, LeftAndRightKeysAndLvmScrollMoveTheColumns) {
    SetFocus(list);
    LVITEMW select;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, 4, PointerParam(&select));
    ClearNotices();
    host.Key(VK_RIGHT);
    host.Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(ColumnsLeft(), -2 * kListViewLineWidth);
    host.Key(VK_LEFT);
    Pump();
    EXPECT_EQ(ColumnsLeft(), -kListViewLineWidth);
    EXPECT_TRUE(Notices(LVN_ITEMCHANGED).empty()) << "the selection stays";
    EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 4);

    // LVM_SCROLL: pixels across, rows down rounded to the nearest row.
    const int row = RowHeight();
    struct Case {
        int dx;
        int dy;
        int left;
        int top;
    };
    const int half = (row + 1) / 2;
    const Case cases[] = {
        {40, 0, 40, 0},
        {-100, 0, 0, 0},
        {10000, 0, kLargestLeft, 0},
        {INT_MIN, 0, 0, 0},
        {0, half, 0, 1},
        {0, half - 1, 0, 0},
        {0, 3 * row, 0, 3},
        {0, 2 * row + half, 0, 3},
        {0, 2 * row + half - 1, 0, 2},
        {0, -half, 0, 0},
        {0, INT_MAX, 0, 100 - PerPage()},
        {0, INT_MIN, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dx << ", " << c.dy);
        Send(WM_HSCROLL, SB_LEFT);
        Send(WM_VSCROLL, SB_TOP);
        EXPECT_EQ(Send(LVM_SCROLL, static_cast<WPARAM>(static_cast<LPARAM>(c.dx)), c.dy), 1);
        EXPECT_EQ(ColumnsLeft(), -c.left);
        EXPECT_EQ(Top(), c.top);
    }
}

TEST_F(HorizontalScrollTest, ATextWiderThanItsColumnEndsInThreeDotsAtTheColumnsEdge) {
    LOGFONTW attributes;
    attributes.lfHeight = -11;
    const UniqueFont font(CreateFontIndirectW(&attributes));
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), 1);
    Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(100, 0));
    const std::u16string text = u"Калининско-Солнцевская линия";
    // The longest beginning that fits the column's text room with the dots after it, found by
    // measuring each in the list's font; a text sits two pixels inside each edge.
    const HDC dc = GetDC(list);
    std::u16string expected;
    {
        SelectionScope selected(dc, font.get());
        const auto width = [&](const std::u16string& candidate) {
            RECT rect{0, 0, 0, 0};
            DrawTextW(dc, candidate, &rect, DT_SINGLELINE | DT_CALCRECT);
            return rect.right;
        };
        ASSERT_GT(width(text), 96);
        for (std::size_t length = 0; length <= text.size(); ++length) {
            const std::u16string candidate = text.substr(0, length) + u"...";
            if (width(candidate) <= 96) {
                expected = candidate;
            }
        }
    }
    ReleaseDC(list, dc);
    ASSERT_FALSE(expected.empty());
    ASSERT_LT(expected.size(), text.size());
    std::u16string ownText[] = {text, expected};
    for (int i = 0; i < 2; ++i) {
        LVITEMW item;
        item.iSubItem = 1;
        item.pszText = ownText[i].data();
        Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(i), PointerParam(&item));
    }
    // The second column's right edge at the list's right edge.
    Send(WM_HSCROLL, SB_RIGHT);
    Pump();
    ASSERT_EQ(ColumnsLeft(), kClientWidth - 280);
    const int columnLeft = kLeft + kClientWidth - 100;
    const int row = RowHeight();
    int differing = 0;
    int inked = 0;
    for (int y = 0; y < row; ++y) {
        for (int x = columnLeft; x < kLeft + kClientWidth; ++x) {
            const COLORREF cut = ScreenPixel(x, kTop + y);
            differing += cut != ScreenPixel(x, kTop + row + y) ? 1 : 0;
            inked += cut != GetSysColor(COLOR_WINDOW) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "the long text looks as its beginning and three dots do";
    EXPECT_GT(inked, 50);
}

}  // namespace
}  // namespace qv::testing
