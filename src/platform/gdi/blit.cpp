#include "platform/gdi/blit.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

// Where the source area lands on the target, in device pixels.
struct Mapping {
    POINT target;  // the target area's corner
    POINT source;  // the source area's corner
    long targetWidth;
    long targetHeight;
    long sourceWidth;
    long sourceHeight;
};

// Copies the part of the target area inside `clip`.
void CopyPart(Bitmap& to, const Bitmap& from, const Mapping& m, const RECT& clip) {
    const POINT t0 = m.target;
    const POINT s0 = m.source;
    const int left = std::max<long>(clip.left, t0.x);
    const int right = static_cast<int>(std::min<long>(clip.right, t0.x + m.targetWidth));
    const int top = std::max<long>(clip.top, t0.y);
    const int bottom = static_cast<int>(std::min<long>(clip.bottom, t0.y + m.targetHeight));
    // Within one bitmap, copy rows in the order that never reads a row already overwritten.
    const bool upwards = &to == &from && t0.y > s0.y;
    for (int row = 0; row < bottom - top; ++row) {
        const int ty = upwards ? bottom - 1 - row : top + row;
        const long fy = s0.y + (ty - t0.y) * m.sourceHeight / m.targetHeight;
        if (fy < 0 || fy >= from.DeviceHeight()) {
            continue;
        }
        const std::uint32_t* sourceRow = from.Row(static_cast<int>(fy));
        std::uint32_t* targetRow = to.Row(ty);
        if (m.targetWidth == m.sourceWidth) {
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
            const long fx = s0.x + (tx - t0.x) * m.sourceWidth / m.targetWidth;
            if (fx >= 0 && fx < from.DeviceWidth()) {
                targetRow[tx] = sourceRow[fx];
            }
        }
    }
}

}  // namespace

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
    const Mapping mapping{target->ToDevice({x, y}),      source->ToDevice({sx, sy}),
                          static_cast<long>(width) * tk, static_cast<long>(height) * tk,
                          static_cast<long>(sw) * sk,    static_cast<long>(sh) * sk};
    const ClipRegion clip = target->DeviceClip();
    from.Flush();
    to.BeginPixels();
    if (&to == &from && clip.Rectangles().size() > 1) {
        // One part's copy could overwrite what another reads: read from the pixels as they were.
        Bitmap before(from.Width(), from.Height(), from.Scale());
        for (int row = 0; row < from.DeviceHeight(); ++row) {
            std::copy_n(from.Row(row), from.DeviceWidth(), before.Row(row));
        }
        for (const RECT& part : clip.Rectangles()) {
            CopyPart(to, before, mapping, part);
        }
    } else {
        for (const RECT& part : clip.Rectangles()) {
            CopyPart(to, from, mapping, part);
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
