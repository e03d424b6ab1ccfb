#include "render/scheme_renderer.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "render/scheme_view.h"
#include "render/station_labels.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

bool IsSolidKind(std::int16_t kind) {
    return kind == kStationKind || kind == kShapePointKind;
}

POINT Scaled(const Station& point, int x0, int y0, int s) {
    return {Held(x0 + std::int64_t{s} * point.x), Held(y0 + std::int64_t{s} * point.y)};
}

// Beyond this many dashes in one segment, only those near the image are drawn.
constexpr std::int64_t kManyDashes = 4096;

std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
std::int64_t CeilDivide(std::int64_t a, std::int64_t b) {
    return -FloorDivide(-a, b);
}

// Narrows [first, last] to the steps k at which origin + 2 k step lies in [low, high].
void NarrowToRange(std::int64_t origin, std::int64_t step, std::int64_t low, std::int64_t high,
                   std::int64_t& first, std::int64_t& last) {
    if (step == 0) {
        if (origin < low || origin > high) {
            last = first - 1;
        }
        return;
    }
    const std::int64_t a =
        step > 0 ? CeilDivide(low - origin, 2 * step) : CeilDivide(high - origin, 2 * step);
    const std::int64_t b =
        step > 0 ? FloorDivide(high - origin, 2 * step) : FloorDivide(low - origin, 2 * step);
    first = std::max(first, a);
    last = std::min(last, b);
}

Disc CircleAt(POINT centre, int radius, int penWidth, COLORREF pen, COLORREF brush) {
    return {{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius},
            penWidth,
            pen,
            brush};
}

// The width of a pen as the platform draws it.
constexpr int kWidestPen = 4096;
int UsedPen(int width) {
    return std::clamp(width, 1, kWidestPen);
}

// The centres met so far among those from which a disc can touch the image, one bit each.
class PlaceSet {
  public:
    // Discs reaching `reach` from their centre, over an image of width x height.
    PlaceSet(int width, int height, std::int64_t reach)
        : left_(-reach), top_(-reach), columns_(width + 2 * reach), rows_(height + 2 * reach) {
        if (columns_ > 0 && rows_ > 0 && columns_ * rows_ <= kMostBits) {
            bits_.assign(static_cast<std::size_t>(columns_ * rows_), false);
        }
    }
    // False when the centre was met before; always true where the set keeps no bits.
    bool Insert(POINT centre) {
        const std::int64_t column = centre.x - left_;
        const std::int64_t row = centre.y - top_;
        if (bits_.empty() || column < 0 || row < 0 || column >= columns_ || row >= rows_) {
            return true;
        }
        const auto bit = static_cast<std::size_t>(row * columns_ + column);
        if (bits_[bit]) {
            return false;
        }
        bits_[bit] = true;
        return true;
    }

  private:
    // Beyond this the discs are so large that hardly any place repeats; 8 MB.
    static constexpr std::int64_t kMostBits = std::int64_t{1} << 26;
    std::int64_t left_;
    std::int64_t top_;
    std::int64_t columns_;
    std::int64_t rows_;
    std::vector<bool> bits_;
};

// Circles of the radius at both ends of every transfer, outlined in the pen colour. A map may
// list millions: they are walked last first, so that each place is kept once, at its last
// occurrence (which paints over the earlier ones), and none before the last disc that covers
// the image.
void AddTransferCircles(const NetworkModel& model, int s, COLORREF penColour, int radius,
                        DiscLayer& layer) {
    const int penWidth = Held(std::int64_t{model.outlineWidth} * s);
    const auto discAt = [&](POINT centre) {
        return CircleAt(centre, radius, penWidth, penColour, kWhite);
    };
    PlaceSet met(layer.Width(), layer.Height(),
                 std::abs(std::int64_t{radius}) + UsedPen(penWidth) / 2 + 2);
    std::vector<POINT> kept;
    bool covered = false;
    for (auto transfer = model.transfers.rbegin(); transfer != model.transfers.rend() && !covered;
         ++transfer) {
        for (const auto& [x, y] :
             {std::pair{transfer->x2, transfer->y2}, std::pair{transfer->x1, transfer->y1}}) {
            const POINT centre{Held(model.originX + std::int64_t{s} * x),
                               Held(model.originY + std::int64_t{s} * y)};
            const Disc disc = discAt(centre);
            if (!layer.Touches(disc) || !met.Insert(centre)) {
                continue;
            }
            kept.push_back(centre);
            if (layer.CoversImage(disc)) {
                covered = true;
                break;
            }
        }
    }
    for (auto centre = kept.rbegin(); centre != kept.rend(); ++centre) {
        layer.Add(discAt(*centre));
    }
}

