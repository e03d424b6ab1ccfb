#pragma once

#include "platform/gdi/device_context.h"

namespace qv {

// The numbers of one scroll bar: a range of positions, the page shown and the position of its
// first unit. A window's bar starts with the range 0 to 100, as the platform's does.
struct ScrollBarState {
    int min = 0;
    int max = 100;
    int page = 0;
    int position = 0;
    // Shown greyed, without a thumb, because the range fits the page (SIF_DISABLENOSCROLL).
    bool disabled = false;
};

// The largest position: the last page's first unit.
int LargestPosition(const ScrollBarState& state);
// Whether there is anything to scroll.
bool ScrollNeeded(const ScrollBarState& state);
// Page and position brought inside the range.
void ClampScrollBar(ScrollBarState& state);

enum class ScrollBarAxis { Horizontal, Vertical };

// The parts of a bar; on a horizontal bar "up" is the left end, as SB_LINELEFT is SB_LINEUP.
enum class ScrollBarPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct WindowHandle;

// The part of a window's bar the pen pressed and holds.
struct ScrollBarHold {
    WindowHandle* window = nullptr;  // an HWND
    ScrollBarAxis axis = ScrollBarAxis::Vertical;
    ScrollBarPart part = ScrollBarPart::None;
    POINT pen{};   // in window coordinates
    int grab = 0;  // from the thumb's start to the pen, along the bar
    int trackPosition = 0;
};

// Where the parts of a bar lie, in the coordinates of its rectangle; the thumb drawn at
// `position` (the tracking position while the thumb is dragged).
struct ScrollBarLayout {
    static constexpr int kWidth = 13;
    static constexpr int kMinimumThumb = 8;

    ScrollBarLayout(const RECT& bar, const ScrollBarState& state, int position,
                    ScrollBarAxis axis = ScrollBarAxis::Vertical);

    ScrollBarPart PartAt(POINT point) const;
    // The position that puts the thumb's start (top or left) at `thumbStart`, rounded to the
    // nearest unit.
    int PositionForThumbStart(int thumbStart) const;
    bool HasThumb() const { return End(thumb) > Start(thumb); }
    // A point's or a rectangle's coordinate along the bar.
    int Along(POINT point) const { return axis == ScrollBarAxis::Vertical ? point.y : point.x; }
    int Start(const RECT& r) const { return axis == ScrollBarAxis::Vertical ? r.top : r.left; }
    int End(const RECT& r) const { return axis == ScrollBarAxis::Vertical ? r.bottom : r.right; }
    // The part of the bar between two coordinates along it, across its whole width.
    RECT Span(int start, int end) const;

    ScrollBarAxis axis;
    RECT bar;
    RECT lineUp;
    RECT lineDown;
    RECT track;
    RECT thumb;
    ScrollBarState state;
};

// The classic look: raised arrow buttons (sunk while pressed), the track, a raised thumb; the
// arrows grey and no thumb when there is nothing to scroll.
void PaintScrollBar(HDC dc, const ScrollBarLayout& layout, ScrollBarPart pressed);

}  // namespace qv
