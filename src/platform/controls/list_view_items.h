#pragma once

#include <string>
#include <vector>

#include "platform/controls/list_view_messages.h"

namespace qv {

// One column's text of an item: kept here, or asked of the parent each time it is needed.
struct ItemText {
    bool onDemand = false;
    std::u16string text;
};

struct ListViewItem {
    std::vector<ItemText> texts;  // by column; missing columns are empty
    int image = I_IMAGENONE;
    LPARAM data = 0;
    UINT state = 0;
};

// The items of a list view in display order, with the selection mark, which follows its item
// through insertions, deletions and sorting.
class ListViewItems {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    ListViewItem& At(int index) { return items_[static_cast<std::size_t>(index)]; }
    const ListViewItem& At(int index) const { return items_[static_cast<std::size_t>(index)]; }

    // Inserts before `index` (clamped to the ends); returns where the item went.
    int Insert(int index, ListViewItem item);
    bool Erase(int index);
    void Clear();

    int SelectionMark() const { return selectionMark_; }
    // Returns the previous mark; an index outside the items clears it.
    int SetSelectionMark(int index);

    // The first item after `start` (-1: from the first) whose state has every bit of `state`;
    // with `state` 0 simply the next item. -1 when there is none.
    int FindNext(int start, UINT state) const;
    int FindPrevious(int start, UINT state) const;

    // Orders the items by `compare` on their data, equal items keeping their order. The
    // comparison is the caller's: it may be inconsistent, or change the list while it runs;
    // then the order is unspecified or, when the count changed, the sort is abandoned.
    bool Sort(PFNLVCOMPARE compare, LPARAM parameter);

  private:
    std::vector<ListViewItem> items_;
    int selectionMark_ = -1;
};

}  // namespace qv