std::uint64_t HashOf(const Disc& disc) {
    std::uint64_t hash = 0;
    for (const std::int64_t value :
         {std::int64_t{disc.box.left}, std::int64_t{disc.box.top}, std::int64_t{disc.box.right},
          std::int64_t{disc.box.bottom}, std::int64_t{disc.penWidth}, std::int64_t{disc.pen},
          std::int64_t{disc.brush}}) {
        hash = (hash ^ static_cast<std::uint64_t>(value)) * 0x9E3779B97F4A7C15ULL;
        hash ^= hash >> 29;
    }
    // Every bit of the fields stirred into the low bits, which pick the slot.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    hash ^= hash >> 33;
    return hash;
}

// The departure or destination marker at its station.
void DrawEndMarker(const NetworkModel& model, const Station* station, int bitmapId,
                   DrawingSurface& surface, bool onScreen) {
    if (!station) {
        return;
    }
    const int s = CurrentScale(model);
    const int x0 = Held(std::int64_t{model.originX} + (onScreen ? model.viewX : 0));
    const int y0 = Held(std::int64_t{model.originY} + (onScreen ? model.viewY : 0));
    const POINT centre = Scaled(*station, x0, y0, s);
    surface.StretchBitmap(bitmapId, centre.x - 5 * s, centre.y - 5 * s, 10 * s, 10 * s);
}

}  // namespace

void BuildSchemeImage(NetworkModel& model, const LOGFONTW& fontTemplate, DrawingSurface& surface) {
    if (model.settings.saveZoom && model.settings.savedZoom > 1) {
        model.zoomFactor = model.settings.savedZoom;
        model.zoomed = true;
    }
    const int s = CurrentScale(model);
    if (!model.zoomed) {
        model.viewX = 0;
        model.viewY = 0;
    }
    const int width = kViewWidth * s;
    const int height = kViewHeight * s;
    std::unique_ptr<SchemeImageSurface> image = surface.CreateImage(width, height);
    DrawingSurface& canvas = image->Surface();
    {
        PenScope pen(canvas, 1, kWhite);
        BrushScope brush(canvas, kWhite);
        canvas.Rectangle(0, 0, width, height);
    }
    for (const auto& line : model.Lines()) {
        DrawLine(*line, canvas, model.originX, model.originY, s);
    }
    {
        DiscLayer discs(width, height);
        // All rims before any core: overlapping transfer circles merge into one white area.
        AddTransferRims(model, s, discs);
        AddTransferCores(model, s, discs);
        for (const auto& line : model.Lines()) {
            AddStationMarkers(*line, discs, model.originX, model.originY, s, model.stationStyle);
        }
        discs.DrawOn(canvas);
    }
    if (model.settings.showStationNames) {
        DrawStationLabels(model, fontTemplate, canvas);
    }
    if (model.settings.routeShowLine && !model.settings.routeBlink) {
        DrawRoute(model, canvas, false);
        DrawDepartureMarker(model, canvas, false);
        DrawDestinationMarker(model, canvas, false);
        for (const auto& line : model.Lines()) {
            DrawForbiddenMarkers(*line, canvas, model.originX, model.originY, s);
        }
    }
    model.memoryDc = std::move(image);
}

void DrawLine(const Line& line, DrawingSurface& surface, int x0, int y0, int s) {
    const int n = line.StationCount();
    if (n <= 1) {
        return;
    }
    int first = 0;
    while (first < n && !IsSolidKind(line.stations[static_cast<std::size_t>(first)]->kind)) {
        ++first;
    }
    int last = n - 1;
    while (last >= 0 && !IsSolidKind(line.stations[static_cast<std::size_t>(last)]->kind)) {
        --last;
    }
    if (first == n) {
        // Without a station or shape point the whole line is solid.
        first = 0;
        last = n - 1;
    }
    std::vector<POINT> points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = first; i <= last; ++i) {
        points.push_back(Scaled(*line.stations[static_cast<std::size_t>(i)], x0, y0, s));
    }
    if (line.isRing) {
        points.push_back(Scaled(*line.stations.front(), x0, y0, s));
    }
    const int width = Held(std::int64_t{line.lineWidth} * s);
    {
        PenScope pen(surface, width, line.colour);
        surface.Polyline(points);
    }
    if (first == 0 && last == n - 1) {
        return;
    }
    // Round ends would lengthen every dash by the pen's width and close the gaps.
    PenScope dashPen(surface, width, line.colour, PenEnds::Flat);
    for (int j = 0; j < first; ++j) {
        DrawDashedSegment(*line.stations[static_cast<std::size_t>(j)],
                          *line.stations[static_cast<std::size_t>(j) + 1], surface, x0, y0, s);
    }
    for (int j = last; j >= 0 && j < n - 1; ++j) {
        DrawDashedSegment(*line.stations[static_cast<std::size_t>(j)],
                          *line.stations[static_cast<std::size_t>(j) + 1], surface, x0, y0, s);
    }
}

