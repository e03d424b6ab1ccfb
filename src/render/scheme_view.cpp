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
    const int s = CurrentScale(model);
    const int mx = model.zoomed ? (x - model.viewX - model.originX) / s : x - model.originX;
    const int my = model.zoomed ? (y - model.viewY - model.originY) / s : y - model.originY;
    for (const auto& line : model.Lines()) {
        const int d = line->stationRadius - line->outlineWidth;
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
    const int s = UsableScale(scale);
    const Station* d = model.departure;
    const Station* t = model.destination;
    if (d && t) {
        model.viewX =
            d->x > t->x ? (120 - d->x) * s - 20 : (120 - d->x) * s + 20 - 2 * (kViewWidth / s);
        model.viewY =
            d->y > t->y ? (160 - d->y) * s - 40 : (160 - d->y) * s + 40 - 2 * (kViewHeight / s);
    } else if (const Station* one = d ? d : t) {
        model.viewX = (120 - one->x) * s - kViewWidth / s;
        model.viewY = (160 - one->y) * s - kViewHeight / s;
    } else {
        model.viewX = -(kViewWidth / s);
        model.viewY = -(kViewHeight / s);
    }
}

void PanView(NetworkModel& model, int dx, int dy) {
    if (model.zoomed) {
        model.viewX += dx;
        model.viewY += dy;
    }
}

}  // namespace qv
