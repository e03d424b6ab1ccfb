#pragma once

// The list view control, in report mode: columns without a header, items with a small image,
// item data and texts kept or asked of the parent on demand, a single selection shown always
// or while focused, custom drawing by the parent, the window's vertical scroll bar, scrolling
// by dragging the list with the pen, and the selection moved by the up, down and page keys.
//
// Columns wider together than the list bring the window's horizontal scroll bar, in pixels:
// a line (an arrow of the bar, the Left and Right keys) is kListViewLineWidth pixels, a page the
// list's width. A text wider than its column ends in "..." at the column's edge.
//
// Rows are drawn and their texts asked for only while they are visible, so lists of thousands
// of items cost nothing per item but their storage. Without LVS_SHAREIMAGELISTS the list owns
// the image lists it is given and destroys them with itself; LVM_SETIMAGELIST hands the one it
// replaces back to the caller.

#include "platform/controls/list_view_messages.h"

namespace qv {

inline constexpr int kListViewLineWidth = 8;

// Registers WC_LISTVIEW once; returns its atom, 0 when it cannot be registered.
ATOM RegisterListViewClass();

}  // namespace qv
