#pragma once

#include <algorithm>
#include <vector>

#include "platform/gdi/gdi_types.h"

// Rectangles as plain values: right and bottom lie just outside, so a rectangle whose right is
// not past its left (or bottom past its top) holds no pixel.
namespace qv::rect {

constexpr bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

constexpr RECT Intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

constexpr bool Overlap(const RECT& a, const RECT& b) {
    return !IsEmpty(Intersection(a, b));
}

// The smallest rectangle holding both; an empty one adds nothing.
constexpr RECT Bounds(const RECT& a, const RECT& b) {
    if (IsEmpty(a)) {
        return b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

constexpr bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

constexpr RECT Offset(const RECT& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Adds to `pieces` what is left of `from` once `cut` is taken out: at most four rectangles
// that do not overlap, a band above and below and the two sides between them.
inline void Subtract(const RECT& from, const RECT& cut, std::vector<RECT>& pieces) {
    if (IsEmpty(from)) {
        return;
    }
    const RECT inner = Intersection(from, cut);
    if (IsEmpty(inner)) {
        pieces.push_back(from);
        return;
    }
    if (from.top < inner.top) {
        pieces.push_back({from.left, from.top, from.right, inner.top});
    }
    if (inner.bottom < from.bottom) {
        pieces.push_back({from.left, inner.bottom, from.right, from.bottom});
    }
    if (from.left < inner.left) {
        pieces.push_back({from.left, inner.top, inner.left, inner.bottom});
    }
    if (inner.right < from.right) {
        pieces.push_back({inner.right, inner.top, from.right, inner.bottom});
    }
}

}  // namespace qv::rect
