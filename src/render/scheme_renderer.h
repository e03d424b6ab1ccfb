#pragma once

#include "model/network_model.h"
#include "render/drawing_surface.h"

namespace qv {

// The white, black and grey of the scheme.
inline constexpr COLORREF kWhite = 0xFFFFFF;
inline constexpr COLORREF kBlack = 0x000000;
inline constexpr COLORREF kLightGrey = 0xC0C0C0;

// The scheme image held by the model, if it is one this renderer made.
SchemeImageSurface* SchemeImageOf(const NetworkModel& model);

// Draws the whole static scheme (lines, transfers, stations, labels when shown, and the route
// when it is shown without blinking) into a new image compatible with `surface` and gives it to
// the model. `fontTemplate` is the window's font, the template of the label font.
void BuildSchemeImage(NetworkModel& model, const LOGFONTW& fontTemplate, DrawingSurface& surface);
// Releases the image, so that the next paint builds it anew.
void DiscardSchemeImage(NetworkModel& model);

// One line's polyline, with dashes where it runs on past its first or last station or shape
// point; (x0, y0) is added to the scaled map coordinates. The polyline has round ends and joins,
// the dashes flat ends, so that a dash and a gap are each 3 * s pixels long at any line width.
void DrawLine(const Line& line, DrawingSurface& surface, int x0, int y0, int s);
// The dashes of one segment, with the surface's current pen.
void DrawDashedSegment(const Station& from, const Station& to, DrawingSurface& surface, int x0,
                       int y0, int s);
// The black rims, then the white cores, of transfer `index`'s two circles.
void DrawTransferRims(const NetworkModel& model, std::size_t index, int s, DrawingSurface& surface);
void DrawTransferCores(const NetworkModel& model, std::size_t index, int s,
                       DrawingSurface& surface);
void DrawStationMarkers(const Line& line, DrawingSurface& surface, int x0, int y0, int s,
                        int style);
// In image coordinates, or in window coordinates (the view offset added) when `onScreen`.
void DrawRoute(const NetworkModel& model, DrawingSurface& surface, bool onScreen);
void DrawDepartureMarker(const NetworkModel& model, DrawingSurface& surface, bool onScreen);
void DrawDestinationMarker(const NetworkModel& model, DrawingSurface& surface, bool onScreen);
void DrawForbiddenMarkers(const Line& line, DrawingSurface& surface, int x0, int y0, int s);

}  // namespace qv
