#include "render/scheme_renderer.h"

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

void Circle(DrawingSurface& surface, POINT centre, int radius) {
    surface.Ellipse(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
}

// White circles of the radius at both ends of the transfer, outlined in the pen colour.
void DrawTransferCircles(const NetworkModel& model, const Transfer& transfer, int s,
                         COLORREF penColour, int radius, DrawingSurface& surface) {
    PenScope pen(surface, Held(std::int64_t{model.outlineWidth} * s), penColour);
    BrushScope brush(surface, kWhite);
    for (const auto& [x, y] :
         {std::pair{transfer.x1, transfer.y1}, std::pair{transfer.x2, transfer.y2}}) {
        Circle(
            surface,
            {Held(model.originX + std::int64_t{s} * x), Held(model.originY + std::int64_t{s} * y)},
            radius);
    }
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

SchemeImageSurface* SchemeImageOf(const NetworkModel& model) {
    return dynamic_cast<SchemeImageSurface*>(model.memoryDc.get());
}

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
    // All rims before any core: overlapping transfer circles merge into one white area.
    for (std::size_t i = 0; i < model.transfers.size(); ++i) {
        DrawTransferRims(model, i, s, canvas);
    }
    for (std::size_t i = 0; i < model.transfers.size(); ++i) {
        DrawTransferCores(model, i, s, canvas);
    }
    for (const auto& line : model.Lines()) {
        DrawStationMarkers(*line, canvas, model.originX, model.originY, s, model.stationStyle);
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

void DiscardSchemeImage(NetworkModel& model) {
    model.memoryDc.reset();
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

void DrawTransferRims(const NetworkModel& model, std::size_t index, int s,
                      DrawingSurface& surface) {
    DrawTransferCircles(model, model.transfers[index], s, kBlack,
                        Held((std::int64_t{model.stationRadius} + model.outlineWidth) * s),
                        surface);
}

void DrawTransferCores(const NetworkModel& model, std::size_t index, int s,
                       DrawingSurface& surface) {
    DrawTransferCircles(model, model.transfers[index], s, kWhite,
                        Held(std::int64_t{model.stationRadius} * s), surface);
}

void DrawStationMarkers(const Line& line, DrawingSurface& surface, int x0, int y0, int s,
                        int style) {
    if (line.StationCount() <= 1) {
        return;
    }
    const int outline = Held(std::int64_t{line.outlineWidth} * s);
    for (const auto& point : line.stations) {
        const POINT centre = Scaled(*point, x0, y0, s);
        if (point->kind == kStationKind || point->kind == kForbiddenKind) {
            const bool filled = style == 1;
            PenScope pen(surface, outline, filled ? kWhite : line.colour);
            BrushScope brush(surface, filled ? line.colour : kWhite);
            Circle(surface, centre,
                   Held((filled ? std::int64_t{line.stationRadius}
                                : std::int64_t{line.stationRadius} - 1) *
                        s));
        } else if (point->kind == kMarkedPointKind) {
            {
                PenScope pen(surface, outline, kWhite);
                BrushScope brush(surface, line.colour);
                Circle(surface, centre, Held(std::int64_t{line.stationRadius} * s));
            }
            PenScope pen(surface, outline, line.colour);
            BrushScope brush(surface, style == 1 ? kWhite : kLightGrey);
            Circle(surface, centre,
                   Held((std::int64_t{line.stationRadius} - line.outlineWidth) * s));
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
