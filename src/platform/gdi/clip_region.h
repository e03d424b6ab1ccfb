#pragma once

#include <cairo.h>

#include <vector>

#include "platform/gdi/gdi_types.h"

namespace qv {

// An area of whole pixels held as rectangles that do not overlap: what a device context may draw
// on. Neighbours that together make one rectangle are joined, so that a rectangular area is held
// as one rectangle.
class ClipRegion {
  public:
    ClipRegion() = default;
    // A rectangle is a region; an empty one makes an empty region.
    ClipRegion(const RECT& rect);  // NOLINT(google-explicit-constructor)

    const std::vector<RECT>& Rectangles() const { return rectangles_; }
    bool Empty() const { return rectangles_.empty(); }
    // The smallest rectangle holding the region; all zero when it is empty.
    RECT Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;

    void Add(const RECT& rect);
    void Intersect(const RECT& rect);
    void Exclude(const RECT& rect);
    // The region moved by (dx, dy), every coordinate then multiplied by `scale`; coordinates are
    // held within `limit` of zero.
    ClipRegion Transformed(int dx, int dy, int scale, LONG limit) const;

    bool operator==(const ClipRegion&) const = default;

  private:
    // Joins rectangles that make one rectangle together.
    void Join();

    std::vector<RECT> rectangles_;
};

// Limits what the Cairo context draws to the region (pixels of the context's surface).
void ClipContext(cairo_t* context, const ClipRegion& region);

}  // namespace qv
