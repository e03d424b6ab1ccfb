#include "platform/controls/list_view_items.h"

#include <algorithm>
#include <numeric>

namespace qv {

namespace {

// A bottom-up merge sort whose every step is bounded by its ranges, so that a comparison that
// contradicts itself yields some order rather than reading outside the items; equal items keep
// their order.
template <typename Less>
void MergeSort(std::vector<int>& values, Less less) {
    std::vector<int> buffer(values.size());
    const std::size_t count = values.size();
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t left = 0; left < count; left += 2 * width) {
            const std::size_t middle = std::min(left + width, count);
            const std::size_t right = std::min(left + 2 * width, count);
            std::size_t a = left;
            std::size_t b = middle;
            std::size_t out = left;
            while (a < middle && b < right) {
                buffer[out++] = less(values[b], values[a]) ? values[b++] : values[a++];
            }
            while (a < middle) {
                buffer[out++] = values[a++];
            }
            while (b < right) {
                buffer[out++] = values[b++];
            }
        }
        values.swap(buffer);
    }
}

}  // namespace

int ListViewItems::Insert(int index, ListViewItem item) {
    const int at = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + at, std::move(item));
    if (selectionMark_ >= at) {
        ++selectionMark_;
    }
    return at;
}

bool ListViewItems::Erase(int index) {
    if (!Valid(index)) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (selectionMark_ == index) {
        selectionMark_ = -1;
    } else if (selectionMark_ > index) {
        --selectionMark_;
    }
    return true;
}

void ListViewItems::Clear() {
    items_.clear();
    selectionMark_ = -1;
}

int ListViewItems::SetSelectionMark(int index) {
    const int previous = selectionMark_;
    selectionMark_ = Valid(index) ? index : -1;
    return previous;
}

int ListViewItems::FindNext(int start, UINT state) const {
    for (int index = start < 0 ? 0 : std::min(start, Count()) + 1; index < Count(); ++index) {
        if ((At(index).state & state) == state) {
            return index;
        }
    }
    return -1;
}

int ListViewItems::FindPrevious(int start, UINT state) const {
    for (int index = std::clamp(start, 0, Count()) - 1; index >= 0; --index) {
        if ((At(index).state & state) == state) {
            return index;
        }
    }
    return -1;
}

bool ListViewItems::Sort(PFNLVCOMPARE compare, LPARAM parameter) {
    if (!compare) {
        return false;
    }
    const int count = Count();
    std::vector<LPARAM> data(items_.size());
    std::transform(items_.begin(), items_.end(), data.begin(),
                   [](const ListViewItem& item) { return item.data; });
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    MergeSort(order, [&](int a, int b) {
        return compare(data[static_cast<std::size_t>(a)], data[static_cast<std::size_t>(b)],
                       parameter) < 0;
    });
    if (Count() != count) {
        return false;
    }
    std::vector<ListViewItem> sorted;
    sorted.reserve(items_.size());
    int mark = -1;
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (order[place] == selectionMark_) {
            mark = static_cast<int>(place);
        }
        sorted.push_back(std::move(items_[static_cast<std::size_t>(order[place])]));
    }
    items_ = std::move(sorted);
    selectionMark_ = mark;
    return true;
}

}  // namespace qv
