#include "platform/controls/tab_layout.h"

#include <algorithm>

namespace qv {

namespace {

// The widest tab TCM_SETITEMSIZE can ask for; wider ones are cut to it so that their edges stay
// in range.
constexpr int kMaxTabWidth = 0x7FFF;

}  // namespace

TabLayout LayOutTabs(std::span<const int> widths, const TabRowRules& rules, int selected) {
    TabLayout layout;
    if (widths.empty()) {
        return layout;
    }
    const int limit = rules.clientWidth - kTabRowInset;
    std::vector<int> rowOf(widths.size());
    std::vector<int> rowEnds;  // index one past each row's last tab
    int x = kTabRowInset;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int width = std::clamp(widths[i], 0, kMaxTabWidth);
        if (rules.multiLine && x > kTabRowInset && x + width > limit) {
            rowEnds.push_back(static_cast<int>(i));
            x = kTabRowInset;
        }
        layout.tabs.push_back({x, 0, x + width, rules.tabHeight});
        rowOf[i] = static_cast<int>(rowEnds.size());
        x += width;
    }
    rowEnds.push_back(static_cast<int>(widths.size()));
    layout.rows = static_cast<int>(rowEnds.size());

    if (rules.fillRows && layout.rows > 1) {
        int begin = 0;
        for (const int end : rowEnds) {
            const int count = end - begin;
            const int spare =
                std::max(0, limit - layout.tabs[static_cast<std::size_t>(end - 1)].right);
            int shift = 0;
            for (int i = begin; i < end; ++i) {
                // The spare pixels are shared out evenly, the first tabs taking the remainder.
                const int grow = spare / count + (i - begin < spare % count ? 1 : 0);
                RECT& tab = layout.tabs[static_cast<std::size_t>(i)];
                tab.left += shift;
                shift += grow;
                tab.right += shift;
            }
            begin = end;
        }
    }

    const int selectedRow = selected >= 0 && selected < static_cast<int>(widths.size())
                                ? rowOf[static_cast<std::size_t>(selected)]
                                : 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int fromFront = (rowOf[i] - selectedRow + layout.rows) % layout.rows;
        const int top = (layout.rows - 1 - fromFront) * rules.tabHeight;
        layout.tabs[i].top = top;
        layout.tabs[i].bottom = top + rules.tabHeight;
    }
    return layout;
}

}  // namespace qv
