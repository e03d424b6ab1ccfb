#include "platform/gdi/shapes.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gdi/raster.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/segment_clip.h"

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
    const ClipRegion clip = dc->DeviceClip();
    const RECT rows = clip.Bounds();
    const int pen = DevicePenWidth(dc);
    // An even width puts its extra pixel outside, so that a two-pixel frame shows around a disc
    // drawn on the same box; the split is made in logical pixels and then scaled.
    const int logicalPen = pen / dc->Scale();
    const int outside = (logicalPen / 2) * dc->Scale();
    const int inside = pen - outside;
    if (dc->brush && !dc->brush->null) {
        raster::Fill(*dc->bitmap, clip, makeRuns(raster::Grown(box, -inside), rows),
                     dc->brush->colour);
    }
    if (pen > 0) {
        const raster::Runs band = raster::Difference(makeRuns(raster::Grown(box, outside), rows),
                                                     makeRuns(raster::Grown(box, -inside), rows));
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

// Drawing a long polyline as one stroke costs more than in proportion to its length; pieces of
// this many points, each beginning a segment before the last one ended, draw the same pixels.
constexpr std::size_t kPiecePoints = 256;

double DistanceToSegment(double x, double y, const DevicePoint& a, const DevicePoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// Whether a round-ended stroke of the segment covers every pixel of the clip, with a pixel to
// spare for the polygon that approximates its ends.
bool CoversClip(const DevicePoint& a, const DevicePoint& b, int width, const RECT& clip) {
    const double reach = width / 2.0 - 1;
    for (const auto& [x, y] :
         {std::pair{clip.left, clip.top}, std::pair{clip.right, clip.top},
          std::pair{clip.left, clip.bottom}, std::pair{clip.right, clip.bottom}}) {
        if (DistanceToSegment(x, y, a, b) > reach) {
            return false;
        }
    }
    return true;
}

// Strokes the polyline in pieces and only where it can touch the clip: a segment is cut to the
// clip grown by more than half the pen, so what is left out lies wholly outside, and Cairo's
// coordinates stay within its fixed-point range however far the points lie.
class PieceStroker {
  public:
    PieceStroker(cairo_t* context, const RECT& clip, int width)
        : context_(context),
          left_(clip.left - width / 2.0 - 2),
          top_(clip.top - width / 2.0 - 2),
          right_(clip.right + width / 2.0 + 2),
          bottom_(clip.bottom + width / 2.0 + 2) {}

    void Segment(const DevicePoint& a, const DevicePoint& b) {
        const std::optional<SegmentSpan> span =
            ClipSegment(a.x, a.y, b.x - a.x, b.y - a.y, {left_, top_, right_, bottom_});
        if (!span) {
            Flush();
            return;
        }
        const double t0 = span->enter;
        const double t1 = span->leave;
        const DevicePoint from{a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)};
        const DevicePoint to{a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)};
        if (t0 > 0) {
            Flush();
        }
        if (piece_.empty()) {
            piece_.push_back(from);
        }
        piece_.push_back(to);
        if (t1 < 1) {
            Flush();
        } else if (piece_.size() >= kPiecePoints) {
            // The next piece begins one segment back, so that it makes the join at `to` exactly
            // as one stroke would.
            const DevicePoint before = piece_[piece_.size() - 2];
            Flush();
            piece_ = {before, to};
        }
    }

    void Flush() {
        if (piece_.size() >= 2) {
            cairo_move_to(context_, piece_[0].x, piece_[0].y);
            for (std::size_t i = 1; i < piece_.size(); ++i) {
                cairo_line_to(context_, piece_[i].x, piece_[i].y);
            }
            cairo_stroke(context_);
        }
        piece_.clear();
    }

  private:
    cairo_t* context_;
    double left_;
    double top_;
    double right_;
    double bottom_;
    std::vector<DevicePoint> piece_;
};

void StrokeWide(HDC dc, const POINT* points, int count, int width) {
    const ClipRegion clip = dc->DeviceClip();
    if (clip.Empty()) {
        return;
    }
    const RECT bounds = clip.Bounds();
    const bool flat = (dc->pen->style & PS_ENDCAP_MASK) == PS_ENDCAP_FLAT;
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
    } else {
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            if (CoversClip(path[i], path[i + 1], width, bounds)) {
                // One colour over the whole clip: the rest of the line would change nothing.
                raster::Fill(*dc->bitmap, clip, raster::BoxRuns(bounds, bounds), dc->pen->colour);
                return;
            }
        }
    }
    cairo_t* context = cairo_create(dc->bitmap->Surface());
    ClipContext(context, clip);
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    const COLORREF colour = dc->pen->colour;
    cairo_set_source_rgb(context, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                         GetBValue(colour) / 255.0);
    cairo_set_line_width(context, width);
    cairo_set_line_cap(context, flat ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    PieceStroker stroker(context, bounds, width);
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        stroker.Segment(path[i], path[i + 1]);
    }
    stroker.Flush();
    cairo_destroy(context);
}

// The brush's and the pen's pixels of one ellipse.
struct EllipseShape {
    raster::Runs fill;
    raster::Runs band;
    bool placed = false;  // at the ellipse's place; else from its outer box's corner
};

