#pragma once

#include <span>
#include <vector>

#include "platform/pocket/shell_layout.h"
#include "source_network.h"

namespace qv::import {

struct PlanePoint {
    double x = 0;
    double y = 0;  // grows southwards, as screen rows do
};

// The screen area a map may use: the shell's work area, between the navigation bar at the top
// and the menu bar at the bottom.
struct ScreenBox {
    double left = WorkArea().left;
    double top = WorkArea().top;
    double right = WorkArea().right;
    double bottom = WorkArea().bottom;
};

// Kilometres east and south of the spot where the positions crowd most, on the plane of the
// cosine of its latitude (equirectangular). With `exponent` below 1 every distance r from there
// becomes r^exponent: the centre of a large network gets room, the outskirts are drawn in, and
// every station keeps its direction from the centre.

std::vector<PlanePoint> ProjectToPlane(std::span<const GeoPosition> positions, double exponent);

// Scales and moves the points so that they fill `box` less `margin` on every side, centred.
// Both axes get the same factor, except that the axis with room to spare may get up to
// `stretch` times the other's.
std::vector<PlanePoint> FitToBox(std::span<const PlanePoint> points, const ScreenBox& box,
                                 double margin, double stretch = 1);

}  // namespace qv::import
