#pragma once

#include <map>
#include <optional>
#include <utility>

#include "platform/host/host.h"
#include "platform/user/look/scroll_bar_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

class Window;
class WindowSystem;

// The scroll bars of the windows (the vertical bar is shown while the window has WS_VSCROLL,
// right of the client area; the horizontal one while it has WS_HSCROLL, below it) and the pen's
// hold on one of them. A hold keeps the capture; it sends WM_VSCROLL (WM_HSCROLL for the
// horizontal bar, whose codes SB_LINELEFT ... are the same numbers) as the platform does:
//
//   pen down on       | at once          | while held           | pen up
//   an arrow          | SB_LINEUP / DOWN | repeated on a timer  | SB_ENDSCROLL
//   the track         | SB_PAGEUP / DOWN | repeated on a timer  | SB_ENDSCROLL
//   the thumb         | nothing          | SB_THUMBTRACK, moved | SB_THUMBPOSITION, SB_ENDSCROLL
//
// Repeats go on only while the pen is over the part pressed, so a page scroll stops when the
// thumb reaches the pen. A lost capture ends the hold with SB_ENDSCROLL.
class ScrollBars {
  public:
    static constexpr HostTime kFirstRepeat{250};
    static constexpr HostTime kRepeatPeriod{50};

    explicit ScrollBars(WindowSystem& system) : system_(system) {}

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
    ScrollBarPart Pressed(HWND window, ScrollBarAxis axis) const;
    // Where the dragged thumb is, when the window's thumb of that bar is being dragged.
    std::optional<int> TrackPosition(HWND window, ScrollBarAxis axis) const;
    bool Holding(HWND window) const { return hold_ && hold_->window == window; }
    // The bar the window's hold is on.
    std::optional<ScrollBarAxis> HeldAxis(HWND window) const;

    // The pen on the window's bar, in screen coordinates.
    void PenDown(HWND window, ScrollBarAxis axis, POINT screen);
    void PenMove(HWND window, POINT screen);
    void PenUp(HWND window);
    void CaptureLost(HWND window);

  private:
    struct Hold {
        HWND window = nullptr;
        ScrollBarAxis axis = ScrollBarAxis::Vertical;
        ScrollBarPart part = ScrollBarPart::None;
        POINT pen{};   // in window coordinates
        int grab = 0;  // from the thumb's start to the pen, along the bar
        int trackPosition = 0;
    };

    static void OnRepeatTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Repeat(HWND window);
    // A hold whose capture went without the window hearing of it is over.
    void DropStaleHold();
    bool PenOverPart() const;
    // Sends the scroll that the held part makes; false when the window went away meanwhile.
    bool Step();
    void Scroll(HWND window, ScrollBarAxis axis, WORD code, int position = 0);
    void Redraw(HWND window);
    void StopRepeating(HWND window);
    // The hold is over: the bar drawn released and the window told the scroll ended.
    void EndHold(HWND window);

    WindowSystem& system_;
    std::map<std::pair<HWND, ScrollBarAxis>, ScrollBarState> states_;
    std::optional<Hold> hold_;
};

}  // namespace qv
