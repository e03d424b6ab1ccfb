#pragma once

#include <cstdint>

namespace qv::import {

// A point in whole map or grid units, wide enough that products of differences cannot overflow.
struct IntPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    bool operator==(const IntPoint&) const = default;
};

// Twice the signed area of the triangle o, a, b: positive when b lies left of the way o to a.
std::int64_t Cross(IntPoint o, IntPoint a, IntPoint b);

// Whether two segments have a point in common.
bool SegmentsMeet(IntPoint a1, IntPoint a2, IntPoint b1, IntPoint b2);

// Whether two segments run along one another for a stretch of positive length.
bool SharesStretch(IntPoint a1, IntPoint a2, IntPoint b1, IntPoint b2);

double DistanceToSegment(IntPoint p, IntPoint a, IntPoint b);

}  // namespace qv::import
