#include "platform/controls/list_view.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/controls/list_view_items.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/look/classic_look.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr int kImageMargin = 2;
constexpr int kTextMargin = 2;
// How far the pen moves before a press becomes a drag of the list rather than a tap.
constexpr int kDragThreshold = 4;
// The longest text read from a parent's own buffer.
constexpr int kMaxForeignText = 1024;
// The widest column LVM_SETCOLUMNWIDTH can ask for, which keeps sums of widths in range.
constexpr int kMaxColumnWidth = 0x7FFF;

struct Column {
    int width = 0;
    int format = LVCFMT_LEFT;
};

std::u16string ReadText(const char16_t* text, int limit) {
    std::u16string result;
    if (!text || text == LPSTR_TEXTCALLBACKW) {
        return result;
    }
    for (int i = 0; i < limit && text[i] != u'\0'; ++i) {
        result.push_back(text[i]);
    }
    return result;
}

ItemText TextFromRecord(const char16_t* text) {
    if (text == LPSTR_TEXTCALLBACKW) {
        return {true, {}};
    }
    return {false, ReadText(text, kMaxForeignText)};
}

int CopyText(std::u16string_view text, char16_t* buffer, int size) {
    if (!buffer || size <= 0) {
        return 0;
    }
    const int count = std::min(static_cast<int>(text.size()), size - 1);
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = u'\0';
    return count;
}

class ListView final : public ControlState {
  public:
    ListView(HWND window, const CREATESTRUCTW&) : ControlState(window) {}
    ~ListView() override {
        if (!(Style() & LVS_SHAREIMAGELISTS)) {
            ImageList_Destroy(smallImages_);
            ImageList_Destroy(normalImages_);
        }
    }

    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    enum class PenMode { None, Pressed, Dragging };

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE)); }
    HFONT Font() const { return ControlFont(font_); }
    RECT Client() const {
        RECT client{};
        GetClientRect(Window(), &client);
        return client;
    }
    int PerPage() const { return std::max(0, (Client().bottom) / rowHeight_); }
    int LargestTop() const { return std::max(0, items_.Count() - std::max(1, PerPage())); }
    int ColumnsWidth() const;
    int LargestLeft() const { return std::max(0, ColumnsWidth() - Client().right); }
    int ImageWidth() const { return smallImages_ ? smallImages_->width : 0; }
    void Redraw() { InvalidateRect(Window(), nullptr, 0); }

    void MeasureRows();
    // Each bar shown or hidden changes the room of the other, so both are set until they agree.
    void UpdateScrollBars();
    void SetBar(int bar);
    void ScrollTo(int top);
    void ScrollAcross(long long left);
    void OnScroll(WORD code);
    void OnHorizontalScroll(WORD code);
    void ScrollBy(long long dx, long long dy);
    bool EnsureVisible(int index, bool partialAllowed);
    int RowAt(POINT point) const;

    LRESULT Notify(NMHDR& header) { return NotifyParent(Window(), &header); }
    // Sets the bits of `mask` to those of `state`, telling the parent when they change.
    void ChangeState(int index, UINT state, UINT mask);
    void SetStateFromCaller(int index, UINT state, UINT mask);
    // Selects and focuses one item (-1: none), as a tap or a key does.
    void SelectByUser(int index);
    std::u16string TextOf(int index, int column);

    void Paint();
    void PaintContent(HDC dc, const RECT& area);
    // Returns false when the parent destroyed the list while the row was drawn.
    bool PaintRow(HDC dc, int index, bool notifyItems);

    void OnPenDown(POINT point);
    void OnPenMove(POINT point);
    void OnPenUp(POINT point);
    void Tap(POINT point);
    void OnKey(int key);

    LRESULT InsertItem(const LVITEMW* record);
    BOOL SetItem(const LVITEMW* record);
    BOOL SetItemText(int index, const LVITEMW* record);
    BOOL GetItem(LVITEMW* record);
    int GetNextItem(int start, UINT flags) const;
    LRESULT InsertColumn(int index, const LVCOLUMNW* record);
    BOOL GetItemRect(int index, RECT* rect) const;
    HIMAGELIST SetImageList(WPARAM which, HIMAGELIST list);

    ListViewItems items_;
    std::vector<Column> columns_;
    DWORD extendedStyle_ = 0;
    HIMAGELIST smallImages_ = nullptr;
    HIMAGELIST normalImages_ = nullptr;
    HFONT font_ = nullptr;
    int rowHeight_ = 17;
    int top_ = 0;
    int left_ = 0;  // pixels of the columns scrolled out at the left
    bool updatingBars_ = false;
    bool barsStale_ = false;
    bool focused_ = false;
    PenMode penMode_ = PenMode::None;
    POINT penStart_{};
    int topAtPress_ = 0;
    std::array<char16_t, 260> textBuffer_{};
};

