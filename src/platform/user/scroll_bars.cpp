#include "platform/user/scroll_bars.h"

#include <algorithm>
#include <utility>

#include "platform/user/input_functions.h"
#include "platform/user/timer_functions.h"
#include "platform/user/window.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"
#include "platform/user/window_system.h"

namespace qv {

namespace {

// The repeat timer lives among the window's timers under an id no program picks.
constexpr UINT_PTR kRepeatTimer = UINTPTR_MAX - 1;

POINT InWindow(const Window& window, POINT screen) {
    const POINT origin = window.ScreenOrigin();
    return {screen.x - origin.x, screen.y - origin.y};
}

}  // namespace

ScrollBarState ScrollBars::State(HWND window) const {
    const auto found = states_.find(window);
    return found == states_.end() ? ScrollBarState{} : found->second;
}

void ScrollBars::Forget(HWND window) {
    states_.erase(window);
    if (Holding(window)) {
        hold_.reset();
    }
}

RECT ScrollBars::BarRect(const Window& window) {
    if ((window.Style() & WS_VSCROLL) == 0) {
        return {};
    }
    const RECT insets = window.FrameInsets();
    const RECT client = window.ClientRect();
    const int left = insets.left + client.right;
    return {left, insets.top, std::min(left + ScrollBarLayout::kWidth, window.Width()),
            insets.top + client.bottom};
}

ScrollBarLayout ScrollBars::LayoutOf(const Window& window) const {
    const ScrollBarState state = State(window.Handle());
    const std::optional<int> tracked = TrackPosition(window.Handle());
    return ScrollBarLayout(BarRect(window), state, tracked.value_or(state.position));
}

ScrollBarPart ScrollBars::Pressed(HWND window) const {
    if (!Holding(window) || hold_->part == ScrollBarPart::Thumb || !PenOverPart()) {
        return ScrollBarPart::None;
    }
    return hold_->part;
}

std::optional<int> ScrollBars::TrackPosition(HWND window) const {
    if (!Holding(window) || hold_->part != ScrollBarPart::Thumb) {
        return std::nullopt;
    }
    return hold_->trackPosition;
}

bool ScrollBars::PenOverPart() const {
    const Window* window = system_.Find(hold_->window);
    return window && LayoutOf(*window).PartAt(hold_->pen) == hold_->part;
}

void ScrollBars::PenDown(HWND handle, POINT screen) {
    DropStaleHold();
    const Window* window = system_.Find(handle);
    if (!window || hold_) {
        return;
    }
    const POINT pen = InWindow(*window, screen);
    const ScrollBarLayout layout = LayoutOf(*window);
    const ScrollBarPart part = layout.PartAt(pen);
    if (part == ScrollBarPart::None || layout.state.disabled || !ScrollNeeded(layout.state)) {
        return;
    }
    hold_ = Hold{handle, part, pen, pen.y - layout.thumb.top, layout.state.position};
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
    const int position = LayoutOf(*window).PositionForThumbTop(hold_->pen.y - hold_->grab);
    if (position == hold_->trackPosition) {
        return;
    }
    hold_->trackPosition = position;
    Redraw(handle);
    Scroll(handle, SB_THUMBTRACK, position);
}

void ScrollBars::PenUp(HWND handle) {
    if (!Holding(handle)) {
        return;
    }
    if (hold_->part == ScrollBarPart::Thumb) {
        // The tracking position stays readable while the window handles the release.
        Scroll(handle, SB_THUMBPOSITION, hold_->trackPosition);
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
    hold_.reset();
    StopRepeating(handle);
    Redraw(handle);
    Scroll(handle, SB_ENDSCROLL);
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
    switch (hold_->part) {
        case ScrollBarPart::LineUp:
            Scroll(handle, SB_LINEUP);
            break;
        case ScrollBarPart::LineDown:
            Scroll(handle, SB_LINEDOWN);
            break;
        case ScrollBarPart::PageUp:
            Scroll(handle, SB_PAGEUP);
            break;
        case ScrollBarPart::PageDown:
            Scroll(handle, SB_PAGEDOWN);
            break;
        default:
            break;
    }
    return system_.Find(handle) != nullptr;
}

void ScrollBars::Scroll(HWND window, WORD code, int position) {
    system_.Send(window, WM_VSCROLL, MAKEWPARAM(code, position), 0);
}

void ScrollBars::Redraw(HWND window) {
    system_.Frames().MarkStale(window);
    system_.MarkScreenDirty();
}

void ScrollBars::StopRepeating(HWND window) {
    KillTimer(window, kRepeatTimer);
}

}  // namespace qv
