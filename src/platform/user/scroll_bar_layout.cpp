#include "platform/user/scroll_bar_layout.h"

#include <algorithm>

#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/classic_look.h"

namespace qv {

int LargestPosition(const ScrollBarState& state) {
    return std::max(state.min, state.max - std::max(state.page - 1, 0));
}

bool ScrollNeeded(const ScrollBarState& state) {
    return state.min < LargestPosition(state);
}

void ClampScrollBar(ScrollBarState& state) {
    state.max = std::max(state.max, state.min);
    const long long units = static_cast<long long>(state.max) - state.min + 1;
    state.page = static_cast<int>(std::clamp<long long>(state.page, 0, units));
    state.position = std::clamp(state.position, state.min, LargestPosition(state));
}

ScrollBarLayout::ScrollBarLayout(const RECT& bounds, const ScrollBarState& numbers, int position)
    : bar(bounds), state(numbers) {
    const int arrow = std::min(kWidth, (bar.bottom - bar.top) / 2);
    lineUp = {bar.left, bar.top, bar.right, bar.top + arrow};
    lineDown = {bar.left, bar.bottom - arrow, bar.right, bar.bottom};
    track = {bar.left, lineUp.bottom, bar.right, lineDown.top};
    thumb = {track.left, track.top, track.right, track.top};
    const int length = track.bottom - track.top;
    if (state.disabled || !ScrollNeeded(state) || length <= 0) {
        return;
    }
    const long long units = static_cast<long long>(state.max) - state.min + 1;
    const int proportional =
        state.page > 0 ? static_cast<int>(length * static_cast<long long>(state.page) / units)
                       : kWidth;
    const int size = std::min(length, std::max(kMinimumThumb, proportional));
    const long long travel = length - size;
    const long long span = static_cast<long long>(LargestPosition(state)) - state.min;
    const long long offset =
        static_cast<long long>(std::clamp(position, state.min, LargestPosition(state))) - state.min;
    const int top = track.top + static_cast<int>(travel * offset / span);
    thumb = {track.left, top, track.right, top + size};
}

ScrollBarPart ScrollBarLayout::PartAt(POINT point) const {
    if (!rect::Contains(bar, point)) {
        return ScrollBarPart::None;
    }
    if (point.y < track.top) {
        return ScrollBarPart::LineUp;
    }
    if (point.y >= track.bottom) {
        return ScrollBarPart::LineDown;
    }
    if (!HasThumb()) {
        return ScrollBarPart::None;
    }
    if (point.y < thumb.top) {
        return ScrollBarPart::PageUp;
    }
    return point.y >= thumb.bottom ? ScrollBarPart::PageDown : ScrollBarPart::Thumb;
}

int ScrollBarLayout::PositionForThumbTop(int thumbTop) const {
    const int travel = (track.bottom - track.top) - (thumb.bottom - thumb.top);
    if (travel <= 0 || !HasThumb()) {
        return state.position;
    }
    const long long offset = std::clamp(thumbTop - track.top, 0, travel);
    const long long span = static_cast<long long>(LargestPosition(state)) - state.min;
    return static_cast<int>(state.min + (offset * span + travel / 2) / travel);
}

namespace {

void PaintArrowButton(HDC dc, const RECT& button, ArrowDirection direction, bool pressed,
                      COLORREF ink) {
    if (!pressed) {
        DrawRaisedButton(dc, button);
        DrawArrow(dc, button, direction, ink);
        return;
    }
    // Pressed: flat with a shadow edge, the arrow one pixel down and to the right.
    FillSolid(dc, button, GetSysColor(COLOR_BTNSHADOW));
    FillSolid(dc, {button.left + 1, button.top + 1, button.right - 1, button.bottom - 1},
              GetSysColor(COLOR_BTNFACE));
    DrawArrow(dc, rect::Offset(button, 1, 1), direction, ink);
}

}  // namespace

void PaintScrollBar(HDC dc, const ScrollBarLayout& layout, ScrollBarPart pressed) {
    const bool enabled = !layout.state.disabled && ScrollNeeded(layout.state);
    const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
    PaintArrowButton(dc, layout.lineUp, ArrowDirection::Up, pressed == ScrollBarPart::LineUp, ink);
    PaintArrowButton(dc, layout.lineDown, ArrowDirection::Down, pressed == ScrollBarPart::LineDown,
                     ink);
    FillSolid(dc, layout.track, GetSysColor(COLOR_3DLIGHT));
    // The part of the track held down is shown dark, as the platform shows it.
    if (pressed == ScrollBarPart::PageUp) {
        FillSolid(dc, {layout.track.left, layout.track.top, layout.track.right, layout.thumb.top},
                  GetSysColor(COLOR_3DDKSHADOW));
    } else if (pressed == ScrollBarPart::PageDown) {
        FillSolid(dc,
                  {layout.track.left, layout.thumb.bottom, layout.track.right, layout.track.bottom},
                  GetSysColor(COLOR_3DDKSHADOW));
    }
    if (layout.HasThumb()) {
        DrawRaisedButton(dc, layout.thumb);
    }
}

}  // namespace qv
