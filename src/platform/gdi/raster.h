#pragma once

// Shapes as runs of device pixels, so that small circles come out round and symmetric.

#include <vector>

#include "platform/gdi/clip_region.h"
#include "platform/gdi/gdi_objects.h"

namespace qv::raster {

// Pixels left..right-1 of row y.
struct Run {
    int y = 0;
    int left = 0;
    int right = 0;
};
using Runs = std::vector<Run>;

// The box [left, right) x [top, bottom) in device pixels, grown by `by` on every side (a
// negative `by` shrinks it).
RECT Grown(const RECT& box, int by);

// One run per row of the box, for the rows `rows` lets through (only its top and bottom count):
// a shape far larger than the surface costs no more than the surface.
Runs BoxRuns(const RECT& box, const RECT& rows);
// The ellipse inscribed in the box, one run per row within `rows`: a pixel belongs when its
// centre lies inside; the row and the column through the centre always reach the box's edges,
// so flat and thin boxes stay whole.
Runs EllipseRuns(const RECT& box, const RECT& rows);
// The pixels of `outer` that are not in `inner` (one run per row, rows in order).
Runs Difference(const Runs& outer, const Runs& inner);

// The runs' pixels inside the clip (device pixels of the bitmap).
void Fill(Bitmap& bitmap, const ClipRegion& clip, const Runs& runs, COLORREF colour);

// The pixels of the clip that shapes drawn last first have already written: a pixel written
// once stays, so every pixel ends as the last shape in drawing order that covers it left it, and
// no pixel is written twice however many shapes pile up. The pixels within the clip's bounds
// but outside the clip count as written from the start.
class CoverMask {
  public:
    explicit CoverMask(const ClipRegion& clip);
    // Writes the pixels of the run that are still free and marks them written. The caller
    // brackets its writes with the bitmap's BeginPixels and EndPixels.
    void Fill(Bitmap& bitmap, const Run& run, std::uint32_t pixel);
    // Whether every pixel of the clip's rows top..bottom-1 is written.
    bool Covered(int top, int bottom);

  private:
    // Marks the run's free pixels as written, writing them when a row is given.
    void Take(const Run& run, std::uint32_t* row, std::uint32_t pixel);
    // The first free slot at or after `index` (the last slot when none); a free slot points to
    // itself, a taken one further on.
    int NextFree(int* slots, int index) const;

    // The row's slots, set up on first use.
    int* RowSlots(int row);

    RECT clip_;
    int width_;
    std::vector<std::vector<int>> rows_;  // a slot for each column and one past the last
    std::vector<int> nextOpenRow_;        // a slot for each row and one past the last
};

// A one-pixel line from `from` towards `to`, `to` itself excluded.
void Line(Bitmap& bitmap, const ClipRegion& clip, POINT from, POINT to, COLORREF colour);

}  // namespace qv::raster
