#pragma once

#include <span>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace qv {

// How a tab control's tabs are placed in rows.
struct TabRowRules {
    int clientWidth = 0;
    int tabHeight = 0;
    bool multiLine = false;
    // Rows are widened to fill the width when there are several, unless the tabs have one fixed
    // width or the control asks for ragged rows.
    bool fillRows = false;
};

struct TabLayout {
    std::vector<RECT> tabs;  // in the control's client coordinates
    int rows = 0;
    int DisplayTop(int tabHeight) const { return rows * tabHeight; }
};

// Tabs start this far from the left and end as far from the right, so that the selected tab,
// drawn wider, stays inside the control.
inline constexpr int kTabRowInset = 1;

// Places tabs of the given widths left to right, wrapping into a new row where a tab would pass
// the right edge (multi-line only). The row holding `selected` is drawn next to the display
// area, the rows after it behind it in order and the rows before it furthest back.
TabLayout LayOutTabs(std::span<const int> widths, const TabRowRules& rules, int selected);

}  // namespace qv
