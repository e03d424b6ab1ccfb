#pragma once

#include <functional>

#include "platform/user/records/window.h"

namespace qv {

// What is left to paint: invalid areas grow down the tree (unless a window clips its children),
// shrink by validation, and the next window to paint is found top first.
class PaintScheduler {
  public:
    void Invalidate(Window& window, const RECT* rect, bool erase);
    // The whole client area when no rectangle is given; the erase goes with the last of it.
    void Validate(Window& window, const RECT* rect);
    // The first visible window with an invalid area that `accepts` takes, parents before their
    // children, the top of the z-order first.
    Window* NextToPaint(const Window& desktop, const std::function<bool(HWND)>& accepts) const;
};

}  // namespace qv