void DrawDashedSegment(const Station& from, const Station& to, DrawingSurface& surface, int x0,
                       int y0, int s) {
    const std::int64_t dx = (std::int64_t{to.x} - from.x) * s;
    const std::int64_t dy = (std::int64_t{to.y} - from.y) * s;
    const double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    // In double: exact for any sane map, and no overflow for distant points.
    const double length = std::sqrt(static_cast<double>(dx) * static_cast<double>(dx) +
                                    static_cast<double>(dy) * static_cast<double>(dy));
    auto dashes = static_cast<std::int64_t>(length * (1.0 / (3 * s)));
    if (dashes == 0) {
        dashes = 1;
    }
    const auto ddx = static_cast<int>(std::cos(angle) * 3 * s);
    const auto ddy = static_cast<int>(std::sin(angle) * 3 * s);
    const std::int64_t count = (dashes - 1) / 2 + 1;
    const POINT start = Scaled(from, x0, y0, s);
    std::int64_t first = 0;
    std::int64_t last = count - 1;
    if (count > kManyDashes) {
        // Only the dashes near the image: a segment of absurd length costs what the image does.
        const std::int64_t margin = kManyDashes;
        NarrowToRange(start.x, ddx, -margin, std::int64_t{kViewWidth} * s + margin, first, last);
        NarrowToRange(start.y, ddy, -margin, std::int64_t{kViewHeight} * s + margin, first, last);
    }
    for (std::int64_t k = first; k <= last; ++k) {
        const POINT a{Held(start.x + 2 * k * ddx), Held(start.y + 2 * k * ddy)};
        const POINT dash[] = {a, {a.x + ddx, a.y + ddy}};
        surface.Polyline(dash);
    }
}

DiscLayer::DiscLayer(int width, int height) : width_(width), height_(height) {}

bool DiscLayer::Touches(const Disc& disc) const {
    const std::int64_t reach = UsedPen(disc.penWidth) / 2 + 1;
    const std::int64_t left = std::min(disc.box.left, disc.box.right) - reach;
    const std::int64_t right = std::max(disc.box.left, disc.box.right) + reach;
    const std::int64_t top = std::min(disc.box.top, disc.box.bottom) - reach;
    const std::int64_t bottom = std::max(disc.box.top, disc.box.bottom) + reach;
    return right > 0 && left < width_ && bottom > 0 && top < height_;
}

bool DiscLayer::CoversImage(const Disc& disc) const {
    // The brush's ellipse, a pixel inside its edge, must hold every corner of the image.
    const int pen = UsedPen(disc.penWidth);
    const double inside = pen - pen / 2 + 1;
    const double a = std::abs(static_cast<double>(disc.box.right) - disc.box.left) / 2 - inside;
    const double b = std::abs(static_cast<double>(disc.box.bottom) - disc.box.top) / 2 - inside;
    if (a <= 0 || b <= 0) {
        return false;
    }
    const double cx = (static_cast<double>(disc.box.left) + disc.box.right) / 2;
    const double cy = (static_cast<double>(disc.box.top) + disc.box.bottom) / 2;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{width_, 0}, std::pair{0, height_},
                               std::pair{width_, height_}}) {
        const double u = (x - cx) / a;
        const double v = (y - cy) / b;
        if (u * u + v * v > 1) {
            return false;
        }
    }
    return true;
}

std::size_t DiscLayer::SlotOf(const Disc& disc) const {
    const std::size_t mask = table_.size() - 1;
    for (std::size_t slot = HashOf(disc) & mask;; slot = (slot + 1) & mask) {
        if (table_[slot] == 0 || discs_[table_[slot] - 1] == disc) {
            return slot;
        }
    }
}

void DiscLayer::Rebuild() {
    std::vector<Disc> kept;
    kept.reserve(discs_.size() - dead_);
    for (std::size_t i = 0; i < discs_.size(); ++i) {
        if (alive_[i]) {
            kept.push_back(discs_[i]);
        }
    }
    discs_ = std::move(kept);
    alive_.assign(discs_.size(), true);
    dead_ = 0;
    std::size_t size = 1024;
    while (size < 4 * discs_.size()) {
        size *= 2;
    }
    table_.assign(size, 0);
    usedSlots_.clear();
    for (std::size_t i = 0; i < discs_.size(); ++i) {
        const std::size_t slot = SlotOf(discs_[i]);
        table_[slot] = static_cast<std::uint32_t>(i + 1);
        usedSlots_.push_back(slot);
    }
}

