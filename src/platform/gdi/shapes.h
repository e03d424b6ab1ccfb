#pragma once

#include <span>

#include "platform/gdi/device_context.h"

namespace qv {

// Outline with the current pen, fill with the current brush. The right and bottom edges are
// outside the shape; a pen wider than one pixel is centred on the outline.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// One ellipse of a sequence, with its own solid pen and solid brush.
struct EllipseStep {
    RECT box;  // as for Ellipse
    int penWidth = 1;
    COLORREF pen = 0;
    COLORREF brush = 0;
};
// The ellipses in order, each as Ellipse draws it with a solid pen and brush of its own; but each
// device pixel is written once, by the last ellipse that covers it, so that a pile of them costs
// no more than the pixels it covers and its ellipses' rows.
BOOL Ellipses(HDC dc, std::span<const EllipseStep> steps);
// Straight segments through the points with the current pen. A one-pixel pen leaves out the
// last point, as a line to a point always has; wider pens have round joins and round ends, or
// flat ones at the points themselves when their style has PS_ENDCAP_FLAT.
BOOL Polyline(HDC dc, const POINT* points, int count);
inline BOOL Polyline(HDC dc, std::span<const POINT> points) {
    return Polyline(dc, points.data(), static_cast<int>(points.size()));
}
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// What a pixel query answers outside the bitmap or its clip.
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
// The colour of the logical pixel; CLR_INVALID where drawing could not reach (outside the clip).
COLORREF GetPixel(HDC dc, int x, int y);

}  // namespace qv
