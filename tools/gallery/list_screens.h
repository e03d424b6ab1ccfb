#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// Gallery screens of the list controls, each filling `parent`'s client area with a panel of its
// own that answers the controls' notifications.

// A list view of 300 Cyrillic station names with their lines, sorted, scrolled to the middle,
// one row selected and the rows of one line drawn in that line's colour by custom draw.
void BuildListViewScreen(HWND parent);
// The scroll bar in its states: a framed station list scrolled to its end, a short one without
// a bar, a window with a caption and a bar in the middle of its range, and a greyed bar whose
// range fits its page.
void BuildScrollBarScreen(HWND parent);
// Station lists scrolled across, in four states: narrow columns that fit beside the vertical
// bar (no horizontal bar, the long line name ending in "..."), and two 150-pixel columns with the
// horizontal bar at the left end, scrolled 40 pixels, and at the right end.
void BuildListScrollScreen(HWND parent);
// Three multi-line tab controls of fixed-width letter tabs: 21 letters in two rows with the
// first tab selected, the same with a tab of the second row selected, and 20 letters in one.
void BuildTabScreen(HWND parent);

}  // namespace qv
