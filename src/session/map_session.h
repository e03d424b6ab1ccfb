#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/map_parser.h"
#include "model/network_model.h"
#include "route/route_finder.h"
#include "settings/settings.h"

namespace qv {

// What one operation of the session changed; the window turns it into timers, repaints and
// boxes.
struct SessionChange {
    bool noMap = false;          // no map is loaded: a command that needs one did nothing, or
                                 // the map could not be loaded
    bool ends = false;           // the departure or the destination was set or taken away
    bool forbidden = false;      // a station was forbidden, or opened again
    bool routeSearched = false;  // the route was searched for anew, found or not
    bool noRoute = false;        // there is no route to show any more
    bool scale = false;          // the scheme is drawn at another scale
    bool view = false;           // the view moved
    bool picked = false;         // a station under the pen is picked out for the commands
    bool settingsSaved = false;  // the settings file was written

    bool operator==(const SessionChange&) const = default;
};

struct StationMark {
    std::int32_t index = 0;
    std::u16string name;

    bool operator==(const StationMark&) const = default;
};

// The loaded map as the user sees it, copied out for those who look from outside.
struct MapSnapshot {
    std::u16string name;
    std::int32_t stations = 0;
    std::optional<StationMark> departure;
    std::optional<StationMark> destination;
    std::optional<StationMark> picked;
    std::vector<std::int32_t> route;      // station-index numbers in travel order
    std::vector<std::int32_t> forbidden;  // station-index numbers, in that order
    bool zoomed = false;
    std::int32_t zoomFactor = 1;
    std::int32_t scale = 1;
    std::int32_t viewX = 0;
    std::int32_t viewY = 0;
};

struct SessionSnapshot {
    std::optional<MapSnapshot> map;  // nothing while no map is loaded
    Settings settings;
};

// The program's rules without its window: the loaded network, the departure and destination
// chosen on it, forbidden stations, the route found between the ends, the scale and view, and
// the settings they are remembered by between runs. The commands act on the station the last
// tap picked out.
class MapSession {
  public:
    // The settings are read from and saved to `settingsFile` (an empty path: nowhere); searches
    // show themselves through `feedback`.
    MapSession(std::filesystem::path settingsFile, RouteSearchFeedback& feedback);
    ~MapSession();
    MapSession(const MapSession&) = delete;
    MapSession& operator=(const MapSession&) = delete;

    // Reads the settings. A map named when the program was started takes the remembered one's
    // place, as if chosen on the open-file page: the remembered view and stations go. Returns
    // the map to load; empty when none is known, and the user is to be asked (NameMap).
    std::u16string Begin(std::u16string startMap);
    void NameMap(std::u16string path);

    // Replaces the network by the one in the file, with the stations, route, scale and view the
    // settings remember; the settings then name it. On failure no map is loaded (noMap) and
    // `error` says why.
    SessionChange LoadMap(std::u16string path, MapError& error);
    // Whether LoadMap would load the file; nothing changes. When not, `error` says why.
    bool CanLoadMap(std::u16string_view path, MapError& error) const;
    // Before another map is chosen: the ends and route of this one go, and so do its remembered
    // view and stations, in the file too.
    SessionChange LeaveMap();

    // Make the picked station the departure or the destination (not a forbidden one); the route
    // is searched for once both are set. Remembered in the file.
    SessionChange ChooseDeparture();
    SessionChange ChooseDestination();
    // Forbids the picked station, or opens it again; a route is searched for anew.
    SessionChange ToggleForbiddenStation();
    // Takes both ends and the route away, in the file too; forbidden stations stay.
    SessionChange ClearStations();
    // Between scale 1 and the map's zoom factor; nothing when the map has none.
    SessionChange ToggleScale();
    // The pen went down at (downX, downY) and up at (upX, upY): a drag moves a zoomed view, and
    // the station where the pen was lifted, if any, is picked out.
    SessionChange Tap(std::int32_t downX, std::int32_t downY, std::int32_t upX, std::int32_t upY);
    // Moves a zoomed view by (dx, dy), as a drag that far does; an unzoomed one stays.
    SessionChange Pan(std::int32_t dx, std::int32_t dy);
    // The picked station's callout has been shown long enough.
    void DropPick();
    // After the station picker set the ends on the map: with both, they are remembered and the
    // route searched for; else the route goes.
    SessionChange TakePickerEnds();
    // After the settings page, which hands its result over through the file.
    SessionChange ReloadSettings();
    // The program ends: the scale and view are remembered.
    SessionChange SaveView();

    NetworkModel* Map() { return model_.get(); }
    const Settings& CurrentSettings() const { return settings_; }
    // Whether the route is drawn in turns (blinking, or its stations one by one).
    bool RouteAnimated() const;
    SessionSnapshot Snapshot() const;

  private:
    SessionChange ChooseEnd(Station* NetworkModel::*end, std::int32_t Settings::*savedIndex,
                            Station* NetworkModel::*otherEnd);
    bool Save() const;
    void SearchRoute(SessionChange& change);
    void ForgetRememberedPlaces();
    void DropModel();

    std::filesystem::path settingsFile_;
    RouteSearchFeedback& feedback_;
    Settings settings_;
    std::unique_ptr<NetworkModel> model_;
};

}  // namespace qv
