#pragma once

#include <cstdint>

#include "platform/gdi/device_context.h"

namespace qv {

// Copies width x height from the source at (sx, sy) to the target at (x, y), clipped at every
// edge of both. Only SRCCOPY is known; surfaces of different device scales are matched by
// nearest-neighbour scaling.
BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy,
            std::uint32_t rop);
// Copies the source area sw x sh to the target area width x height, nearest neighbour.
BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                int sh, std::uint32_t rop);

}  // namespace qv
