#include "render/scheme_view.h"

#include <algorithm>

#include "render/scheme_renderer.h"

namespace qv {

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
    const auto along = [s](std::int64_t middle, std::int32_t coordinate) {
        return (middle - coordinate) * s;
    };
    std::int64_t x = -(kViewWidth / s);
    std::int64_t y = -(kViewHeight / s);
    if (d && t) {
        x = d->x > t->x ? along(120, d->x) - 20 : along(120, d->x) + 20 - 2 * (kViewWidth / s);
        y = d->y > t->y ? along(160, d->y) - 40 : along(160, d->y) + 40 - 2 * (kViewHeight / s);
    } else if (const Station* one = d ? d : t) {
        x = along(120, one->x) - kViewWidth / s;
        y = along(160, one->y) - kViewHeight / s;
    }
    model.viewX = Held(x);
    model.viewY = Held(y);
}

void PanView(NetworkModel& model, int dx, int dy) {
    if (model.zoomed) {
        model.viewX = Held(std::int64_t{model.viewX} + dx);
        model.viewY = Held(std::int64_t{model.viewY} + dy);
    }
}

}  // namespace qv
