#pragma once

#include "model/network_model.h"
#include "render/drawing_surface.h"

namespace qv {

inline constexpr COLORREF kCalloutBackground = 0x80FFFF;  // light yellow
// A label colour that means "the colour of the label's own line".
inline constexpr COLORREF kLineColourLabel = 0xFFFFFF;

// The labels of every line, in the label font made from `fontTemplate` (the window's font),
// when the scale is at least the map's label scale.
void DrawStationLabels(const NetworkModel& model, const LOGFONTW& fontTemplate,
                       DrawingSurface& surface);
// Labels whose box (with its halo) lies wholly outside `area` are left out.
void DrawLineLabels(const Line& line, DrawingSurface& surface, const RECT& area, int x0, int y0,
                    int s, COLORREF colour, int halo);
// The text drawn in white eight times around the rectangle, a one-pixel outline for the label.
void DrawHaloText(const RECT& rect, DrawingSurface& surface, std::u16string_view text, UINT format);
// A ring around the station and its name on a light-yellow band toward the screen's middle.
void DrawStationCallout(const NetworkModel& model, const LOGFONTW& fontTemplate,
                        DrawingSurface& surface, const Station& station);
// The callout of the route's stop number `counter` (counting from 1);
// a counter past the last station shows nothing and is reset to 0.
void DrawRouteStationCallout(const NetworkModel& model, const LOGFONTW& fontTemplate,
                             DrawingSurface& surface, int& counter);

}  // namespace qv
