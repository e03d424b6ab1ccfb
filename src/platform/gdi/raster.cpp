#include "platform/gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace qv::raster {

RECT Grown(const RECT& box, int by) {
    return {box.left - by, box.top - by, box.right + by, box.bottom + by};
}

Runs BoxRuns(const RECT& box, const RECT& rows) {
    Runs runs;
    for (int y = std::max(box.top, rows.top);
         y < std::min(box.bottom, rows.bottom) && box.left < box.right; ++y) {
        runs.push_back({y, box.left, box.right});
    }
    return runs;
}

Runs EllipseRuns(const RECT& box, const RECT& rows) {
    Runs runs;
    if (box.right <= box.left || box.bottom <= box.top) {
        return runs;
    }
    // Measured from the box's corner, so that equal boxes anywhere give the same runs.
    const int width = box.right - box.left;
    const double cx = width / 2.0;
    const double cy = (box.bottom - box.top) / 2.0;
    const double a = cx;
    const double b = cy;
    // The columns whose centres lie within half a pixel of the vertical centre line.
    const int middleLeft = static_cast<int>(std::ceil(cx - 1.0));
    const int middleRight = static_cast<int>(std::floor(cx)) + 1;
    for (int y = std::max(box.top, rows.top); y < std::min(box.bottom, rows.bottom); ++y) {
        double dy = (y - box.top) + 0.5 - cy;
        if (std::abs(dy) <= 0.5) {
            dy = 0;
        }
        const double half = a * std::sqrt(std::max(0.0, 1.0 - (dy / b) * (dy / b)));
        const int left = static_cast<int>(std::ceil(cx - half - 0.5));
        const int right = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
        runs.push_back({y, box.left + std::max(0, std::min(left, middleLeft)),
                        box.left + std::min(width, std::max(right, middleRight))});
    }
    return runs;
}

Runs Difference(const Runs& outer, const Runs& inner) {
    Runs result;
    for (const Run& run : outer) {
        // `inner` has one run per row from its first row on.
        const long row = inner.empty() ? -1 : run.y - inner.front().y;
        const Run* cut = row >= 0 && row < static_cast<long>(inner.size())
                             ? &inner[static_cast<std::size_t>(row)]
                             : nullptr;
        if (!cut || cut->right <= run.left || cut->left >= run.right || cut->left >= cut->right) {
            result.push_back(run);
            continue;
        }
        if (run.left < cut->left) {
            result.push_back({run.y, run.left, cut->left});
        }
        if (cut->right < run.right) {
            result.push_back({run.y, cut->right, run.right});
        }
    }
    return result;
}

void Fill(Bitmap& bitmap, const ClipRegion& clip, const Runs& runs, COLORREF colour) {
    const std::uint32_t pixel = PixelOf(colour);
    bitmap.BeginPixels();
    for (const RECT& part : clip.Rectangles()) {
        for (const Run& run : runs) {
            if (run.y < part.top || run.y >= part.bottom) {
                continue;
            }
            const int left = std::max(run.left, static_cast<int>(part.left));
            const int right = std::min(run.right, static_cast<int>(part.right));
            if (left < right) {
                std::fill(bitmap.Row(run.y) + left, bitmap.Row(run.y) + right, pixel);
            }
        }
    }
    bitmap.EndPixels();
}

CoverMask::CoverMask(const ClipRegion& clip)
    : clip_(clip.Bounds()), width_(std::max(0, static_cast<int>(clip_.right - clip_.left))) {
    const int height = std::max(0, static_cast<int>(clip_.bottom - clip_.top));
    // Rows are set up when first reached: a few small shapes need not pay for the whole clip.
    rows_.resize(static_cast<std::size_t>(height));
    nextOpenRow_.resize(static_cast<std::size_t>(height) + 1);
    std::iota(nextOpenRow_.begin(), nextOpenRow_.end(), 0);
    if (clip.Kind() != COMPLEXREGION) {
        return;
    }
    ClipRegion outside(clip_);
    for (const RECT& part : clip.Rectangles()) {
        outside.Exclude(part);
    }
    for (const RECT& hole : outside.Rectangles()) {
        for (int y = hole.top; y < hole.bottom; ++y) {
            Take({y, hole.left, hole.right}, nullptr, 0);
        }
    }
}

