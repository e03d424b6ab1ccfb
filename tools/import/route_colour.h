#pragma once

#include <span>

#include "model/line.h"

namespace qv::import {

// Of a few colours that stand out on a white scheme, the one farthest from every line colour.
Colour ChooseRouteColour(std::span<const Colour> lineColours);

}  // namespace qv::import
