#include "render/scheme_painter.h"

#include "render/scheme_renderer.h"
#include "render/scheme_view.h"
#include "render/station_labels.h"

namespace qv {

namespace {

void DrawEndMarkers(const NetworkModel& model, DrawingSurface& surface) {
    DrawDepartureMarker(model, surface, true);
    DrawDestinationMarker(model, surface, true);
}

void DrawForbiddenMarkersOnScreen(const NetworkModel& model, DrawingSurface& surface) {
    const int s = CurrentScale(model);
    for (const auto& line : model.Lines()) {
        DrawForbiddenMarkers(*line, surface, Held(std::int64_t{model.originX} + model.viewX),
                             Held(std::int64_t{model.originY} + model.viewY), s);
    }
}

void CopyImageWithMargins(const NetworkModel& model, DrawingSurface& surface,
                          const SchemeImageSurface& image) {
    PenScope pen(surface, 1, kMarginGrey);
    BrushScope brush(surface, kMarginGrey);
    if (!model.zoomed) {
        surface.CopyImage(image, 0, 0, kViewWidth, kViewHeight);
        return;
    }
    const int s = UsableScale(model.zoomFactor);
    const int width = kViewWidth * s;
    const int height = kViewHeight * s;
    if (model.viewX > 0) {
        surface.Rectangle(0, 0, model.viewX, height);
    }
    if (model.viewY > 0) {
        surface.Rectangle(0, 0, width, model.viewY);
    }
    if (model.viewX < -kViewWidth) {
        surface.Rectangle(Held(std::int64_t{model.viewX} + width), 0, width, height);
    }
    if (model.viewY < -kViewHeight) {
        surface.Rectangle(0, Held(std::int64_t{model.viewY} + height), width, height);
    }
    surface.CopyImage(image, model.viewX, model.viewY, width, height);
}

}  // namespace

void PaintScheme(NetworkModel& model, const LOGFONTW& fontTemplate, DrawingSurface& surface,
                 bool blinkOn, int& routeLabelCounter) {
    if (!model.memoryDc) {
        BuildSchemeImage(model, fontTemplate, surface);
    }
    if (const SchemeImageSurface* image = SchemeImageOf(model)) {
        CopyImageWithMargins(model, surface, *image);
    }
    const Settings& settings = model.settings;
    const bool routeShown = settings.routeShowLine && settings.routeBlink && blinkOn;
    if (routeShown) {
        DrawRoute(model, surface, true);
        DrawForbiddenMarkersOnScreen(model, surface);
    }
    if (settings.routeShowStations) {
        DrawRouteStationCallout(model, fontTemplate, surface, routeLabelCounter);
    }
    // The ends go over the route's callouts, so that they are always seen.
    if (routeShown) {
        DrawEndMarkers(model, surface);
    }
    if (model.route.size() <= 1) {
        DrawEndMarkers(model, surface);
        DrawForbiddenMarkersOnScreen(model, surface);
    }
    if (model.hotStation) {
        DrawStationCallout(model, fontTemplate, surface, *model.hotStation);
    }
}

}  // namespace qv
