#pragma once

#include <map>
#include <optional>

#include "platform/host/host.h"
#include "platform/user/scroll_bar_layout.h"
#include "platform/user/user_types.h"

namespace qv {

class Window;
class WindowSystem;

// The vertical scroll bars of the windows (a window's bar is shown while it has WS_VSCROLL, in
// its non-client area right of the client area) and the pen's hold on one of them. A hold
// keeps the capture; it sends WM_VSCROLL as the platform does:
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
    ScrollBarState State(HWND window) const;
    ScrollBarState& StateOf(HWND window) { return states_[window]; }
    void Forget(HWND window);

    // Where the window's bar lies in window coordinates; empty without WS_VSCROLL.
    static RECT BarRect(const Window& window);
    // The bar's parts, with the thumb at the tracking position while it is dragged.
    ScrollBarLayout LayoutOf(const Window& window) const;
    // The part drawn pressed: the one held, while the pen is over it.
    ScrollBarPart Pressed(HWND window) const;
    // Where the dragged thumb is, when the window's thumb is being dragged.
    std::optional<int> TrackPosition(HWND window) const;
    bool Holding(HWND window) const { return hold_ && hold_->window == window; }

    // The pen on the window's bar, in screen coordinates.
    void PenDown(HWND window, POINT screen);
    void PenMove(HWND window, POINT screen);
    void PenUp(HWND window);
    void CaptureLost(HWND window);

  private:
    struct Hold {
        HWND window = nullptr;
        ScrollBarPart part = ScrollBarPart::None;
        POINT pen{};   // in window coordinates
        int grab = 0;  // from the thumb's top to the pen
        int trackPosition = 0;
    };

    static void OnRepeatTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Repeat(HWND window);
    // A hold whose capture went without the window hearing of it is over.
    void DropStaleHold();
    bool PenOverPart() const;
    // Sends the scroll that the held part makes; false when the window went away meanwhile.
    bool Step();
    void Scroll(HWND window, WORD code, int position = 0);
    void Redraw(HWND window);
    void StopRepeating(HWND window);
    // The hold is over: the bar drawn released and the window told the scroll ended.
    void EndHold(HWND window);

    WindowSystem& system_;
    std::map<HWND, ScrollBarState> states_;
    std::optional<Hold> hold_;
};

}  // namespace qv
