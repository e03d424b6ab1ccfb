#include "route_colour.h"

#include <algorithm>
#include <cmath>

namespace qv::import {

namespace {

double ColourDistance(Colour a, Colour b) {
    const auto channel = [](Colour colour, int shift) {
        return static_cast<double>((colour >> shift) & 0xFF);
    };
    return std::hypot(channel(a, 0) - channel(b, 0), channel(a, 8) - channel(b, 8),
                      channel(a, 16) - channel(b, 16));
}

}  // namespace

Colour ChooseRouteColour(std::span<const Colour> lineColours) {
    // Magenta, red, black, lime and cyan, as 0x00BBGGRR.
    constexpr Colour kCandidates[] = {0xFF00FF, 0x0000FF, 0x000000, 0x00FF00, 0xFFFF00};
    Colour best = kCandidates[0];
    double bestDistance = -1;
    for (const Colour candidate : kCandidates) {
        double nearest = 1e9;
        for (const Colour line : lineColours) {
            nearest = std::min(nearest, ColourDistance(candidate, line));
        }
        if (nearest > bestDistance + 1e-9) {
            bestDistance = nearest;
            best = candidate;
        }
    }
    return best;
}

}  // namespace qv::import
