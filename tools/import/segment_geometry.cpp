#include "segment_geometry.h"

#include <algorithm>
#include <cmath>

namespace qv::import {

std::int64_t Cross(IntPoint o, IntPoint a, IntPoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

namespace {

int Sign(std::int64_t value) {
    return (value > 0) - (value < 0);
}

// Whether p, on the line through a and b, lies between them.
bool Within(IntPoint a, IntPoint b, IntPoint p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

}  // namespace

bool SegmentsMeet(IntPoint a1, IntPoint a2, IntPoint b1, IntPoint b2) {
    const int d1 = Sign(Cross(b1, b2, a1));
    const int d2 = Sign(Cross(b1, b2, a2));
    const int d3 = Sign(Cross(a1, a2, b1));
    const int d4 = Sign(Cross(a1, a2, b2));
    if (d1 * d2 < 0 && d3 * d4 < 0) {
        return true;
    }
    return (d1 == 0 && Within(b1, b2, a1)) || (d2 == 0 && Within(b1, b2, a2)) ||
           (d3 == 0 && Within(a1, a2, b1)) || (d4 == 0 && Within(a1, a2, b2));
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
