#include "platform/user/records/invalid_area.h"

#include "platform/gdi/rectangle_math.h"

namespace qv {

namespace {

// Two rectangles whose union is exactly a rectangle: side by side with the same height, or one
// above the other with the same width.
bool FormRectangle(const RECT& a, const RECT& b) {
    const bool row =
        a.top == b.top && a.bottom == b.bottom && a.left <= b.right && b.left <= a.right;
    const bool column =
        a.left == b.left && a.right == b.right && a.top <= b.bottom && b.top <= a.bottom;
    return row || column;
}

}  // namespace

void InvalidArea::Add(const RECT& rect) {
    if (rect::IsEmpty(rect)) {
        return;
    }
    // A merged rectangle may reach others, so merging goes on until nothing more joins.
    RECT grown = rect;
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = rectangles_.begin(); it != rectangles_.end(); ++it) {
            if (rect::Overlap(*it, grown) || FormRectangle(*it, grown)) {
                grown = rect::Bounds(*it, grown);
                rectangles_.erase(it);
                merged = true;
                break;
            }
        }
    }
    rectangles_.push_back(grown);
    if (rectangles_.size() > kMaxRectangles) {
        rectangles_ = {Bounds()};
    }
}

void InvalidArea::Remove(const RECT& rect) {
    std::vector<RECT> kept;
    for (const RECT& each : rectangles_) {
        rect::Subtract(each, rect, kept);
    }
    rectangles_ = std::move(kept);
}

RECT InvalidArea::Bounds() const {
    RECT bounds{};
    for (const RECT& each : rectangles_) {
        bounds = rect::Bounds(bounds, each);
    }
    return bounds;
}

}  // namespace qv
