#include "platform/user/defaults/scroll_bar_tracking.h"

#include <optional>
#include <utility>

#include "platform/user/api/default_support.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The repeat timer lives among the window's timers under an id no program picks.
constexpr UINT_PTR kRepeatTimer = UINTPTR_MAX - 1;
constexpr UINT kFirstRepeatMs = 250;
constexpr UINT kRepeatPeriodMs = 50;

POINT InWindow(const Window& window, POINT screen) {
    const POINT origin = window.ScreenOrigin();
    return {screen.x - origin.x, screen.y - origin.y};
}

bool Holding(HWND window) {
    const std::optional<ScrollBarHold> hold = GetScrollBarHold();
    return hold && hold->window == window;
}

bool PenOverPart() {
    const std::optional<ScrollBarHold> hold = GetScrollBarHold();
    return hold && IsWindow(hold->window) &&
           GetScrollBarLayout(hold->window, hold->axis).PartAt(hold->pen) == hold->part;
}

void Scroll(HWND window, ScrollBarAxis axis, WORD code, int position = 0) {
    const UINT message = axis == ScrollBarAxis::Vertical ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(window, message, MAKEWPARAM(code, position), 0);
}

void Redraw(HWND window) {
    MarkFrameStale(window);
    MarkScreenDirty();
}

void StopRepeating(HWND window) {
    KillTimer(window, kRepeatTimer);
}

// The hold is over: the bar drawn released and the window told the scroll ended.
void EndHold(HWND handle) {
    const ScrollBarAxis axis = GetScrollBarHold()->axis;
    SetScrollBarHold(std::nullopt);
    StopRepeating(handle);
    Redraw(handle);
    Scroll(handle, axis, SB_ENDSCROLL);
}

// Sends the scroll that the held part makes; false when the window went away meanwhile.
bool Step() {
    const ScrollBarHold hold = *GetScrollBarHold();
    const HWND handle = hold.window;
    switch (hold.part) {
        case ScrollBarPart::LineUp:
            Scroll(handle, hold.axis, SB_LINEUP);
            break;
        case ScrollBarPart::LineDown:
            Scroll(handle, hold.axis, SB_LINEDOWN);
            break;
        case ScrollBarPart::PageUp:
            Scroll(handle, hold.axis, SB_PAGEUP);
            break;
        case ScrollBarPart::PageDown:
            Scroll(handle, hold.axis, SB_PAGEDOWN);
            break;
        default:
            break;
    }
    return IsWindow(handle) != 0;
}

// A hold whose capture went without the window hearing of it is over.
void DropStaleHold() {
    const std::optional<ScrollBarHold> hold = GetScrollBarHold();
    if (hold && GetCapture() != hold->window) {
        SetScrollBarHold(std::nullopt);
        StopRepeating(hold->window);
    }
}

void OnRepeatTimer(HWND handle, UINT, UINT_PTR, DWORD) {
    DropStaleHold();
    if (!Holding(handle)) {
        StopRepeating(handle);
        return;
    }
    SetTimer(handle, kRepeatTimer, kRepeatPeriodMs, OnRepeatTimer);
    if (PenOverPart()) {
        Step();
    }
}

}  // namespace

void ScrollBarPenDown(HWND handle, ScrollBarAxis axis, POINT screen) {
    DropStaleHold();
    const Window* window = WindowFromHandle(handle);
    if (!window || GetScrollBarHold()) {
        return;
    }
    const POINT pen = InWindow(*window, screen);
    const ScrollBarLayout layout = GetScrollBarLayout(handle, axis);
    const ScrollBarPart part = layout.PartAt(pen);
    if (part == ScrollBarPart::None || layout.state.disabled || !ScrollNeeded(layout.state)) {
        return;
    }
    SetScrollBarHold(ScrollBarHold{handle, axis, part, pen,
                                   layout.Along(pen) - layout.Start(layout.thumb),
                                   layout.state.position});
    SetCapture(handle);
    Redraw(handle);
    if (part == ScrollBarPart::Thumb || !Step()) {
        return;
    }
    if (Holding(handle)) {
        SetTimer(handle, kRepeatTimer, kFirstRepeatMs, OnRepeatTimer);
    }
}

void ScrollBarPenMove(HWND handle, POINT screen) {
    const Window* window = WindowFromHandle(handle);
    if (!window || !Holding(handle)) {
        return;
    }
    ScrollBarHold hold = *GetScrollBarHold();
    const bool wasOver = PenOverPart();
    hold.pen = InWindow(*window, screen);
    SetScrollBarHold(hold);
    if (hold.part != ScrollBarPart::Thumb) {
        if (PenOverPart() != wasOver) {
            Redraw(handle);
        }
        return;
    }
    const ScrollBarLayout layout = GetScrollBarLayout(handle, hold.axis);
    const int position = layout.PositionForThumbStart(layout.Along(hold.pen) - hold.grab);
    if (position == hold.trackPosition) {
        return;
    }
    hold.trackPosition = position;
    SetScrollBarHold(hold);
    Redraw(handle);
    Scroll(handle, hold.axis, SB_THUMBTRACK, position);
}

void ScrollBarPenUp(HWND handle) {
    if (!Holding(handle)) {
        return;
    }
    const ScrollBarHold hold = *GetScrollBarHold();
    if (hold.part == ScrollBarPart::Thumb) {
        // The tracking position stays readable while the window handles the release.
        Scroll(handle, hold.axis, SB_THUMBPOSITION, hold.trackPosition);
    }
    if (!Holding(handle)) {
        return;
    }
    EndHold(handle);
    if (GetCapture() == handle) {
        ReleaseCapture();
    }
}

void ScrollBarCaptureLost(HWND handle) {
    if (Holding(handle)) {
        EndHold(handle);
    }
}

}  // namespace qv
