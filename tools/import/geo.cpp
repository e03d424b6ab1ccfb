#include "geo.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace qv::import {

namespace {

constexpr double kMetresPerDegreeLatitude = 110574.0;
constexpr double kMetresPerDegreeLongitudeAtEquator = 111320.0;

}  // namespace

double DistanceMetres(GeoPosition a, GeoPosition b) {
    const double meanLatitude = (a.latitude + b.latitude) / 2 * std::numbers::pi / 180;
    const double dx =
        (a.longitude - b.longitude) * std::cos(meanLatitude) * kMetresPerDegreeLongitudeAtEquator;
    const double dy = (a.latitude - b.latitude) * kMetresPerDegreeLatitude;
    return std::hypot(dx, dy);
}

}  // namespace qv::import

namespace qv::import {

std::string FormatKilometres(double metres) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f km", metres / 1000);
    return text;
}

}  // namespace qv::import
