#pragma once

#include <span>
#include <vector>

#include "platform/user/records/user_types.h"

namespace qv {

// What the layout needs to know of one button of the menu bar.
struct MenuBarSlot {
    enum class Kind { Text, Image, Separator };
    Kind kind = Kind::Image;
    int textWidth = 0;  // of a text button, in pixels
    bool hidden = false;
};

// The menu bar's buttons side by side from the left, each as high as the bar allows: text
// buttons as wide as their text and its padding, image buttons just wider than a 16-pixel
// image, separators a narrow gap; a hidden button takes no room (an empty rectangle where the
// next button starts). Client coordinates of a bar of the given height.
std::vector<RECT> LayOutMenuBar(std::span<const MenuBarSlot> slots, int barHeight);

inline constexpr int kMenuBarImageButtonWidth = 20;
inline constexpr int kMenuBarTextPadding = 5;
inline constexpr int kMenuBarSeparatorWidth = 4;
// The bar's top edge (two lines) and the room left above and below the buttons.
inline constexpr int kMenuBarEdge = 2;
inline constexpr int kMenuBarButtonMargin = 1;

}  // namespace qv
