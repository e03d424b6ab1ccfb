#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace qv {

// The user's preferences and remembered state. Copied whole, by value, between its holders: the
// main window's master copy, the loaded network's copy and the settings page's working copy.
struct Settings {
    std::u16string mapPath;              // last map loaded successfully; empty = ask for one
    std::int32_t departureIndex = -1;    // station-index number, or -1
    std::int32_t destinationIndex = -1;  // station-index number, or -1
    std::int32_t savedZoom = 1;          // the map's zoom factor if the view was zoomed, else 1
    std::int32_t savedViewX = 0;
    std::int32_t savedViewY = 0;
    std::int32_t algorithm = 0;   // 0 = fewest transfers, 1 = shortest travel time
    std::int32_t pickerMode = 0;  // 0 = letter tabs, 1 = keyboard
    bool countWaitTime = true;
    std::int32_t tooltipMs = 2000;
    std::int32_t maxTransfers = 3;
    bool showStationNames = false;
    bool routeShowLine = true;
    bool routeShowStations = true;
    bool routeBlink = true;
    bool cyrillicFont = false;
    bool saveRoute = false;
    bool saveZoom = false;
    bool savePosition = false;

    bool operator==(const Settings&) const = default;
};

// The numbers the program can use: a callout that shows and a timer that ends, a transfer limit
// a search can reach, and the two choices the page offers.
inline constexpr std::int32_t kShortestTooltipMs = 100;
inline constexpr std::int32_t kLongestTooltipMs = 60000;
inline constexpr std::int32_t kMostTransfers = 99;

// Brings numbers beyond those ranges to the nearer end, and an unknown choice to the first.
inline void KeepInRange(Settings& settings) {
    settings.tooltipMs = std::clamp(settings.tooltipMs, kShortestTooltipMs, kLongestTooltipMs);
    settings.maxTransfers = std::clamp(settings.maxTransfers, 0, kMostTransfers);
    if (settings.algorithm != 0 && settings.algorithm != 1) {
        settings.algorithm = 0;
    }
    if (settings.pickerMode != 0 && settings.pickerMode != 1) {
        settings.pickerMode = 0;
    }
}

}  // namespace qv
