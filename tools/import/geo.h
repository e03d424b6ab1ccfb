#pragma once

#include <string>

#include "source_network.h"

namespace qv::import {

// Metres between two positions on the local plane of a city (equirectangular at their mean
// latitude). Within a city the error against the great circle is far below a metre.
double DistanceMetres(GeoPosition a, GeoPosition b);

}  // namespace qv::import

namespace qv::import {

// "4.3 km", for messages.
std::string FormatKilometres(double metres);

}  // namespace qv::import