// The shapes of a sequence of ellipses: those of a size met before are taken from the last few
// sizes seen, measured from the outer box's corner; those taller than the clip are made in place,
// for the clip's rows only.
class EllipseShapes {
  public:
    explicit EllipseShapes(const RECT& clip) : clip_(clip) {}

    const EllipseShape& Of(const RECT& box, int outside, int inside) {
        const RECT outer = raster::Grown(box, outside);
        if (outer.bottom - outer.top > 2 * (clip_.bottom - clip_.top)) {
            placed_ = Make(box, outside, inside, clip_);
            placed_.placed = true;
            return placed_;
        }
        const Key key{box.right - box.left, box.bottom - box.top, outside, inside};
        for (Entry& entry : recent_) {
            if (entry.key == key) {
                return entry.shape;
            }
        }
        const RECT atCorner{outside, outside, outside + key.width, outside + key.height};
        const RECT allRows = raster::Grown(atCorner, outside);
        if (recent_.size() == kRecentSizes) {
            recent_.erase(recent_.begin());
        }
        recent_.push_back({key, Make(atCorner, outside, inside, allRows)});
        return recent_.back().shape;
    }

  private:
    static constexpr std::size_t kRecentSizes = 8;
    struct Key {
        int width;
        int height;
        int outside;
        int inside;
        bool operator==(const Key&) const = default;
    };
    struct Entry {
        Key key;
        EllipseShape shape;
    };

    static EllipseShape Make(const RECT& box, int outside, int inside, const RECT& rows) {
        EllipseShape shape;
        shape.fill = raster::EllipseRuns(raster::Grown(box, -inside), rows);
        shape.band =
            raster::Difference(raster::EllipseRuns(raster::Grown(box, outside), rows), shape.fill);
        return shape;
    }

    RECT clip_;
    std::vector<Entry> recent_;
    EllipseShape placed_;
};

}  // namespace

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return DrawClosedShape(dc, DeviceBox(dc, left, top, right, bottom), raster::BoxRuns);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return DrawClosedShape(dc, DeviceBox(dc, left, top, right, bottom), raster::EllipseRuns);
}

BOOL Ellipses(HDC dc, std::span<const EllipseStep> steps) {
    if (!dc || !dc->bitmap) {
        return 0;
    }
    const ClipRegion clip = dc->DeviceClip();
    if (clip.Empty()) {
        return 1;
    }
    const RECT bounds = clip.Bounds();
    const int k = dc->Scale();
    raster::CoverMask written(clip);
    EllipseShapes shapes(bounds);
    Bitmap& bitmap = *dc->bitmap;
    bitmap.BeginPixels();
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        // The pen split as DrawClosedShape splits it.
        const int logicalPen = std::clamp(step->penWidth, 1, kMaxPenWidth);
        const int outside = (logicalPen / 2) * k;
        const int inside = logicalPen * k - outside;
        const RECT box =
            DeviceBox(dc, step->box.left, step->box.top, step->box.right, step->box.bottom);
        const RECT outer = raster::Grown(box, outside);
        if (outer.right <= bounds.left || outer.left >= bounds.right ||
            outer.bottom <= bounds.top || outer.top >= bounds.bottom) {
            continue;
        }
        if (written.Covered(outer.top, outer.bottom)) {
            continue;
        }
        const EllipseShape& shape = shapes.Of(box, outside, inside);
        const POINT shift = shape.placed ? POINT{0, 0} : POINT{outer.left, outer.top};
        const std::uint32_t brush = PixelOf(step->brush);
        for (const raster::Run& run : shape.fill) {
            written.Fill(bitmap, {run.y + shift.y, run.left + shift.x, run.right + shift.x}, brush);
        }
        const std::uint32_t pen = PixelOf(step->pen);
        for (const raster::Run& run : shape.band) {
            written.Fill(bitmap, {run.y + shift.y, run.left + shift.x, run.right + shift.x}, pen);
        }
    }
    bitmap.EndPixels();
    return 1;
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
    const ClipRegion clip = dc->DeviceClip();
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
        const ClipRegion clip = dc->DeviceClip();
        raster::Fill(
            *dc->bitmap, clip,
            raster::BoxRuns(DeviceBox(dc, rect->left, rect->top, rect->right, rect->bottom),
                            clip.Bounds()),
            brush->colour);
    }
    return 1;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
    if (!dc || !dc->bitmap) {
        return CLR_INVALID;
    }
    const POINT p = dc->ToDevice({x, y});
    const int k = dc->Scale();
    raster::Fill(*dc->bitmap, dc->DeviceClip(),
                 raster::BoxRuns({p.x, p.y, p.x + k, p.y + k}, {p.x, p.y, p.x + k, p.y + k}),
                 colour);
    return colour;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    if (!dc || !dc->bitmap) {
        return CLR_INVALID;
    }
    const POINT p = dc->ToDevice({x, y});
    if (dc->clip) {
        const ClipRegion clip = dc->DeviceClip();
        const auto inside = [p](const RECT& r) { return rect::Contains(r, p); };
        if (std::none_of(clip.Rectangles().begin(), clip.Rectangles().end(), inside)) {
            return CLR_INVALID;
        }
    }
    return dc->bitmap->GetPixel(p.x, p.y);
}

}  // namespace qv
