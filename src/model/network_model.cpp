#include "model/network_model.h"

#include <unordered_map>

namespace qv {

namespace {

std::uint64_t CoordinateKey(std::int32_t x, std::int32_t y) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) |
           static_cast<std::uint32_t>(y);
}

}  // namespace

Line& NetworkModel::AddLine(std::int32_t number, std::u16string lineName, Colour colour,
                            bool isRing, std::int32_t capacity, std::int32_t waitTime) {
    auto line = std::make_unique<Line>();
    line->number = number;
    line->name = std::move(lineName);
    line->colour = colour;
    line->isRing = isRing;
    line->capacity = capacity;
    line->waitTime = waitTime;
    line->lineWidth = lineWidth;
    line->stationRadius = stationRadius;
    line->outlineWidth = outlineWidth;
    lines_.push_back(std::move(line));
    return *lines_.back();
}

void NetworkModel::BuildStationIndex() {
    stations_.clear();
    for (const auto& line : lines_) {
        line->firstStationIndex = StationCount();
        for (const auto& point : line->stations) {
            point->index = StationCount();
            stations_.push_back(point.get());
        }
    }
    BuildAdjacency();
}

void NetworkModel::BuildAdjacency() {
    std::vector<Adjacency::Link> links;
    for (const auto& line : lines_) {
        const std::int32_t first = line->firstStationIndex;
        const std::int32_t last = first + line->StationCount() - 1;
        // A one-point line joins nothing: it has no neighbour of its own.
        for (std::int32_t n = first; n < last; ++n) {
            links.emplace_back(n, n + 1);
            links.emplace_back(n + 1, n);
        }
        if (line->isRing && last > first) {
            links.emplace_back(last, first);
            links.emplace_back(first, last);
        }
    }

    // A transfer joins the lowest-numbered 'S' point at each of its two coordinates.
    std::unordered_map<std::uint64_t, std::int32_t> firstStationAt;
    for (const Station* point : stations_) {
        if (point->IsStation()) {
            firstStationAt.try_emplace(CoordinateKey(point->x, point->y), point->index);
        }
    }
    for (const Transfer& transfer : transfers) {
        const auto from = firstStationAt.find(CoordinateKey(transfer.x1, transfer.y1));
        const auto to = firstStationAt.find(CoordinateKey(transfer.x2, transfer.y2));
        if (from != firstStationAt.end() && to != firstStationAt.end()) {
            links.emplace_back(from->second, to->second);
            links.emplace_back(to->second, from->second);
        }
    }
    adjacency_.Build(StationCount(), std::move(links));
}

void NetworkModel::RestoreSavedStations() {
    if (!settings.saveRoute) {
        return;
    }
    const auto pointAt = [this](std::int32_t index) -> Station* {
        return index >= 0 && index < StationCount() ? stations_[static_cast<std::size_t>(index)]
                                                    : nullptr;
    };
    departure = pointAt(settings.departureIndex);
    destination = pointAt(settings.destinationIndex);
}

void NetworkModel::Clear() {
    memoryDc.reset();
    hotStation = departure = destination = nullptr;
    stations_.clear();
    adjacency_.Reset();
    lines_.clear();
    transfers.clear();
    tabLetters.clear();
    ClearRoute();
}

std::vector<const Station*> RouteStops(std::span<Station* const> route) {
    std::vector<const Station*> stops;
    for (const Station* point : route) {
        if (!point->IsStation()) {
            continue;
        }
        const Station* previous = stops.empty() ? nullptr : stops.back();
        if (previous && previous->name == point->name &&
            previous->line->number == point->line->number) {
            continue;
        }
        stops.push_back(point);
    }
    return stops;
}

}  // namespace qv
