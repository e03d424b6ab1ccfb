#include "platform/controls/vertical_scroll_bar.h"

#include <algorithm>

#include "platform/controls/classic_look.h"
#include "platform/gdi/system_metrics.h"

namespace qv {

namespace {

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

RECT VerticalScrollBar::Track() const {
    const int arrow = std::min(kWidth, (bounds_.bottom - bounds_.top) / 2);
    return {bounds_.left, bounds_.top + arrow, bounds_.right, bounds_.bottom - arrow};
}

int VerticalScrollBar::LargestPosition() const {
    return std::max(0, range_.count - range_.page);
}

RECT VerticalScrollBar::ThumbRect() const {
    const RECT track = Track();
    const int length = track.bottom - track.top;
    if (range_.count <= 0 || range_.page >= range_.count || length <= 0) {
        return {track.left, track.top, track.right, track.top};
    }
    const int thumb =
        std::min(length, std::max(kMinimumThumb, static_cast<int>(static_cast<long long>(length) *
                                                                  range_.page / range_.count)));
    const int travel = length - thumb;
    const int position = std::clamp(range_.position, 0, LargestPosition());
    const int top = track.top + static_cast<int>(static_cast<long long>(travel) * position /
                                                 std::max(1, LargestPosition()));
    return {track.left, top, track.right, top + thumb};
}

int VerticalScrollBar::PositionForThumbTop(int thumbTop) const {
    const RECT track = Track();
    const RECT thumb = ThumbRect();
    const int travel = (track.bottom - track.top) - (thumb.bottom - thumb.top);
    if (travel <= 0) {
        return 0;
    }
    const int offset = std::clamp(thumbTop - track.top, 0, travel);
    const long long largest = LargestPosition();
    return static_cast<int>((offset * largest + travel / 2) / travel);
}

VerticalScrollBar::Part VerticalScrollBar::HitTest(POINT point) const {
    if (!Contains(bounds_, point)) {
        return Part::None;
    }
    const RECT track = Track();
    if (point.y < track.top) {
        return Part::LineUp;
    }
    if (point.y >= track.bottom) {
        return Part::LineDown;
    }
    const RECT thumb = ThumbRect();
    if (thumb.bottom == thumb.top) {
        return Part::None;
    }
    if (point.y < thumb.top) {
        return Part::PageUp;
    }
    return point.y >= thumb.bottom ? Part::PageDown : Part::Thumb;
}

void VerticalScrollBar::Paint(HDC dc) const {
    const RECT track = Track();
    const RECT up{bounds_.left, bounds_.top, bounds_.right, track.top};
    const RECT down{bounds_.left, track.bottom, bounds_.right, bounds_.bottom};
    const bool scrollable = range_.page < range_.count;
    const COLORREF ink = GetSysColor(scrollable ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
    DrawRaisedButton(dc, up);
    DrawArrow(dc, up, ArrowDirection::Up, ink);
    DrawRaisedButton(dc, down);
    DrawArrow(dc, down, ArrowDirection::Down, ink);
    FillSolid(dc, track, GetSysColor(COLOR_3DLIGHT));
    const RECT thumb = ThumbRect();
    if (thumb.bottom > thumb.top) {
        DrawRaisedButton(dc, thumb);
    }
}

}  // namespace qv
