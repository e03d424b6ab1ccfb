#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/adjacency.h"
#include "model/line.h"
#include "model/scheme_image.h"
#include "model/station.h"
#include "settings/settings.h"

namespace qv {

inline constexpr int kMaxTabLetters = 40;

// One loaded metro network: its lines and their points, the transfers, the station index that
// numbers every point, the adjacency a route walks, the chosen ends and route, and the drawing
// parameters of its map file.
class NetworkModel {
  public:
    NetworkModel() = default;
    NetworkModel(const NetworkModel&) = delete;
    NetworkModel& operator=(const NetworkModel&) = delete;

    // Scheme and drawing parameters, as the map file gives them.
    std::u16string name;
    std::int32_t zoomFactor = 1;
    std::int32_t labelMinZoom = 1;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    std::int32_t lineWidth = 0;
    std::int32_t stationRadius = 0;
    std::int32_t outlineWidth = 0;
    Colour routeColour = 0;
    std::int32_t labelFontHeight = -8;
    Colour labelColour = 0xFFFFFF;  // 0xFFFFFF = each station's line colour
    std::int32_t labelHalo = 1;
    std::int32_t stationStyle = 1;
    std::u16string tabLetters;  // the station picker's tabs, at most kMaxTabLetters

    // View state.
    bool zoomed = false;
    std::int32_t viewX = 0;
    std::int32_t viewY = 0;
    std::unique_ptr<SchemeImage> memoryDc;

    // Choices of the user and the route found for them.
    Settings settings;
    Station* hotStation = nullptr;
    Station* departure = nullptr;
    Station* destination = nullptr;
    std::vector<Station*> route;  // travel order, departure first; empty = no route

    std::vector<Transfer> transfers;

    const std::vector<std::unique_ptr<Line>>& Lines() const { return lines_; }
    std::int32_t LineCount() const { return static_cast<std::int32_t>(lines_.size()); }
    Line& AddLine(std::int32_t number, std::u16string lineName, Colour colour, bool isRing,
                  std::int32_t capacity, std::int32_t waitTime);

    // The station index: every point of every line, lines in order, each line's points in order.
    std::span<Station* const> Stations() const { return stations_; }
    std::int32_t StationCount() const { return static_cast<std::int32_t>(stations_.size()); }
    std::int32_t TransferCount() const { return static_cast<std::int32_t>(transfers.size()); }
    const Adjacency& StationLinks() const { return adjacency_; }

    // Numbers every point and builds the adjacency.
    void BuildStationIndex();
    // Joins consecutive points of each line (and the ends of a ring) and the two 'S' ends of each
    // transfer. Rebuilt before every search, so that forbidden stations lose their transfers.
    void BuildAdjacency();
    void AdoptSettings(Settings newSettings) { settings = std::move(newSettings); }
    // Puts back the departure and destination the settings remember, when asked to.
    void RestoreSavedStations();
    void ClearRoute() { route.clear(); }
    // Releases everything the load made; the model is empty afterwards.
    void Clear();

  private:
    std::vector<std::unique_ptr<Line>> lines_;
    std::vector<Station*> stations_;
    Adjacency adjacency_;
};

// The stops of a route: its stations in travel order, where two in a row with one name on lines
// of one number are one stop (a line cut into records where it forks meets its junction twice).
std::vector<const Station*> RouteStops(std::span<Station* const> route);

}  // namespace qv
