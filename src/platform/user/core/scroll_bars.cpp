#include "platform/user/core/scroll_bars.h"

#include <algorithm>
#include <utility>

#include "platform/user/api/input_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The repeat timer lives among the window's timers under an id no program picks.
constexpr UINT_PTR kRepeatTimer = UINTPTR_MAX - 1;

POINT InWindow(const Window& window, POINT screen) {
    const POINT origin = window.ScreenOrigin();
    return {screen.x - origin.x, screen.y - origin.y};
}

}  // namespace

ScrollBarState ScrollBars::State(HWND window, ScrollBarAxis axis) const {
    const auto found = states_.find({window, axis});
    return found == states_.end() ? ScrollBarState{} : found->second;
}

void ScrollBars::Forget(HWND window) {
    states_.erase({window, ScrollBarAxis::Horizontal});
    states_.erase({window, ScrollBarAxis::Vertical});
    if (Holding(window)) {
        hold_.reset();
    }
}

RECT ScrollBars::BarRect(const Window& window, ScrollBarAxis axis) {
    const DWORD style = axis == ScrollBarAxis::Vertical ? WS_VSCROLL : WS_HSCROLL;
    if ((window.Style() & style) == 0) {
        return {};
    }
    const RECT insets = window.FrameInsets();
    const RECT client = window.ClientRect();
    if (axis == ScrollBarAxis::Vertical) {
        const int left = insets.left + client.right;
        return {left, insets.top, std::min(left + ScrollBarLayout::kWidth, window.Width()),
                insets.top + client.bottom};
    }
    const int top = insets.top + client.bottom;
    return {insets.left, top, insets.left + client.right,
            std::min(top + ScrollBarLayout::kWidth, window.Height())};
}

RECT ScrollBars::CornerRect(const Window& window) {
    if ((window.Style() & (WS_HSCROLL | WS_VSCROLL)) != (WS_HSCROLL | WS_VSCROLL)) {
        return {};
    }
    const RECT vertical = BarRect(window, ScrollBarAxis::Vertical);
    const RECT horizontal = BarRect(window, ScrollBarAxis::Horizontal);
    return {vertical.left, horizontal.top, vertical.right, horizontal.bottom};
}

ScrollBarLayout ScrollBars::LayoutOf(const Window& window, ScrollBarAxis axis) const {
    const ScrollBarState state = State(window.Handle(), axis);
    const std::optional<int> tracked = TrackPosition(window.Handle(), axis);
    return ScrollBarLayout(BarRect(window, axis), state, tracked.value_or(state.position), axis);
}

ScrollBarPart ScrollBars::Pressed(HWND window, ScrollBarAxis axis) const {
    if (!Holding(window) || hold_->axis != axis || hold_->part == ScrollBarPart::Thumb ||
        !PenOverPart()) {
        return ScrollBarPart::None;
    }
    return hold_->part;
}

std::optional<int> ScrollBars::TrackPosition(HWND window, ScrollBarAxis axis) const {
    if (!Holding(window) || hold_->axis != axis || hold_->part != ScrollBarPart::Thumb) {
        return std::nullopt;
    }
    return hold_->trackPosition;
}

std::optional<ScrollBarAxis> ScrollBars::HeldAxis(HWND window) const {
    if (!Holding(window)) {
        return std::nullopt;
    }
    return hold_->axis;
}

bool ScrollBars::PenOverPart() const {
    const Window* window = system_.Find(hold_->window);
    return window && LayoutOf(*window, hold_->axis).PartAt(hold_->pen) == hold_->part;
}

void ScrollBars::PenDown(HWND handle, ScrollBarAxis axis, POINT screen) {
    DropStaleHold();
    const Window* window = system_.Find(handle);
    if (!window || hold_) {
        return;
    }
    const POINT pen = InWindow(*window, screen);
    const ScrollBarLayout layout = LayoutOf(*window, axis);
    const ScrollBarPart part = layout.PartAt(pen);
    if (part == ScrollBarPart::None || layout.state.disabled || !ScrollNeeded(layout.state)) {
        return;
    }
    hold_ = Hold{handle,
                 axis,
                 part,
                 pen,
                 layout.Along(pen) - layout.Start(layout.thumb),
                 layout.state.position};
    SetCapture(handle);
    Redraw(handle);
    if (part == ScrollBarPart::Thumb || !Step()) {
        return;
    }
    if (Holding(handle)) {
        SetTimer(handle, kRepeatTimer, static_cast<UINT>(kFirstRepeat.count()), OnRepeatTimer);
    }
}

