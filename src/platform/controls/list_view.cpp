#include "platform/controls/list_view.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "platform/controls/list_view_control.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"

namespace qv {

namespace list_view {

ListView::~ListView() {
    if (!(Style() & LVS_SHAREIMAGELISTS)) {
        ImageList_Destroy(smallImages_);
        ImageList_Destroy(normalImages_);
    }
}

bool ListView::OnCreate() {
    MeasureRows();
    return true;
}

void ListView::OnSize() {
    UpdateScrollBars();
    Redraw();
}

void ListView::OnScroll(int bar, WORD code) {
    if (bar == SB_VERT) {
        OnVerticalScroll(code);
    } else {
        OnHorizontalScroll(code);
    }
}

void ListView::FocusChanged(bool focused) {
    focused_ = focused;
    Redraw();
    NMHDR header = NotificationHeader(Window(), focused_ ? NM_SETFOCUS : NM_KILLFOCUS);
    Notify(header);
}

void ListView::MeasureRows() {
    const HDC dc = GetDC(Window());
    int textHeight = 13;
    if (dc) {
        SelectionScope font(dc, TextFont());
        TEXTMETRICW metrics;
        if (GetTextMetricsW(dc, &metrics)) {
            textHeight = metrics.tmHeight;
        }
    }
    ReleaseDC(Window(), dc);
    const int imageHeight = smallImages_ ? smallImages_->height : 0;
    rowHeight_ = std::max(textHeight, imageHeight) + 1;
    ScrollTo(top_);
}

int ListView::ColumnsWidth() const {
    long long widths = 0;
    for (const Column& column : columns_) {
        widths += column.width;
    }
    return static_cast<int>(std::min<long long>(widths, INT_MAX));
}

void ListView::UpdateScrollBars() {
    if (updatingBars_) {
        barsStale_ = true;
        return;
    }
    updatingBars_ = true;
    // Showing a bar only takes room from the other, so a few rounds settle them.
    for (int round = 0; round < 3 && !Gone(); ++round) {
        barsStale_ = false;
        SetBar(SB_VERT);
        if (!Gone()) {
            SetBar(SB_HORZ);
        }
        if (!barsStale_) {
            break;
        }
    }
    updatingBars_ = false;
}

void ListView::SetBar(int bar) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    if (bar == SB_VERT) {
        top_ = std::clamp(top_, 0, LargestTop());
        info.nMax = std::max(0, items_.Count() - 1);
        info.nPage = static_cast<UINT>(std::max(1, PerPage()));
        info.nPos = top_;
    } else {
        left_ = std::clamp(left_, 0, LargestLeft());
        info.nMax = std::max(0, ColumnsWidth() - 1);
        info.nPage = static_cast<UINT>(std::max(1, static_cast<int>(Client().right)));
        info.nPos = left_;
    }
    SetScrollInfo(Window(), bar, &info, 1);
}

void ListView::ScrollTo(int top) {
    const int clamped = std::clamp(top, 0, LargestTop());
    if (clamped != top_) {
        top_ = clamped;
        Redraw();
    }
    UpdateScrollBars();
}

void ListView::ScrollAcross(long long left) {
    const auto clamped = static_cast<int>(std::clamp<long long>(left, 0, LargestLeft()));
    if (clamped != left_) {
        left_ = clamped;
        Redraw();
    }
    UpdateScrollBars();
}

void ListView::ScrollBy(long long dx, long long dy) {
    // Rows scroll whole: half a row or more counts as one.
    const long long rows = (std::llabs(dy) + rowHeight_ / 2) / rowHeight_;
    ScrollAcross(left_ + dx);
    if (!Gone() && rows != 0) {
        ScrollTo(
            static_cast<int>(std::clamp<long long>(top_ + (dy < 0 ? -rows : rows), 0, INT_MAX)));
    }
}

void ListView::OnVerticalScroll(WORD code) {
    if (const auto target =
            ScrollTarget(Window(), SB_VERT, code, top_, 1, std::max(1, PerPage()), LargestTop())) {
        ScrollTo(static_cast<int>(std::clamp<long long>(*target, 0, LargestTop())));
    }
}

void ListView::OnHorizontalScroll(WORD code) {
    if (const auto target =
            ScrollTarget(Window(), SB_HORZ, code, left_, kListViewLineWidth,
                         std::max(1, static_cast<int>(Client().right)), LargestLeft())) {
        ScrollAcross(*target);
    }
}

bool ListView::EnsureVisible(int index, bool partialAllowed) {
    if (!items_.Valid(index)) {
        return false;
    }
    const int perPage = std::max(1, PerPage());
    if (index < top_) {
        ScrollTo(index);
    } else if (index >= top_ + perPage) {
        const bool partlyShown = index == top_ + perPage && Client().bottom % rowHeight_ != 0;
        if (!(partialAllowed && partlyShown)) {
            ScrollTo(index - perPage + 1);
        }
    }
    return true;
}

int ListView::RowAt(POINT point) const {
    if (point.y < 0 || point.x < 0 || point.x >= Client().right) {
        return -1;
    }
    if (!(extendedStyle_ & LVS_EX_FULLROWSELECT) && !columns_.empty() &&
        point.x + left_ >= columns_.front().width) {
        return -1;
    }
    const int index = top_ + point.y / rowHeight_;
    return items_.Valid(index) ? index : -1;
}

void ListView::ChangeState(int index, UINT state, UINT mask) {
    if (!items_.Valid(index)) {
        return;
    }
    ListViewItem& item = items_.At(index);
    const UINT old = item.state;
    item.state = (old & ~mask) | (state & mask);
    if (item.state == old) {
        return;
    }
    Redraw();
    NMLISTVIEW change;
    change.hdr = NotificationHeader(Window(), LVN_ITEMCHANGED);
    change.iItem = index;
    change.uNewState = item.state;
    change.uOldState = old;
    change.uChanged = LVIF_STATE;
    change.lParam = item.data;
    Notify(change.hdr);
}

void ListView::SetStateFromCaller(int index, UINT state, UINT mask) {
    const bool selecting = (mask & state & LVIS_SELECTED) != 0;
    const bool focusing = (mask & state & LVIS_FOCUSED) != 0;
    if (selecting && (Style() & LVS_SINGLESEL)) {
        for (int other = items_.FindNext(-1, LVIS_SELECTED); other >= 0 && !Gone();
             other = items_.FindNext(other, LVIS_SELECTED)) {
            if (other != index) {
                ChangeState(other, 0, LVIS_SELECTED);
            }
        }
    }
    if (focusing) {
        for (int other = items_.FindNext(-1, LVIS_FOCUSED); other >= 0 && !Gone();
             other = items_.FindNext(other, LVIS_FOCUSED)) {
            if (other != index) {
                ChangeState(other, 0, LVIS_FOCUSED);
            }
        }
    }
    if (Gone()) {
        return;
    }
    ChangeState(index, state, mask);
    if (selecting && items_.SelectionMark() < 0) {
        items_.SetSelectionMark(index);
    }
}

void ListView::SelectByUser(int index) {
    for (int other = items_.FindNext(-1, LVIS_SELECTED); other >= 0 && !Gone();
         other = items_.FindNext(other, LVIS_SELECTED)) {
        if (other != index) {
            ChangeState(other, 0, index >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED);
        }
    }
    if (Gone()) {
        return;
    }
    if (!items_.Valid(index)) {
        items_.SetSelectionMark(-1);
        return;
    }
    const int focused = items_.FindNext(-1, LVIS_FOCUSED);
    if (focused >= 0 && focused != index) {
        ChangeState(focused, 0, LVIS_FOCUSED);
    }
    if (Gone()) {
        return;
    }
    ChangeState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    items_.SetSelectionMark(index);
    EnsureVisible(index, false);
}

void ListView::OnPenDown(POINT point) {
    if (GetFocus() != Window()) {
        SetFocus(Window());
        if (Gone()) {
            return;
        }
    }
    penStart_ = point;
    topAtPress_ = top_;
    penMode_ = PenMode::Pressed;
    SetCapture(Window());
}

void ListView::OnPenMove(POINT point, bool) {
    switch (penMode_) {
        case PenMode::None:
            return;
        case PenMode::Pressed:
            if (std::abs(point.y - penStart_.y) <= kDragThreshold) {
                return;
            }
            penMode_ = PenMode::Dragging;
            [[fallthrough]];
        case PenMode::Dragging:
            // The rows follow the pen: dragging upwards brings later rows into view.
            ScrollTo(topAtPress_ - (point.y - penStart_.y) / rowHeight_);
            return;
    }
}

void ListView::OnPenUp(POINT point) {
    const PenMode mode = std::exchange(penMode_, PenMode::None);
    if (GetCapture() == Window()) {
        ReleaseCapture();
    }
    if (mode == PenMode::Pressed) {
        Tap(point);
    }
}

void ListView::Tap(POINT point) {
    const int index = RowAt(point);
    SelectByUser(index);
    if (Gone()) {
        return;
    }
    NMITEMACTIVATE click;
    click.hdr = NotificationHeader(Window(), NM_CLICK);
    click.iItem = index;
    click.ptAction = point;
    click.lParam = items_.Valid(index) ? items_.At(index).data : 0;
    Notify(click.hdr);
}

void ListView::OnKeyDown(int key) {
    if (key == VK_LEFT || key == VK_RIGHT) {
        OnHorizontalScroll(key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT);
        return;
    }
    const int count = items_.Count();
    if (count == 0) {
        return;
    }
    const int current = items_.FindNext(-1, LVIS_FOCUSED);
    const int page = std::max(1, PerPage());
    const int pageBottom = std::min(count - 1, top_ + page - 1);
    int target = current;
    switch (key) {
        case VK_UP:
            target = std::max(0, current - 1);
            break;
        case VK_DOWN:
            target = current < 0 ? 0 : std::min(count - 1, current + 1);
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = count - 1;
            break;
        case VK_NEXT:
            target = current < pageBottom ? pageBottom : std::min(count - 1, current + page - 1);
            break;
        case VK_PRIOR:
            target = current > top_ ? top_ : std::max(0, current - page + 1);
            break;
        default:
            return;
    }
    if (target != current || !(items_.At(target).state & LVIS_SELECTED)) {
        SelectByUser(target);
    } else {
        EnsureVisible(target, false);
    }
}

std::optional<LRESULT> ListView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LVM_SETIMAGELIST:
            return reinterpret_cast<LRESULT>(
                SetImageList(wParam, PointerFromParam<ImageList>(lParam)));
        case LVM_GETITEMCOUNT:
            return items_.Count();
        case LVM_DELETEITEM:
            if (!items_.Erase(static_cast<int>(wParam))) {
                return 0;
            }
            ScrollTo(top_);
            Redraw();
            return 1;
        case LVM_DELETEALLITEMS:
            items_.Clear();
            ScrollTo(0);
            Redraw();
            return 1;
        case LVM_GETNEXTITEM:
            return GetNextItem(static_cast<int>(static_cast<LPARAM>(wParam)),
                               LOWORD(static_cast<std::uintptr_t>(lParam)));
        case LVM_GETITEMRECT:
            return GetItemRect(static_cast<int>(wParam), PointerFromParam<RECT>(lParam));
        case LVM_ENSUREVISIBLE:
            return EnsureVisible(static_cast<int>(wParam), lParam != 0);
        case LVM_SCROLL:
            ScrollBy(static_cast<int>(static_cast<LPARAM>(wParam)), static_cast<int>(lParam));
            return 1;
        case LVM_GETCOLUMNWIDTH:
            return wParam < columns_.size() ? columns_[wParam].width : 0;
        case LVM_SETCOLUMNWIDTH:
            return SetColumnWidth(wParam, GET_X_LPARAM(lParam));
        case LVM_GETTOPINDEX:
            return top_;
        case LVM_GETCOUNTPERPAGE:
            return PerPage();
        case LVM_SETITEMSTATE:
            return SetItemState(static_cast<int>(static_cast<LPARAM>(wParam)),
                                PointerFromParam<const LVITEMW>(lParam));
        case LVM_GETITEMSTATE: {
            const int index = static_cast<int>(wParam);
            return items_.Valid(index) ? items_.At(index).state & static_cast<UINT>(lParam) : 0;
        }
        case LVM_SORTITEMS: {
            const BOOL sorted =
                items_.Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
            Redraw();
            return sorted;
        }
        case LVM_SETEXTENDEDLISTVIEWSTYLE:
            return SetExtendedStyle(wParam ? static_cast<DWORD>(wParam) : ~DWORD{0},
                                    static_cast<DWORD>(lParam));
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return extendedStyle_;
        case LVM_GETSELECTIONMARK:
            return items_.SelectionMark();
        case LVM_SETSELECTIONMARK:
            return items_.SetSelectionMark(static_cast<int>(lParam));
        case LVM_GETITEMW:
            return GetItem(PointerFromParam<LVITEMW>(lParam));
        case LVM_SETITEMW:
            return SetItem(PointerFromParam<const LVITEMW>(lParam));
        case LVM_INSERTITEMW:
            return InsertItem(PointerFromParam<const LVITEMW>(lParam));
        case LVM_INSERTCOLUMNW:
            return InsertColumn(static_cast<int>(wParam),
                                PointerFromParam<const LVCOLUMNW>(lParam));
        case LVM_GETITEMTEXTW:
            return GetItemText(static_cast<int>(wParam), PointerFromParam<LVITEMW>(lParam));
        case LVM_SETITEMTEXTW:
            return SetItemText(static_cast<int>(wParam), PointerFromParam<const LVITEMW>(lParam));
        default:
            return std::nullopt;
    }
}

}  // namespace list_view

ATOM RegisterListViewClass() {
    return RegisterControlClass<list_view::ListView>(WC_LISTVIEW, GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace qv
