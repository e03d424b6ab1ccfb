#pragma once

#include "platform/gdi/device_context.h"

namespace qv {

// A vertical scroll bar that a control draws in its own client area: arrow buttons at both
// ends, a track and a thumb sized to the page. It only draws and answers where a point falls;
// the control scrolls.
class VerticalScrollBar {
  public:
    static constexpr int kWidth = 13;
    static constexpr int kMinimumThumb = 8;

    enum class Part { None, LineUp, LineDown, PageUp, PageDown, Thumb };
    // `count` units of which `page` are shown, the first shown being `position`.
    struct Range {
        int count = 0;
        int page = 0;
        int position = 0;
    };

    void Place(const RECT& bounds) { bounds_ = bounds; }
    void SetRange(const Range& range) { range_ = range; }
    const RECT& Bounds() const { return bounds_; }
    const Range& GetRange() const { return range_; }

    Part HitTest(POINT point) const;
    RECT ThumbRect() const;
    // The position that puts the thumb's top at `thumbTop`, rounded to the nearest unit.
    int PositionForThumbTop(int thumbTop) const;
    void Paint(HDC dc) const;

  private:
    RECT Track() const;
    int LargestPosition() const;

    RECT bounds_{};
    Range range_{};
};

}  // namespace qv
