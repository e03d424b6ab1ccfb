#include "render/scheme_view.h"

#include <algorithm>

#include "render/scheme_image.h"

namespace qv {

namespace {

// How far from the sides of the window, and from the bars over its top and bottom, a departure
// is put when the destination is set too.
constexpr std::int64_t kCentreMarginX = 20;
constexpr std::int64_t kCentreMarginY = 40;

}  // namespace

int UsableScale(int scale) {
    return scale < 1 ? 1 : std::min(scale, kMaxScale);
}

int CurrentScale(const NetworkModel& model) {
    return model.zoomed ? UsableScale(model.zoomFactor) : 1;
}

Station* HitTest(const NetworkModel& model, int x, int y) {
    const std::int64_t s = CurrentScale(model);
    const std::int64_t mx = model.zoomed ? (std::int64_t{x} - model.viewX - model.originX) / s
                                         : std::int64_t{x} - model.originX;
    const std::int64_t my = model.zoomed ? (std::int64_t{y} - model.viewY - model.originY) / s
                                         : std::int64_t{y} - model.originY;
    for (const auto& line : model.Lines()) {
        const std::int64_t d = std::int64_t{line->stationRadius} - line->outlineWidth;
        for (const auto& point : line->stations) {
            if (point->kind != kShapePointKind && mx - d <= point->x && point->x <= mx + d &&
                my - d <= point->y && point->y <= my + d) {
                return point.get();
            }
        }
    }
    return nullptr;
}

bool ToggleZoom(NetworkModel& model) {
    if (UsableScale(model.zoomFactor) == 1) {
        return false;
    }
    model.zoomed = !model.zoomed;
    CentreView(model, CurrentScale(model));
    DiscardSchemeImage(model);
    return true;
}

void CentreView(NetworkModel& model, int scale) {
    const std::int64_t s = UsableScale(scale);
    const Station* d = model.departure;
    const Station* t = model.destination;
    // The map point that is put at the window point; neither end set: the middle of the image.
    std::int64_t mapX = kViewWidth / 2;
    std::int64_t mapY = kViewHeight / 2;
    std::int64_t windowX = kViewWidth / 2;
    std::int64_t windowY = kViewHeight / 2;
    if (const Station* one = d ? d : t) {
        mapX = one->x;
        mapY = one->y;
    }
    if (d && t) {
        // The departure near the edges away from the destination, so that the route runs into
        // the view.
        windowX = d->x > t->x ? kViewWidth - kCentreMarginX : kCentreMarginX;
        windowY =
            d->y > t->y ? kViewHeight - kBarHeight - kCentreMarginY : kBarHeight + kCentreMarginY;
    }
    model.viewX = Held(windowX - s * mapX);
    model.viewY = Held(windowY - s * mapY);
}

void PanView(NetworkModel& model, int dx, int dy) {
    if (model.zoomed) {
        model.viewX = Held(std::int64_t{model.viewX} + dx);
        model.viewY = Held(std::int64_t{model.viewY} + dy);
    }
}

}  // namespace qv
