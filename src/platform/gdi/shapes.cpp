#include "platform/gdi/shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/gdi/raster.h"

namespace qv {

namespace {

// The box in device pixels, corners put in order.
RECT DeviceBox(HDC dc, int left, int top, int right, int bottom) {
    const POINT a = dc->ToDevice({std::min(left, right), std::min(top, bottom)});
    const POINT b = dc->ToDevice({std::max(left, right), std::max(top, bottom)});
    return {a.x, a.y, b.x, b.y};
}

// Wider pens than this cover any surface anyway.
constexpr int kMaxPenWidth = 4096;

int DevicePenWidth(HDC dc) {
    if (!dc->pen || dc->pen->null) {
        return 0;
    }
    return std::clamp(dc->pen->width, 1, kMaxPenWidth) * dc->Scale();
}

// Fills the inside with the brush, then the pen's band: the shape grown by half the pen width
// minus the shape shrunk by the rest.
template <typename MakeRuns>
BOOL DrawClosedShape(HDC dc, const RECT& box, MakeRuns makeRuns) {
    if (!dc || !dc->bitmap) {
        return 0;
    }
    const RECT clip = dc->DeviceClip();
    const int pen = DevicePenWidth(dc);
    // An even width puts its extra pixel outside, so that a two-pixel frame shows around a disc
    // drawn on the same box; the split is made in logical pixels and then scaled.
    const int logicalPen = pen / dc->Scale();
    const int outside = (logicalPen / 2) * dc->Scale();
    const int inside = pen - outside;
    if (dc->brush && !dc->brush->null) {
        raster::Fill(*dc->bitmap, clip, makeRuns(raster::Grown(box, -inside), clip),
                     dc->brush->colour);
    }
    if (pen > 0) {
        const raster::Runs band = raster::Difference(makeRuns(raster::Grown(box, outside), clip),
                                                     makeRuns(raster::Grown(box, -inside), clip));
        raster::Fill(*dc->bitmap, clip, band, dc->pen->colour);
    }
    return 1;
}

struct DevicePoint {
    double x;
    double y;
};

// Moves `end` by `distance` away from `towards`, along the line through both.
void StepBack(DevicePoint& end, const DevicePoint& towards, double distance) {
    const double dx = towards.x - end.x;
    const double dy = towards.y - end.y;
    const double length = std::hypot(dx, dy);
    if (length > 0) {
        end.x -= dx / length * distance;
        end.y -= dy / length * distance;
    }
}

void StrokeWide(HDC dc, const POINT* points, int count, int width) {
    cairo_t* context = cairo_create(dc->bitmap->Surface());
    const RECT clip = dc->DeviceClip();
    cairo_rectangle(context, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(context);
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    const COLORREF colour = dc->pen->colour;
    cairo_set_source_rgb(context, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                         GetBValue(colour) / 255.0);
    cairo_set_line_width(context, width);
    const bool flat = (dc->pen->style & PS_ENDCAP_MASK) == PS_ENDCAP_FLAT;
    cairo_set_line_cap(context, flat ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    // Through the centres of the logical pixels.
    const double centre = dc->Scale() / 2.0;
    std::vector<DevicePoint> path(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const POINT p = dc->ToDevice(points[i]);
        path[static_cast<std::size_t>(i)] = {p.x + centre, p.y + centre};
    }
    if (flat) {
        // Half a pixel back along the stroke at both ends: a flat end then covers the pixels a
        // one-pixel line does, its first point and not its last, at every device scale.
        StepBack(path[0], path[1], centre);
        StepBack(path[path.size() - 1], path[path.size() - 2], -centre);
    }
    cairo_move_to(context, path[0].x, path[0].y);
    for (std::size_t i = 1; i < path.size(); ++i) {
        cairo_line_to(context, path[i].x, path[i].y);
    }
    cairo_stroke(context);
    cairo_destroy(context);
}

}  // namespace

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return DrawClosedShape(dc, DeviceBox(dc, left, top, right, bottom), raster::BoxRuns);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return DrawClosedShape(dc, DeviceBox(dc, left, top, right, bottom), raster::EllipseRuns);
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    if (!dc || !points || count < 2) {
        return 0;
    }
    const int width = DevicePenWidth(dc);
    if (!dc->bitmap || width == 0) {
        return 1;
    }
    if (width > 1) {
        StrokeWide(dc, points, count, width);
        return 1;
    }
    const RECT clip = dc->DeviceClip();
    for (int i = 0; i + 1 < count; ++i) {
        raster::Line(*dc->bitmap, clip, dc->ToDevice(points[i]), dc->ToDevice(points[i + 1]),
                     dc->pen->colour);
    }
    return 1;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!dc || !rect || !brush) {
        return 0;
    }
    if (dc->bitmap && !brush->null) {
        raster::Fill(
            *dc->bitmap, dc->DeviceClip(),
            raster::BoxRuns(DeviceBox(dc, rect->left, rect->top, rect->right, rect->bottom),
                            dc->DeviceClip()),
            brush->colour);
    }
    return 1;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
    if (!dc || !dc->bitmap) {
        return 0xFFFFFFFF;
    }
    const POINT p = dc->ToDevice({x, y});
    const int k = dc->Scale();
    raster::Fill(*dc->bitmap, dc->DeviceClip(),
                 raster::BoxRuns({p.x, p.y, p.x + k, p.y + k}, dc->DeviceClip()), colour);
    return colour;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    if (!dc || !dc->bitmap) {
        return 0xFFFFFFFF;
    }
    const POINT p = dc->ToDevice({x, y});
    return dc->bitmap->GetPixel(p.x, p.y);
}

}  // namespace qv
