#include "segment_geometry.h"

#include <algorithm>
#include <cmath>

namespace qv::import {

std::int64_t Cross(IntPoint o, IntPoint a, IntPoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool SharesStretch(IntPoint a1, IntPoint a2, IntPoint b1, IntPoint b2) {
    if (Cross(a1, a2, b1) != 0 || Cross(a1, a2, b2) != 0) {
        return false;
    }
    // Both ends of b lie on a's line: compare their projections with a's own extent.
    const IntPoint d{a2.x - a1.x, a2.y - a1.y};
    const auto along = [&](IntPoint p) { return (p.x - a1.x) * d.x + (p.y - a1.y) * d.y; };
    const std::int64_t length = d.x * d.x + d.y * d.y;
    const std::int64_t lo = std::max<std::int64_t>(0, std::min(along(b1), along(b2)));
    const std::int64_t hi = std::min(length, std::max(along(b1), along(b2)));
    return hi > lo;
}

double DistanceToSegment(IntPoint p, IntPoint a, IntPoint b) {
    const double dx = static_cast<double>(b.x - a.x);
    const double dy = static_cast<double>(b.y - a.y);
    const double length2 = dx * dx + dy * dy;
    double t = 0;
    if (length2 > 0) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
    }
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

}  // namespace qv::import
