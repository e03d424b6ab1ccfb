#pragma once

#include <map>
#include <optional>
#include <utility>

#include "platform/user/look/scroll_bar_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

class Window;

// The scroll bars of the windows (the vertical bar is shown while the window has WS_VSCROLL,
// right of the client area; the horizontal one while it has WS_HSCROLL, below it): their numbers
// and the record of the pen's hold on one of them. What a press does with the hold is the
// default behaviour's (defaults/scroll_bar_tracking.h).
class ScrollBars {
  public:
    using Hold = ScrollBarHold;

    // The bar's numbers; a window that never set them has the default range.
    ScrollBarState State(HWND window, ScrollBarAxis axis) const;
    ScrollBarState& StateOf(HWND window, ScrollBarAxis axis) { return states_[{window, axis}]; }
    void Forget(HWND window);

    // Where the window's bar lies in window coordinates; empty without its style.
    static RECT BarRect(const Window& window, ScrollBarAxis axis);
    // The square between the two bars when both are shown; empty otherwise.
    static RECT CornerRect(const Window& window);
    // The bar's parts, with the thumb at the tracking position while it is dragged.
    ScrollBarLayout LayoutOf(const Window& window, ScrollBarAxis axis) const;
    // The part drawn pressed: the one held, while the pen is over it.
    ScrollBarPart Pressed(const Window& window, ScrollBarAxis axis) const;
    // Whether the pen holding the window's bar is over the part it pressed.
    bool PenOverPart(const Window& window) const;
    // Where the dragged thumb is, when the window's thumb of that bar is being dragged.
    std::optional<int> TrackPosition(HWND window, ScrollBarAxis axis) const;
    bool Holding(HWND window) const { return hold_ && hold_->window == window; }
    // The bar the window's hold is on.
    std::optional<ScrollBarAxis> HeldAxis(HWND window) const;
    // The hold, for the pen's behaviour to take, change and end.
    std::optional<Hold>& CurrentHold() { return hold_; }

  private:
    std::map<std::pair<HWND, ScrollBarAxis>, ScrollBarState> states_;
    std::optional<Hold> hold_;
};

}  // namespace qv
