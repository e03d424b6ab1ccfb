#include "platform/user/core/scroll_bars.h"

#include <algorithm>
#include <utility>

#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

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

ScrollBarPart ScrollBars::Pressed(const Window& window, ScrollBarAxis axis) const {
    if (!Holding(window.Handle()) || hold_->axis != axis || hold_->part == ScrollBarPart::Thumb ||
        !PenOverPart(window)) {
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

bool ScrollBars::PenOverPart(const Window& window) const {
    return Holding(window.Handle()) &&
           LayoutOf(window, hold_->axis).PartAt(hold_->pen) == hold_->part;
}

}  // namespace qv
