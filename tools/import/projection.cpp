#include "projection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace qv::import {

namespace {

// The middle of where the stations crowd most: the stations within a tenth of the network's
// extent of the station that has the most such neighbours, averaged. Neither the mean nor the
// median would do for a city whose suburban lines run far out on one side.
std::pair<double, double> DensestSpot(std::span<const GeoPosition> positions) {
    double minLatitude = positions[0].latitude;
    double maxLatitude = minLatitude;
    double minLongitude = positions[0].longitude;
    double maxLongitude = minLongitude;
    for (const GeoPosition& position : positions) {
        minLatitude = std::min(minLatitude, position.latitude);
        maxLatitude = std::max(maxLatitude, position.latitude);
        minLongitude = std::min(minLongitude, position.longitude);
        maxLongitude = std::max(maxLongitude, position.longitude);
    }
    const double shrink = std::cos((minLatitude + maxLatitude) / 2 * std::numbers::pi / 180);
    const auto distance = [shrink](const GeoPosition& a, const GeoPosition& b) {
        return std::hypot((a.longitude - b.longitude) * shrink, a.latitude - b.latitude);
    };
    const double reach =
        std::hypot((maxLongitude - minLongitude) * shrink, maxLatitude - minLatitude) / 10;
    std::size_t densest = 0;
    std::size_t mostNeighbours = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        std::size_t neighbours = 0;
        for (const GeoPosition& other : positions) {
            neighbours += distance(positions[i], other) <= reach;
        }
        if (neighbours > mostNeighbours) {
            mostNeighbours = neighbours;
            densest = i;
        }
    }
    double latitude = 0;
    double longitude = 0;
    for (const GeoPosition& other : positions) {
        if (distance(positions[densest], other) <= reach) {
            latitude += other.latitude;
            longitude += other.longitude;
        }
    }
    return {latitude / static_cast<double>(mostNeighbours),
            longitude / static_cast<double>(mostNeighbours)};
}

}  // namespace

std::vector<PlanePoint> ProjectToPlane(std::span<const GeoPosition> positions, double exponent) {
    if (positions.empty()) {
        return {};
    }
    const auto [latitude, longitude] = DensestSpot(positions);
    const double shrink = std::cos(latitude * std::numbers::pi / 180);
    std::vector<PlanePoint> points;
    for (const GeoPosition& position : positions) {
        PlanePoint point{(position.longitude - longitude) * shrink * 111.32,
                         (latitude - position.latitude) * 110.574};
        const double radius = std::hypot(point.x, point.y);
        if (exponent != 1 && radius > 0) {
            const double factor = std::pow(radius, exponent) / radius;
            point.x *= factor;
            point.y *= factor;
        }
        points.push_back(point);
    }
    return points;
}

std::vector<PlanePoint> FitToBox(std::span<const PlanePoint> points, const ScreenBox& box,
                                 double margin, double stretch) {
    if (points.empty()) {
        return {};
    }
    const auto [minX, maxX] = std::minmax_element(
        points.begin(), points.end(), [](PlanePoint a, PlanePoint b) { return a.x < b.x; });
    const auto [minY, maxY] = std::minmax_element(
        points.begin(), points.end(), [](PlanePoint a, PlanePoint b) { return a.y < b.y; });
    const double width = maxX->x - minX->x;
    const double height = maxY->y - minY->y;
    const double roomX = box.right - box.left - 2 * margin;
    const double roomY = box.bottom - box.top - 2 * margin;
    const double fullX = width > 0 ? roomX / width : std::numeric_limits<double>::infinity();
    const double fullY = height > 0 ? roomY / height : std::numeric_limits<double>::infinity();
    double scaleX = std::min(fullX, fullY);
    if (!std::isfinite(scaleX)) {
        scaleX = 1;
    }
    double scaleY = scaleX;
    scaleX = std::min(fullX, scaleX * stretch);
    scaleY = std::min(fullY, scaleY * stretch);
    const double offsetX = box.left + margin + (roomX - scaleX * width) / 2 - scaleX * minX->x;
    const double offsetY = box.top + margin + (roomY - scaleY * height) / 2 - scaleY * minY->y;
    std::vector<PlanePoint> fitted;
    for (const PlanePoint& point : points) {
        fitted.push_back({offsetX + scaleX * point.x, offsetY + scaleY * point.y});
    }
    return fitted;
}

}  // namespace qv::import
