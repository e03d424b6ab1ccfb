#include "platform/gdi/clip_region.h"

#include <algorithm>
#include <cstdint>

#include "platform/gdi/rectangle_math.h"

namespace qv {

namespace {

using rect::Intersection;
using rect::IsEmpty;
using rect::Subtract;

// Exact for any rectangle: each side is below 2^32.
std::uint64_t Area(const RECT& r) {
    return IsEmpty(r) ? 0
                      : static_cast<std::uint64_t>(std::int64_t{r.right} - r.left) *
                            static_cast<std::uint64_t>(std::int64_t{r.bottom} - r.top);
}

// Whether the two rectangles side by side or one above the other make one rectangle.
bool Joinable(const RECT& a, const RECT& b) {
    const bool sideBySide =
        a.top == b.top && a.bottom == b.bottom && (a.right == b.left || b.right == a.left);
    const bool stacked =
        a.left == b.left && a.right == b.right && (a.bottom == b.top || b.bottom == a.top);
    return sideBySide || stacked;
}

LONG Clamped(std::int64_t value, LONG limit) {
    return static_cast<LONG>(std::clamp<std::int64_t>(value, -limit, limit));
}

}  // namespace

ClipRegion::ClipRegion(const RECT& rect) {
    if (!IsEmpty(rect)) {
        rectangles_.push_back(rect);
    }
}

RECT ClipRegion::Bounds() const {
    if (rectangles_.empty()) {
        return {};
    }
    RECT bounds = rectangles_.front();
    for (const RECT& r : rectangles_) {
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                  std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    return bounds;
}

int ClipRegion::Kind() const {
    if (rectangles_.empty()) {
        return NULLREGION;
    }
    return rectangles_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void ClipRegion::Add(const RECT& rect) {
    std::vector<RECT> pieces;
    if (!IsEmpty(rect)) {
        pieces.push_back(rect);
    }
    for (const RECT& held : rectangles_) {
        std::vector<RECT> left;
        for (const RECT& piece : pieces) {
            Subtract(piece, held, left);
        }
        pieces = std::move(left);
    }
    rectangles_.insert(rectangles_.end(), pieces.begin(), pieces.end());
    Join();
}

void ClipRegion::Intersect(const RECT& rect) {
    std::vector<RECT> kept;
    for (const RECT& r : rectangles_) {
        const RECT inner = Intersection(r, rect);
        if (!IsEmpty(inner)) {
            kept.push_back(inner);
        }
    }
    rectangles_ = std::move(kept);
    Join();
}

void ClipRegion::Exclude(const RECT& rect) {
    if (IsEmpty(rect)) {
        return;
    }
    std::vector<RECT> left;
    for (const RECT& r : rectangles_) {
        Subtract(r, rect, left);
    }
    rectangles_ = std::move(left);
    Join();
}

ClipRegion ClipRegion::Transformed(int dx, int dy, int scale, LONG limit) const {
    ClipRegion moved;
    for (const RECT& r : rectangles_) {
        const RECT to{Clamped((std::int64_t{r.left} + dx) * scale, limit),
                      Clamped((std::int64_t{r.top} + dy) * scale, limit),
                      Clamped((std::int64_t{r.right} + dx) * scale, limit),
                      Clamped((std::int64_t{r.bottom} + dy) * scale, limit)};
        if (!IsEmpty(to)) {
            moved.rectangles_.push_back(to);
        }
    }
    moved.Join();
    return moved;
}

void ClipRegion::Join() {
    if (rectangles_.size() < 2) {
        return;
    }
    // A region whose rectangles fill their bounds is that one rectangle, however it was cut.
    // The rectangles do not overlap, so their sum stays within the bounds' area.
    std::uint64_t area = 0;
    for (const RECT& r : rectangles_) {
        area += Area(r);
    }
    const RECT bounds = Bounds();
    if (area == Area(bounds)) {
        rectangles_ = {bounds};
        return;
    }
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < rectangles_.size(); ++i) {
            for (std::size_t j = i + 1; j < rectangles_.size();) {
                const RECT& a = rectangles_[i];
                const RECT& b = rectangles_[j];
                if (!Joinable(a, b)) {
                    ++j;
                    continue;
                }
                rectangles_[i] = {std::min(a.left, b.left), std::min(a.top, b.top),
                                  std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
                rectangles_.erase(rectangles_.begin() + static_cast<std::ptrdiff_t>(j));
                joined = true;
            }
        }
    }
}

void ClipContext(cairo_t* context, const ClipRegion& region) {
    for (const RECT& r : region.Rectangles()) {
        cairo_rectangle(context, r.left, r.top, static_cast<double>(r.right) - r.left,
                        static_cast<double>(r.bottom) - r.top);
    }
    // Without a rectangle the path is empty, and clipping to it leaves nothing.
    cairo_clip(context);
}

}  // namespace qv
