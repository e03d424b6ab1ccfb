#include "platform/pocket/menu_bar_layout.h"

#include <algorithm>

namespace qv {

std::vector<RECT> LayOutMenuBar(std::span<const MenuBarSlot> slots, int barHeight) {
    const int top = kMenuBarEdge + kMenuBarButtonMargin;
    const int bottom = std::max(top, barHeight - kMenuBarButtonMargin);
    std::vector<RECT> rects;
    rects.reserve(slots.size());
    int left = kMenuBarButtonMargin;
    for (const MenuBarSlot& slot : slots) {
        int width = 0;
        if (!slot.hidden) {
            switch (slot.kind) {
                case MenuBarSlot::Kind::Text:
                    width = std::max(0, slot.textWidth) + 2 * kMenuBarTextPadding;
                    break;
                case MenuBarSlot::Kind::Image:
                    width = kMenuBarImageButtonWidth;
                    break;
                case MenuBarSlot::Kind::Separator:
                    width = kMenuBarSeparatorWidth;
                    break;
            }
        }
        rects.push_back({left, top, left + width, width > 0 ? bottom : top});
        left += width;
    }
    return rects;
}

}  // namespace qv
