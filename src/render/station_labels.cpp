#include "render/station_labels.h"

#include "render/scheme_colours.h"
#include "render/scheme_view.h"

namespace qv {

namespace {

constexpr LONG kCalloutFontHeight = -10;
constexpr BYTE kLabelQuality = DRAFT_QUALITY;

// The text's width as the labels and callouts estimate it: twice the average for every character.
int EstimatedWidth(std::u16string_view text, const TEXTMETRICW& metrics) {
    return Held(std::int64_t{2} * static_cast<std::int64_t>(text.size()) * metrics.tmAveCharWidth);
}

LOGFONTW FontFrom(const LOGFONTW& fontTemplate, LONG height, bool cyrillic) {
    LOGFONTW attributes = fontTemplate;
    attributes.lfHeight = height;
    if (cyrillic) {
        attributes.lfCharSet = RUSSIAN_CHARSET;
    }
    return attributes;
}

}  // namespace

void DrawStationLabels(const NetworkModel& model, const LOGFONTW& fontTemplate,
                       DrawingSurface& surface) {
    const int s = CurrentScale(model);
    if (model.labelMinZoom > s) {
        return;
    }
    LOGFONTW attributes =
        FontFrom(fontTemplate, model.labelFontHeight, model.settings.cyrillicFont);
    attributes.lfQuality = kLabelQuality;
    FontScope font(surface, attributes);
    surface.SetBackgroundMode(TRANSPARENT);
    const RECT image{0, 0, kViewWidth * s, kViewHeight * s};
    for (const auto& line : model.Lines()) {
        DrawLineLabels(*line, surface, image, model.originX, model.originY, s, model.labelColour,
                       model.labelHalo);
    }
    surface.SetBackgroundMode(OPAQUE);
}

void DrawLineLabels(const Line& line, DrawingSurface& surface, const RECT& area, int x0, int y0,
                    int s, COLORREF colour, int halo) {
    if (line.StationCount() <= 1) {
        return;
    }
    const TEXTMETRICW metrics = surface.TextMetrics();
    for (const auto& point : line.stations) {
        if (point->labelText.empty()) {
            continue;
        }
        const int h = metrics.tmHeight;
        const int w = EstimatedWidth(point->labelText, metrics);
        const int ax = Held(x0 + std::int64_t{s} * point->labelX);
        const int ay = Held(y0 + std::int64_t{s} * point->labelY);
        RECT rect;
        UINT format = DT_LEFT;
        switch (point->labelAlign) {
            case 1:
                rect = {ax, ay - h, ax + w, ay};
                break;
            case 2:
                rect = {ax - w, ay - h, ax, ay};
                format = DT_RIGHT;
                break;
            case 3:
                rect = {ax, ay - h, ax + w, ay};
                format = DT_CENTER;
                break;
            default:
                continue;
        }
        // Text is clipped to its box, and the halo reaches a pixel beyond it.
        if (rect.right + 1 <= area.left || rect.left - 1 >= area.right ||
            rect.bottom + 1 <= area.top || rect.top - 1 >= area.bottom) {
            continue;
        }
        if (halo == 1) {
            DrawHaloText(rect, surface, point->labelText, format);
        }
        surface.SetTextColour(colour == kLineColourLabel ? line.colour : colour);
        surface.SetBackgroundColour(kWhite);
        surface.DrawText(point->labelText, rect, format);
    }
}

void DrawHaloText(const RECT& rect, DrawingSurface& surface, std::u16string_view text,
                  UINT format) {
    static constexpr POINT kOffsets[] = {{1, 0}, {-1, 0}, {0, -1},  {0, 1},
                                         {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    surface.SetTextColour(kWhite);
    for (const POINT offset : kOffsets) {
        const RECT moved{rect.left + offset.x, rect.top + offset.y, rect.right + offset.x,
                         rect.bottom + offset.y};
        surface.DrawText(text, moved, format);
    }
}

void DrawStationCallout(const NetworkModel& model, const LOGFONTW& fontTemplate,
                        DrawingSurface& surface, const Station& station) {
    const int s = CurrentScale(model);
    // Measured with the surface's own font, before the callout font is selected.
    const TEXTMETRICW metrics = surface.TextMetrics();
    const int h = metrics.tmHeight;
    const int w = EstimatedWidth(station.name, metrics);
    surface.SetTextColour(kBlack);
    surface.SetBackgroundColour(kCalloutBackground);
    const int px = Held(std::int64_t{s} * station.x + model.viewX + model.originX);
    const int py = Held(std::int64_t{s} * station.y + model.viewY + model.originY);
    {
        PenScope pen(surface, Held((std::int64_t{model.lineWidth} - model.outlineWidth) * s),
                     kBlack);
        const int radius = Held((std::int64_t{model.stationRadius} + model.outlineWidth) * s);
        surface.Ellipse(px - radius, py - radius, px + radius, py + radius);
    }
    {
        PenScope pen(surface, model.outlineWidth, station.line->colour);
        BrushScope brush(surface, station.line->colour);
        const int radius = Held(std::int64_t{model.stationRadius} + model.outlineWidth);
        surface.Ellipse(px - radius, py - radius, px + radius, py + radius);
    }
    FontScope font(surface,
                   FontFrom(fontTemplate, kCalloutFontHeight, model.settings.cyrillicFont));
    const int gap = Held(std::int64_t{model.stationRadius} + 1);
    RECT rect;
    if (py > kViewHeight / 2) {
        rect.top = py - gap - h;
        rect.bottom = py - gap;
    } else {
        rect.top = py + gap;
        rect.bottom = py + gap + h;
    }
    UINT format = DT_SINGLELINE;
    if (px < kViewWidth / 2) {
        rect.left = px + gap;
        rect.right = px + gap + w;
    } else {
        rect.right = px - gap;
        rect.left = px - gap - w;
        format |= DT_RIGHT;
    }
    surface.DrawText(station.name, rect, format);
}

void DrawRouteStationCallout(const NetworkModel& model, const LOGFONTW& fontTemplate,
                             DrawingSurface& surface, int& counter) {
    if (model.route.size() <= 1) {
        return;
    }
    const std::vector<const Station*> stops = RouteStops(model.route);
    if (counter >= 1 && static_cast<std::size_t>(counter) <= stops.size()) {
        DrawStationCallout(model, fontTemplate, surface, *stops[counter - 1]);
        return;
    }
    counter = 0;
}

}  // namespace qv