int* CoverMask::RowSlots(int row) {
    std::vector<int>& slots = rows_[static_cast<std::size_t>(row)];
    if (slots.empty()) {
        slots.resize(static_cast<std::size_t>(width_) + 1);
        std::iota(slots.begin(), slots.end(), 0);
    }
    return slots.data();
}

int CoverMask::NextFree(int* slots, int column) const {
    while (slots[column] != column) {
        slots[column] = slots[slots[column]];
        column = slots[column];
    }
    return column;
}

void CoverMask::Fill(Bitmap& bitmap, const Run& run, std::uint32_t pixel) {
    if (run.y >= clip_.top && run.y < clip_.bottom) {
        Take(run, bitmap.Row(run.y) + clip_.left, pixel);
    }
}

void CoverMask::Take(const Run& run, std::uint32_t* row, std::uint32_t pixel) {
    if (run.y < clip_.top || run.y >= clip_.bottom) {
        return;
    }
    const int left = std::max(run.left, static_cast<int>(clip_.left)) - clip_.left;
    const int right = std::min(run.right, static_cast<int>(clip_.right)) - clip_.left;
    if (left >= right) {
        return;
    }
    int* slots = RowSlots(run.y - clip_.top);
    int x = NextFree(slots, left);
    if (x >= right) {
        return;
    }
    while (x < right) {
        const int start = x;
        while (x < right && slots[x] == x) {
            slots[x] = x + 1;
            ++x;
        }
        if (row) {
            std::fill(row + start, row + x, pixel);
        }
        x = NextFree(slots, x);
    }
    if (NextFree(slots, 0) == width_) {
        const int full = run.y - clip_.top;
        nextOpenRow_[static_cast<std::size_t>(full)] = full + 1;
    }
}

bool CoverMask::Covered(int top, int bottom) {
    top = std::max(top, static_cast<int>(clip_.top)) - clip_.top;
    bottom = std::min(bottom, static_cast<int>(clip_.bottom)) - clip_.top;
    return top >= bottom || NextFree(nextOpenRow_.data(), top) >= bottom;
}

namespace {

void LineIn(Bitmap& bitmap, const RECT& clip, POINT from, POINT to, std::uint32_t pixel) {
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        return;
    }
    // Step i of the line lies at the major coordinate start + i and the minor coordinate rounded
    // from the exact line, so only the steps inside the clip need visiting, however long the line.
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const int majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t minorSpan = xMajor ? std::abs(dy) : std::abs(dx);
    const std::int64_t clipLow = xMajor ? clip.left : clip.top;
    const std::int64_t clipHigh = xMajor ? clip.right : clip.bottom;
    // Steps whose major coordinate lies in [clipLow, clipHigh).
    std::int64_t first = majorSign > 0 ? clipLow - majorStart : majorStart - (clipHigh - 1);
    std::int64_t last = majorSign > 0 ? clipHigh - 1 - majorStart : majorStart - clipLow;
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, steps - 1);
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = majorStart + majorSign * i;
        const std::int64_t minor =
            minorStart + minorSign * ((2 * i * minorSpan + steps) / (2 * steps));
        const std::int64_t x = xMajor ? major : minor;
        const std::int64_t y = xMajor ? minor : major;
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) {
            bitmap.Row(static_cast<int>(y))[x] = pixel;
        }
    }
}

}  // namespace

void Line(Bitmap& bitmap, const ClipRegion& clip, POINT from, POINT to, COLORREF colour) {
    // Each step's pixel is fixed by the whole line, so the parts of the clip can take it in turn.
    bitmap.BeginPixels();
    for (const RECT& part : clip.Rectangles()) {
        LineIn(bitmap, part, from, to, PixelOf(colour));
    }
    bitmap.EndPixels();
}

}  // namespace qv::raster