void ListView::MeasureRows() {
    const HDC dc = GetDC(Window());
    int textHeight = 13;
    if (dc) {
        SelectionScope font(dc, Font());
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

void ListView::OnScroll(WORD code) {
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

std::u16string ListView::TextOf(int index, int column) {
    const ListViewItem& item = items_.At(index);
    if (static_cast<std::size_t>(column) >= item.texts.size()) {
        return {};
    }
    const ItemText& text = item.texts[static_cast<std::size_t>(column)];
    if (!text.onDemand) {
        return text.text;
    }
    NMLVDISPINFOW info;
    info.hdr = NotificationHeader(Window(), LVN_GETDISPINFOW);
    info.item.mask = LVIF_TEXT;
    info.item.iItem = index;
    info.item.iSubItem = column;
    info.item.lParam = item.data;
    textBuffer_[0] = u'\0';
    info.item.pszText = textBuffer_.data();
    info.item.cchTextMax = static_cast<int>(textBuffer_.size());
    Notify(info.hdr);
    if (Gone()) {
        return {};
    }
    const int limit = info.item.pszText == textBuffer_.data() ? static_cast<int>(textBuffer_.size())
                                                              : kMaxForeignText;
    std::u16string result = ReadText(info.item.pszText, limit);
    if ((info.item.mask & LVIF_DI_SETITEM) && items_.Valid(index)) {
        auto& texts = items_.At(index).texts;
        if (static_cast<std::size_t>(column) < texts.size()) {
            texts[static_cast<std::size_t>(column)] = {false, result};
        }
    }
    return result;
}

void ListView::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Window(), &paint);
    if (dc) {
        PaintContent(dc, paint.rcPaint);
        EndPaint(Window(), &paint);
    }
}

void ListView::PaintContent(HDC dc, const RECT& area) {
    SelectionScope font(dc, Font());
    const RECT client = Client();
    NMLVCUSTOMDRAW draw;
    draw.nmcd.hdr = NotificationHeader(Window(), NM_CUSTOMDRAW);
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = client;
    const LRESULT answer = Notify(draw.nmcd.hdr);
    if (Gone()) {
        return;
    }
    FillSolid(dc, client, GetSysColor(COLOR_WINDOW));
    if (!(answer & CDRF_SKIPDEFAULT)) {
        const int first = top_ + std::max(0, area.top) / rowHeight_;
        const int last = top_ + std::max(0, area.bottom - 1) / rowHeight_;
        for (int index = first; index <= last && items_.Valid(index); ++index) {
            if (!PaintRow(dc, index, (answer & CDRF_NOTIFYITEMDRAW) != 0)) {
                return;
            }
        }
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
        Notify(draw.nmcd.hdr);
    }
}

bool ListView::PaintRow(HDC dc, int index, bool notifyItems) {
    const int y = (index - top_) * rowHeight_;
    const int listRight = Client().right;
    NMLVCUSTOMDRAW draw;
    draw.nmcd.hdr = NotificationHeader(Window(), NM_CUSTOMDRAW);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = {0, y, listRight, y + rowHeight_};
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
    const ListViewItem& before = items_.At(index);
    draw.nmcd.uItemState = ((before.state & LVIS_SELECTED) ? CDIS_SELECTED : 0) |
                           ((before.state & LVIS_FOCUSED) && focused_ ? CDIS_FOCUS : 0);
    draw.nmcd.lItemlParam = before.data;
    draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
    draw.clrTextBk = GetSysColor(COLOR_WINDOW);
    LRESULT answer = CDRF_DODEFAULT;
    if (notifyItems) {
        answer = Notify(draw.nmcd.hdr);
        if (Gone()) {
            return false;
        }
    }
    if ((answer & CDRF_SKIPDEFAULT) || !items_.Valid(index)) {
        return true;
    }
    // The parent may clear CDIS_SELECTED to have its own colours on a selected row.
    const bool highlighted =
        (draw.nmcd.uItemState & CDIS_SELECTED) && (focused_ || (Style() & LVS_SHOWSELALWAYS));
    const COLORREF selectedText = GetSysColor(focused_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const COLORREF selectedBack = GetSysColor(focused_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const bool fullRow = (extendedStyle_ & LVS_EX_FULLROWSELECT) != 0;
    const int image = items_.At(index).image;
    SetBkMode(dc, TRANSPARENT);
    int left = -left_;
    for (std::size_t column = 0; column < columns_.size() && left < listRight;
         left += columns_[column].width, ++column) {
        // The column's own edge, which may lie beyond the list's: its text is cut there.
        const int columnRight = left + columns_[column].width;
        if (columnRight <= 0) {
            continue;
        }
        const int right = std::min(listRight, columnRight);
        int labelLeft = left;
        if (column == 0 && smallImages_) {
            if (image >= 0) {
                ImageList_Draw(smallImages_, image, dc, left + kImageMargin,
                               y + (rowHeight_ - smallImages_->height) / 2, ILD_NORMAL);
            }
            labelLeft = std::min(columnRight, left + kImageMargin + ImageWidth() + kImageMargin);
        }
        const bool lit = highlighted && (column == 0 || fullRow);
        FillSolid(dc, {labelLeft, y, right, y + rowHeight_}, lit ? selectedBack : draw.clrTextBk);
        const std::u16string text = TextOf(index, static_cast<int>(column));
        if (Gone()) {
            return false;
        }
        if (!items_.Valid(index)) {
            return true;
        }
        SetTextColor(dc, lit ? selectedText : draw.clrText);
        const UINT align = column == 0                                ? DT_LEFT
                           : columns_[column].format == LVCFMT_RIGHT  ? DT_RIGHT
                           : columns_[column].format == LVCFMT_CENTER ? DT_CENTER
                                                                      : DT_LEFT;
        RECT textRect{labelLeft + kTextMargin, y, columnRight - kTextMargin, y + rowHeight_};
        DrawTextW(dc, text, &textRect, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
        Notify(draw.nmcd.hdr);
    }
    return !Gone();
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

void ListView::OnPenMove(POINT point) {
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

void ListView::OnKey(int key) {
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

LRESULT ListView::InsertItem(const LVITEMW* record) {
    if (!record || record->iSubItem != 0) {
        return -1;
    }
    ListViewItem item;
    item.texts.resize(std::max<std::size_t>(1, columns_.size()));
    if (record->mask & LVIF_TEXT) {
        item.texts[0] = TextFromRecord(record->pszText);
    }
    if (record->mask & LVIF_IMAGE) {
        item.image = record->iImage;
    }
    if (record->mask & LVIF_PARAM) {
        item.data = record->lParam;
    }
    const int index = items_.Insert(record->iItem, std::move(item));
    if (record->mask & LVIF_STATE) {
        SetStateFromCaller(index, record->state, record->stateMask);
    }
    ScrollTo(top_);
    Redraw();
    return index;
}

BOOL ListView::SetItemText(int index, const LVITEMW* record) {
    // Only the columns there are have texts.
    if (!record || !items_.Valid(index) || record->iSubItem < 0 ||
        static_cast<std::size_t>(record->iSubItem) >= std::max<std::size_t>(1, columns_.size())) {
        return 0;
    }
    auto& texts = items_.At(index).texts;
    const auto column = static_cast<std::size_t>(record->iSubItem);
    if (column >= texts.size()) {
        texts.resize(column + 1);
    }
    texts[column] = TextFromRecord(record->pszText);
    Redraw();
    return 1;
}

BOOL ListView::SetItem(const LVITEMW* record) {
    if (!record || !items_.Valid(record->iItem)) {
        return 0;
    }
    if ((record->mask & LVIF_TEXT) && !SetItemText(record->iItem, record)) {
        return 0;
    }
    if (record->iSubItem == 0) {
        ListViewItem& item = items_.At(record->iItem);
        if (record->mask & LVIF_IMAGE) {
            item.image = record->iImage;
        }
        if (record->mask & LVIF_PARAM) {
            item.data = record->lParam;
        }
        if (record->mask & LVIF_STATE) {
            SetStateFromCaller(record->iItem, record->state, record->stateMask);
        }
    }
    Redraw();
    return 1;
}

BOOL ListView::GetItem(LVITEMW* record) {
    if (!record || !items_.Valid(record->iItem) || record->iSubItem < 0) {
        return 0;
    }
    if (record->mask & LVIF_TEXT) {
        const std::u16string text = TextOf(record->iItem, record->iSubItem);
        if (Gone() || !items_.Valid(record->iItem)) {
            return 0;
        }
        CopyText(text, record->pszText, record->cchTextMax);
    }
    const ListViewItem& item = items_.At(record->iItem);
    if (record->mask & LVIF_IMAGE) {
        record->iImage = item.image;
    }
    if (record->mask & LVIF_PARAM) {
        record->lParam = item.data;
    }
    if (record->mask & LVIF_STATE) {
        record->state = item.state & record->stateMask;
    }
    return 1;
}

int ListView::GetNextItem(int start, UINT flags) const {
    const UINT state = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    if (flags & LVNI_ABOVE) {
        return items_.FindPrevious(start, state);
    }
    return items_.FindNext(start, state);
}

LRESULT ListView::InsertColumn(int index, const LVCOLUMNW* record) {
    if (!record || index < 0) {
        return -1;
    }
    Column column;
    if (record->mask & LVCF_WIDTH) {
        column.width = std::clamp(record->cx, 0, kMaxColumnWidth);
    }
    if (record->mask & LVCF_FMT) {
        column.format = record->fmt;
    }
    const int at = std::min(index, static_cast<int>(columns_.size()));
    columns_.insert(columns_.begin() + at, column);
    Redraw();
    UpdateScrollBars();
    return at;
}

BOOL ListView::GetItemRect(int index, RECT* rect) const {
    if (!rect || !items_.Valid(index)) {
        return 0;
    }
    const int which = rect->left;
    const int y = (index - top_) * rowHeight_;
    const int x = -left_;
    const int labelLeft = x + (smallImages_ ? kImageMargin + ImageWidth() + kImageMargin : 0);
    switch (which) {
        case LVIR_ICON:
            *rect = {x + kImageMargin, y, x + kImageMargin + ImageWidth(), y + rowHeight_};
            return 1;
        case LVIR_LABEL:
            *rect = {labelLeft, y, columns_.empty() ? labelLeft : x + columns_.front().width,
                     y + rowHeight_};
            return 1;
        default:
            *rect = {x, y,
                     static_cast<int>(
                         std::min<long long>(static_cast<long long>(x) + ColumnsWidth(), INT_MAX)),
                     y + rowHeight_};
            return 1;
    }
}

HIMAGELIST ListView::SetImageList(WPARAM which, HIMAGELIST list) {
    HIMAGELIST& slot = which == LVSIL_SMALL ? smallImages_ : normalImages_;
    HIMAGELIST previous = std::exchange(slot, list);
    MeasureRows();
    Redraw();
    return previous;
}

std::optional<LRESULT> ListView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT pen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_CREATE:
            MeasureRows();
            return std::nullopt;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            UpdateScrollBars();
            Redraw();
            return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            MeasureRows();
            if (LOWORD(static_cast<std::uintptr_t>(lParam))) {
                Redraw();
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            focused_ = message == WM_SETFOCUS;
            Redraw();
            NMHDR header = NotificationHeader(Window(), focused_ ? NM_SETFOCUS : NM_KILLFOCUS);
            Notify(header);
            return 0;
        }
        case WM_LBUTTONDOWN:
            OnPenDown(pen);
            return 0;
        case WM_MOUSEMOVE:
            OnPenMove(pen);
            return 0;
        case WM_LBUTTONUP:
            OnPenUp(pen);
            return 0;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            penMode_ = PenMode::None;
            return std::nullopt;
        case WM_KEYDOWN:
            OnKey(static_cast<int>(wParam));
            return 0;
        case WM_VSCROLL:
            OnScroll(LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            OnHorizontalScroll(LOWORD(wParam));
            return 0;
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
            if (wParam >= columns_.size()) {
                return 0;
            }
            columns_[wParam].width = std::clamp(GET_X_LPARAM(lParam), 0, kMaxColumnWidth);
            Redraw();
            UpdateScrollBars();
            return 1;
        case LVM_GETTOPINDEX:
            return top_;
        case LVM_GETCOUNTPERPAGE:
            return PerPage();
        case LVM_SETITEMSTATE: {
            const auto* record = PointerFromParam<const LVITEMW>(lParam);
            if (!record) {
                return 0;
            }
            const int index = static_cast<int>(static_cast<LPARAM>(wParam));
            if (index == -1) {
                for (int each = 0; each < items_.Count() && !Gone(); ++each) {
                    ChangeState(each, record->state, record->stateMask);
                }
                return 1;
            }
            if (!items_.Valid(index)) {
                return 0;
            }
            SetStateFromCaller(index, record->state, record->stateMask);
            return 1;
        }
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
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            const DWORD previous = extendedStyle_;
            const DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~DWORD{0};
            extendedStyle_ = (previous & ~mask) | (static_cast<DWORD>(lParam) & mask);
            Redraw();
            return previous;
        }
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
        case LVM_GETITEMTEXTW: {
            auto* record = PointerFromParam<LVITEMW>(lParam);
            const int index = static_cast<int>(wParam);
            if (!record || !items_.Valid(index) || record->iSubItem < 0) {
                return 0;
            }
            const std::u16string text = TextOf(index, record->iSubItem);
            return CopyText(text, record->pszText, record->cchTextMax);
        }
        case LVM_SETITEMTEXTW:
            return SetItemText(static_cast<int>(wParam), PointerFromParam<const LVITEMW>(lParam));
        default:
            return std::nullopt;
    }
}

}  // namespace

ATOM RegisterListViewClass() {
    return RegisterControlClass<ListView>(WC_LISTVIEW, GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace qv
