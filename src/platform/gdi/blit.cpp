#include "platform/gdi/blit.h"

#include <algorithm>
#include <cstring>

namespace qv {

BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                int sh, std::uint32_t rop) {
    if (!target || !source || rop != SRCCOPY || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) {
        return 0;
    }
    if (!target->bitmap || !source->bitmap) {
        return 1;
    }
    Bitmap& to = *target->bitmap;
    const Bitmap& from = *source->bitmap;
    const int tk = target->Scale();
    const int sk = source->Scale();
    const POINT t0 = target->ToDevice({x, y});
    const POINT s0 = source->ToDevice({sx, sy});
    // Device sizes of the two areas.
    const long tw = static_cast<long>(width) * tk;
    const long th = static_cast<long>(height) * tk;
    const long sws = static_cast<long>(sw) * sk;
    const long shs = static_cast<long>(sh) * sk;
    const RECT clip = target->DeviceClip();
    const int left = std::max<long>(clip.left, t0.x);
    const int right = static_cast<int>(std::min<long>(clip.right, t0.x + tw));
    const int top = std::max<long>(clip.top, t0.y);
    const int bottom = static_cast<int>(std::min<long>(clip.bottom, t0.y + th));
    from.Flush();
    to.BeginPixels();
    // Within one bitmap, copy rows in the order that never reads a row already overwritten.
    const bool upwards = &to == &from && t0.y > s0.y;
    for (int row = 0; row < bottom - top; ++row) {
        const int ty = upwards ? bottom - 1 - row : top + row;
        const long fy = s0.y + (ty - t0.y) * shs / th;
        if (fy < 0 || fy >= from.DeviceHeight()) {
            continue;
        }
        const std::uint32_t* sourceRow = from.Row(static_cast<int>(fy));
        std::uint32_t* targetRow = to.Row(ty);
        if (tw == sws) {
            // Same size: copy the part of the row that lies inside the source.
            const int first = std::max<long>(left, t0.x - s0.x);
            const int last =
                static_cast<int>(std::min<long>(right, t0.x - s0.x + from.DeviceWidth()));
            if (first < last) {
                std::memmove(targetRow + first, sourceRow + (s0.x + first - t0.x),
                             static_cast<std::size_t>(last - first) * sizeof(std::uint32_t));
            }
            continue;
        }
        for (int tx = left; tx < right; ++tx) {
            const long fx = s0.x + (tx - t0.x) * sws / tw;
            if (fx >= 0 && fx < from.DeviceWidth()) {
                targetRow[tx] = sourceRow[fx];
            }
        }
    }
    to.EndPixels();
    return 1;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy,
            std::uint32_t rop) {
    return StretchBlt(target, x, y, width, height, source, sx, sy, width, height, rop);
}

}  // namespace qv
