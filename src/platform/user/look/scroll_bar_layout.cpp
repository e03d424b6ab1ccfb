#include "platform/user/look/scroll_bar_layout.h"

#include <algorithm>

#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/look/classic_look.h"

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

ScrollBarLayout::ScrollBarLayout(const RECT& bounds, const ScrollBarState& numbers, int position,
                                 ScrollBarAxis direction)
    : axis(direction), bar(bounds), state(numbers) {
    const int first = Start(bar);
    const int last = End(bar);
    const int arrow = std::min(kWidth, (last - first) / 2);
    lineUp = Span(first, first + arrow);
    lineDown = Span(last - arrow, last);
    track = Span(first + arrow, last - arrow);
    thumb = Span(Start(track), Start(track));
    const int length = End(track) - Start(track);
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
    const int thumbStart = Start(track) + static_cast<int>(travel * offset / span);
    thumb = Span(thumbStart, thumbStart + size);
}

RECT ScrollBarLayout::Span(int start, int end) const {
    if (axis == ScrollBarAxis::Vertical) {
        return {bar.left, start, bar.right, end};
    }
    return {start, bar.top, end, bar.bottom};
}

ScrollBarPart ScrollBarLayout::PartAt(POINT point) const {
    if (!rect::Contains(bar, point)) {
        return ScrollBarPart::None;
    }
    const int at = Along(point);
    if (at < Start(track)) {
        return ScrollBarPart::LineUp;
    }
    if (at >= End(track)) {
        return ScrollBarPart::LineDown;
    }
    if (!HasThumb()) {
        return ScrollBarPart::None;
    }
    if (at < Start(thumb)) {
        return ScrollBarPart::PageUp;
    }
    return at >= End(thumb) ? ScrollBarPart::PageDown : ScrollBarPart::Thumb;
}

int ScrollBarLayout::PositionForThumbStart(int thumbStart) const {
    const int travel = (End(track) - Start(track)) - (End(thumb) - Start(thumb));
    if (travel <= 0 || !HasThumb()) {
        return state.position;
    }
    const long long offset = std::clamp(thumbStart - Start(track), 0, travel);
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
    const bool vertical = layout.axis == ScrollBarAxis::Vertical;
    PaintArrowButton(dc, layout.lineUp, vertical ? ArrowDirection::Up : ArrowDirection::Left,
                     pressed == ScrollBarPart::LineUp, ink);
    PaintArrowButton(dc, layout.lineDown, vertical ? ArrowDirection::Down : ArrowDirection::Right,
                     pressed == ScrollBarPart::LineDown, ink);
    FillSolid(dc, layout.track, GetSysColor(COLOR_3DLIGHT));
    // The part of the track held down is shown dark, as the platform shows it.
    if (pressed == ScrollBarPart::PageUp) {
        FillSolid(dc, layout.Span(layout.Start(layout.track), layout.Start(layout.thumb)),
                  GetSysColor(COLOR_3DDKSHADOW));
    } else if (pressed == ScrollBarPart::PageDown) {
        FillSolid(dc, layout.Span(layout.End(layout.thumb), layout.End(layout.track)),
                  GetSysColor(COLOR_3DDKSHADOW));
    }
    if (layout.HasThumb()) {
        DrawRaisedButton(dc, layout.thumb);
    }
}

}  // namespace qv
