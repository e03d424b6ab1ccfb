#pragma once

#include <algorithm>
#include <cmath>
#include <optional>

namespace qv {

// A box with edges at any position: the lines of a stroke's clip, a label's extent.
struct ClipBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// A part of a segment, as fractions of the way from its start (0) to its end (1).
struct SegmentSpan {
    double enter = 0;
    double leave = 1;
};

// The part of the segment from (x, y) by (dx, dy) that lies in the box, edges included, by
// Liang and Barsky; nothing when it misses the box. A segment that only touches the box enters
// and leaves at the same fraction.
constexpr std::optional<SegmentSpan> ClipSegment(double x, double y, double dx, double dy,
                                                 const ClipBox& box) {
    SegmentSpan span;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x - box.left, box.right - x, y - box.top, box.bottom - y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            span.enter = std::max(span.enter, t);
        } else {
            span.leave = std::min(span.leave, t);
        }
    }
    if (span.enter > span.leave) {
        return std::nullopt;
    }
    return span;
}

// How long the part of the segment inside the box is; 0 where it only touches the box.
inline double LengthInside(double x, double y, double dx, double dy, const ClipBox& box) {
    const std::optional<SegmentSpan> span = ClipSegment(x, y, dx, dy, box);
    return span ? (span->leave - span->enter) * std::hypot(dx, dy) : 0.0;
}

}  // namespace qv
