#pragma once

#include <algorithm>
#include <cstdint>

#include "model/network_model.h"

namespace qv {

// The largest scale the scheme is drawn at: a zoom factor beyond it would ask for gigabytes.
inline constexpr int kMaxScale = 8;
inline constexpr int kViewWidth = 240;
inline constexpr int kViewHeight = 320;
// The navigation bar covers this much of the window's top, the menu bar as much of its bottom.
inline constexpr int kBarHeight = 26;

// Drawing positions and sizes are computed wide and held within this distance of the origin,
// so that no value of a map file can overflow them; it lies far outside any image.
inline constexpr std::int64_t kDrawingLimit = std::int64_t{1} << 26;
inline int Held(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -kDrawingLimit, kDrawingLimit));
}

// A zoom factor or saved scale as used for drawing: 0 or below means no zoom, more than
// kMaxScale is taken as kMaxScale.
int UsableScale(int scale);
// The scale the scheme is drawn at now: the zoom factor while zoomed, else 1.
int CurrentScale(const NetworkModel& model);

// The first point under a tap at window position (x, y), within a square catch area around each
// point; shape points are never hit. Null when none.
Station* HitTest(const NetworkModel& model, int x, int y);
// Switches between scale 1 and the zoom factor and places the view; false when the map offers
// no zoom.
bool ToggleZoom(NetworkModel& model);
// Places the view for scale `scale`: a lone departure or destination at the window's centre; with
// both, the departure 20 pixels from the left or right edge and 40 from the bar at the top or
// bottom, on the sides away from the destination; with neither, the middle of the image. The map
// offsets are left out.
void CentreView(NetworkModel& model, int scale);
// Moves a zoomed view by a drag distance.
void PanView(NetworkModel& model, int dx, int dy);

}  // namespace qv