void DiscLayer::Add(const Disc& disc) {
    if (!Touches(disc)) {
        return;
    }
    if (CoversImage(disc)) {
        for (const std::size_t slot : usedSlots_) {
            table_[slot] = 0;
        }
        usedSlots_.clear();
        discs_.clear();
        alive_.clear();
        dead_ = 0;
    }
    if (2 * discs_.size() + 2 > table_.size()) {
        Rebuild();
    }
    const std::size_t slot = SlotOf(disc);
    if (table_[slot] != 0) {
        // The later copy paints the same pixels in the same colours over whatever the earlier did.
        alive_[table_[slot] - 1] = false;
        ++dead_;
    } else {
        usedSlots_.push_back(slot);
    }
    discs_.push_back(disc);
    alive_.push_back(true);
    table_[slot] = static_cast<std::uint32_t>(discs_.size());
}

void DiscLayer::DrawOn(DrawingSurface& surface) {
    Rebuild();
    surface.Discs(discs_);
    discs_.clear();
    alive_.clear();
    table_.clear();
    usedSlots_.clear();
}

void AddTransferRims(const NetworkModel& model, int s, DiscLayer& layer) {
    AddTransferCircles(model, s, kBlack,
                       Held((std::int64_t{model.stationRadius} + model.outlineWidth) * s), layer);
}

void AddTransferCores(const NetworkModel& model, int s, DiscLayer& layer) {
    AddTransferCircles(model, s, kWhite, Held(std::int64_t{model.stationRadius} * s), layer);
}

void AddStationMarkers(const Line& line, DiscLayer& layer, int x0, int y0, int s, int style) {
    if (line.StationCount() <= 1) {
        return;
    }
    const int outline = Held(std::int64_t{line.outlineWidth} * s);
    const bool filled = style == 1;
    const int stationRadius = Held(
        (filled ? std::int64_t{line.stationRadius} : std::int64_t{line.stationRadius} - 1) * s);
    const int outerRadius = Held(std::int64_t{line.stationRadius} * s);
    const int innerRadius = Held((std::int64_t{line.stationRadius} - line.outlineWidth) * s);
    for (const auto& point : line.stations) {
        const POINT centre = Scaled(*point, x0, y0, s);
        if (point->kind == kStationKind || point->kind == kForbiddenKind) {
            layer.Add(CircleAt(centre, stationRadius, outline, filled ? kWhite : line.colour,
                               filled ? line.colour : kWhite));
        } else if (point->kind == kMarkedPointKind) {
            layer.Add(CircleAt(centre, outerRadius, outline, kWhite, line.colour));
            layer.Add(
                CircleAt(centre, innerRadius, outline, line.colour, filled ? kWhite : kLightGrey));
        }
    }
}

void DrawRoute(const NetworkModel& model, DrawingSurface& surface, bool onScreen) {
    if (model.route.size() <= 1) {
        return;
    }
    const int s = CurrentScale(model);
    const int x0 = Held(std::int64_t{model.originX} + (onScreen ? model.viewX : 0));
    const int y0 = Held(std::int64_t{model.originY} + (onScreen ? model.viewY : 0));
    std::vector<POINT> points;
    points.reserve(model.route.size());
    for (const Station* point : model.route) {
        points.push_back(Scaled(*point, x0, y0, s));
    }
    PenScope pen(surface, Held(std::int64_t{model.lineWidth} * s), model.routeColour);
    surface.Polyline(points);
}

void DrawDepartureMarker(const NetworkModel& model, DrawingSurface& surface, bool onScreen) {
    DrawEndMarker(model, model.departure, IDB_DEPARTURE_MARKER, surface, onScreen);
}

void DrawDestinationMarker(const NetworkModel& model, DrawingSurface& surface, bool onScreen) {
    DrawEndMarker(model, model.destination, IDB_DESTINATION_MARKER, surface, onScreen);
}

void DrawForbiddenMarkers(const Line& line, DrawingSurface& surface, int x0, int y0, int s) {
    if (line.StationCount() <= 1) {
        return;
    }
    for (const auto& point : line.stations) {
        if (point->kind == kForbiddenKind) {
            surface.StretchBitmap(
                IDB_FORBIDDEN_MARKER, Held(x0 + std::int64_t{s} * (std::int64_t{point->x} - 5)),
                Held(y0 + std::int64_t{s} * (std::int64_t{point->y} - 5)), 10 * s, 10 * s);
        }
    }
}

}  // namespace qv
