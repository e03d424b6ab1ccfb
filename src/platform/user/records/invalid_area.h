#pragma once

#include <cstddef>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace qv {

// What a window has left to paint, in client coordinates: a short list of rectangles that do
// not overlap. Adding may paint a little more than asked (overlapping rectangles become their
// bounds, and past the cap the whole list does); removing is exact, since painting too little
// would leave stale pixels on the screen.
class InvalidArea {
  public:
    static constexpr std::size_t kMaxRectangles = 8;

    void Add(const RECT& rect);
    // Takes the rectangle out, splitting what it crosses. The list may then be longer than the
    // cap until the next Add.
    void Remove(const RECT& rect);
    void Clear() { rectangles_.clear(); }
    bool Empty() const { return rectangles_.empty(); }
    // The bounds of the whole area; empty when there is nothing to paint.
    RECT Bounds() const;
    const std::vector<RECT>& Rectangles() const { return rectangles_; }

  private:
    std::vector<RECT> rectangles_;
};

}  // namespace qv
