#include <algorithm>
#include <climits>
#include <utility>

#include "platform/controls/list_view_control.h"

namespace qv::list_view {

namespace {

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

}  // namespace

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

LRESULT ListView::GetItemText(int index, LVITEMW* record) {
    if (!record || !items_.Valid(index) || record->iSubItem < 0) {
        return 0;
    }
    const std::u16string text = TextOf(index, record->iSubItem);
    return CopyText(text, record->pszText, record->cchTextMax);
}

int ListView::GetNextItem(int start, UINT flags) const {
    const UINT state = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    if (flags & LVNI_ABOVE) {
        return items_.FindPrevious(start, state);
    }
    return items_.FindNext(start, state);
}

LRESULT ListView::SetItemState(int index, const LVITEMW* record) {
    if (!record) {
        return 0;
    }
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

BOOL ListView::SetColumnWidth(WPARAM column, int width) {
    if (column >= columns_.size()) {
        return 0;
    }
    columns_[column].width = std::clamp(width, 0, kMaxColumnWidth);
    Redraw();
    UpdateScrollBars();
    return 1;
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

LRESULT ListView::SetExtendedStyle(DWORD mask, DWORD style) {
    const DWORD previous = extendedStyle_;
    extendedStyle_ = (previous & ~mask) | (style & mask);
    Redraw();
    return previous;
}

}  // namespace qv::list_view
