#include "platform/gdi/shapes.h"

#include <algorithm>
#include <utility>

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
    cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    // Through the centres of the logical pixels.
    const double centre = dc->Scale() / 2.0;
    for (int i = 0; i < count; ++i) {
        const POINT p = dc->ToDevice(points[i]);
        if (i == 0) {
            cairo_move_to(context, p.x + centre, p.y + centre);
        } else {
            cairo_line_to(context, p.x + centre, p.y + centre);
        }
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