void ScrollBars::PenMove(HWND handle, POINT screen) {
    const Window* window = system_.Find(handle);
    if (!window || !Holding(handle)) {
        return;
    }
    const bool wasOver = PenOverPart();
    hold_->pen = InWindow(*window, screen);
    if (hold_->part != ScrollBarPart::Thumb) {
        if (PenOverPart() != wasOver) {
            Redraw(handle);
        }
        return;
    }
    const ScrollBarLayout layout = LayoutOf(*window, hold_->axis);
    const int position = layout.PositionForThumbStart(layout.Along(hold_->pen) - hold_->grab);
    if (position == hold_->trackPosition) {
        return;
    }
    hold_->trackPosition = position;
    Redraw(handle);
    Scroll(handle, hold_->axis, SB_THUMBTRACK, position);
}

void ScrollBars::PenUp(HWND handle) {
    if (!Holding(handle)) {
        return;
    }
    if (hold_->part == ScrollBarPart::Thumb) {
        // The tracking position stays readable while the window handles the release.
        Scroll(handle, hold_->axis, SB_THUMBPOSITION, hold_->trackPosition);
    }
    if (!Holding(handle)) {
        return;
    }
    EndHold(handle);
    if (GetCapture() == handle) {
        ReleaseCapture();
    }
}

void ScrollBars::CaptureLost(HWND handle) {
    if (Holding(handle)) {
        EndHold(handle);
    }
}

void ScrollBars::EndHold(HWND handle) {
    const ScrollBarAxis axis = hold_->axis;
    hold_.reset();
    StopRepeating(handle);
    Redraw(handle);
    Scroll(handle, axis, SB_ENDSCROLL);
}

void ScrollBars::OnRepeatTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->Bars().Repeat(window);
    }
}

void ScrollBars::DropStaleHold() {
    if (hold_ && GetCapture() != hold_->window) {
        StopRepeating(std::exchange(hold_, std::nullopt)->window);
    }
}

void ScrollBars::Repeat(HWND handle) {
    DropStaleHold();
    if (!Holding(handle)) {
        StopRepeating(handle);
        return;
    }
    SetTimer(handle, kRepeatTimer, static_cast<UINT>(kRepeatPeriod.count()), OnRepeatTimer);
    if (PenOverPart()) {
        Step();
    }
}

bool ScrollBars::Step() {
    const HWND handle = hold_->window;
    const ScrollBarAxis axis = hold_->axis;
    switch (hold_->part) {
        case ScrollBarPart::LineUp:
            Scroll(handle, axis, SB_LINEUP);
            break;
        case ScrollBarPart::LineDown:
            Scroll(handle, axis, SB_LINEDOWN);
            break;
        case ScrollBarPart::PageUp:
            Scroll(handle, axis, SB_PAGEUP);
            break;
        case ScrollBarPart::PageDown:
            Scroll(handle, axis, SB_PAGEDOWN);
            break;
        default:
            break;
    }
    return system_.Find(handle) != nullptr;
}

void ScrollBars::Scroll(HWND window, ScrollBarAxis axis, WORD code, int position) {
    const UINT message = axis == ScrollBarAxis::Vertical ? WM_VSCROLL : WM_HSCROLL;
    system_.Send(window, message, MAKEWPARAM(code, position), 0);
}

void ScrollBars::Redraw(HWND window) {
    system_.Frames().MarkStale(window);
    system_.MarkScreenDirty();
}

void ScrollBars::StopRepeating(HWND window) {
    KillTimer(window, kRepeatTimer);
}

}  // namespace qv
