#include "session/map_session.h"

#include <utility>

#include "model/map_file.h"
#include "render/scheme_renderer.h"
#include "render/scheme_view.h"
#include "settings/settings_file.h"

namespace qv {

namespace {

std::optional<StationMark> MarkOf(const Station* station) {
    if (!station) {
        return std::nullopt;
    }
    return StationMark{station->index, station->name};
}

}  // namespace

MapSession::MapSession(std::filesystem::path settingsFile, RouteSearchFeedback& feedback)
    : settingsFile_(std::move(settingsFile)), feedback_(feedback) {}

MapSession::~MapSession() {
    DropModel();
}

std::u16string MapSession::Begin(std::u16string startMap) {
    [[maybe_unused]] const int read = LoadSettings(settings_, settingsFile_);
    if (!startMap.empty()) {
        ForgetRememberedPlaces();
        settings_.mapPath = std::move(startMap);
    }
    return settings_.mapPath;
}

void MapSession::NameMap(std::u16string path) {
    settings_.mapPath = std::move(path);
}

SessionChange MapSession::LoadMap(std::u16string path, MapError& error) {
    DropModel();
    model_ = std::make_unique<NetworkModel>();
    if (LoadMapFile(*model_, path, settings_, &error) != 0) {
        DropModel();
        return {.noMap = true};
    }
    SessionChange change;
    if (model_->destination && model_->departure) {
        SearchRoute(change);
    }
    settings_.mapPath = std::move(path);
    change.settingsSaved = Save();
    if (settings_.savedZoom > 1) {
        CentreView(*model_, settings_.savedZoom);
    }
    if (settings_.savePosition) {
        model_->viewX = settings_.savedViewX;
        model_->viewY = settings_.savedViewY;
    }
    return change;
}

bool MapSession::CanLoadMap(std::u16string_view path, MapError& error) const {
    NetworkModel scratch;
    return LoadMapFile(scratch, path, settings_, &error) == 0;
}

SessionChange MapSession::LeaveMap() {
    SessionChange change{.noRoute = true};
    if (model_) {
        model_->departure = nullptr;
        model_->destination = nullptr;
        model_->ClearRoute();
        change.ends = true;
    }
    ForgetRememberedPlaces();
    change.settingsSaved = Save();
    return change;
}

SessionChange MapSession::ChooseEnd(Station* NetworkModel::*end, std::int32_t Settings::*savedIndex,
                                    Station* NetworkModel::*otherEnd) {
    if (!model_) {
        return {.noMap = true};
    }
    Station* picked = model_->hotStation;
    if (!picked || picked->kind != kStationKind) {
        return {};
    }
    (*model_).*end = picked;
    settings_.*savedIndex = picked->index;
    SessionChange change{.ends = true, .settingsSaved = Save()};
    DiscardSchemeImage(*model_);
    if ((*model_).*otherEnd) {
        SearchRoute(change);
    }
    return change;
}

SessionChange MapSession::ChooseDeparture() {
    return ChooseEnd(&NetworkModel::departure, &Settings::departureIndex,
                     &NetworkModel::destination);
}

SessionChange MapSession::ChooseDestination() {
    return ChooseEnd(&NetworkModel::destination, &Settings::destinationIndex,
                     &NetworkModel::departure);
}

SessionChange MapSession::ToggleForbiddenStation() {
    if (!model_) {
        return {.noMap = true};
    }
    if (!model_->hotStation || !ToggleForbidden(*model_->hotStation)) {
        return {};
    }
    SessionChange change{.forbidden = true};
    DiscardSchemeImage(*model_);
    if (model_->departure && model_->destination) {
        SearchRoute(change);
    }
    return change;
}

SessionChange MapSession::ClearStations() {
    if (!model_) {
        return {.noMap = true};
    }
    DiscardSchemeImage(*model_);
    model_->departure = nullptr;
    model_->destination = nullptr;
    model_->ClearRoute();
    settings_.departureIndex = -1;
    settings_.destinationIndex = -1;
    return {.ends = true, .noRoute = true, .settingsSaved = Save()};
}

SessionChange MapSession::ToggleScale() {
    if (!model_) {
        return {.noMap = true};
    }
    const std::pair view{model_->viewX, model_->viewY};
    if (!ToggleZoom(*model_)) {
        return {};
    }
    settings_.savedZoom = model_->zoomed ? model_->zoomFactor : 1;
    model_->AdoptSettings(settings_);
    return {.scale = true, .view = view != std::pair{model_->viewX, model_->viewY}};
}

SessionChange MapSession::Tap(std::int32_t downX, std::int32_t downY, std::int32_t upX,
                              std::int32_t upY) {
    if (!model_) {
        return {.noMap = true};
    }
    SessionChange change;
    if (upX != downX || upY != downY) {
        change = Pan(upX - downX, upY - downY);
    }
    model_->hotStation = HitTest(*model_, upX, upY);
    change.picked = model_->hotStation != nullptr;
    return change;
}

SessionChange MapSession::Pan(std::int32_t dx, std::int32_t dy) {
    if (!model_) {
        return {.noMap = true};
    }
    const std::pair view{model_->viewX, model_->viewY};
    PanView(*model_, dx, dy);
    return {.view = view != std::pair{model_->viewX, model_->viewY}};
}

void MapSession::DropPick() {
    if (model_) {
        model_->hotStation = nullptr;
    }
}

SessionChange MapSession::TakePickerEnds() {
    if (!model_) {
        return {.noMap = true};
    }
    DiscardSchemeImage(*model_);
    if (model_->departure && model_->destination) {
        settings_.departureIndex = model_->departure->index;
        settings_.destinationIndex = model_->destination->index;
        SessionChange change{.settingsSaved = Save()};
        SearchRoute(change);
        return change;
    }
    // An end the picker removed takes the route with it.
    model_->ClearRoute();
    return {.noRoute = true};
}

SessionChange MapSession::ReloadSettings() {
    const Settings before = settings_;
    [[maybe_unused]] const int read = LoadSettings(settings_, settingsFile_);
    if (!model_) {
        return {.noMap = true};
    }
    if (settings_.showStationNames != before.showStationNames ||
        settings_.routeShowLine != before.routeShowLine ||
        settings_.routeBlink != before.routeBlink) {
        DiscardSchemeImage(*model_);
    }
    model_->AdoptSettings(settings_);
    SessionChange change;
    if (model_->departure && model_->destination) {
        SearchRoute(change);
    } else {
        change.noRoute = true;
    }
    return change;
}

SessionChange MapSession::SaveView() {
    if (!model_) {
        return {.noMap = true};
    }
    settings_.savedZoom = model_->zoomed ? model_->zoomFactor : 1;
    settings_.savedViewX = model_->viewX;
    settings_.savedViewY = model_->viewY;
    return {.settingsSaved = Save()};
}

bool MapSession::RouteAnimated() const {
    return model_ && (model_->settings.routeShowStations || model_->settings.routeBlink);
}

SessionSnapshot MapSession::Snapshot() const {
    SessionSnapshot snapshot{.map = std::nullopt, .settings = settings_};
    if (!model_) {
        return snapshot;
    }
    MapSnapshot& map = snapshot.map.emplace();
    map.name = model_->name;
    map.stations = model_->StationCount();
    map.departure = MarkOf(model_->departure);
    map.destination = MarkOf(model_->destination);
    map.picked = MarkOf(model_->hotStation);
    for (const Station* station : model_->route) {
        map.route.push_back(station->index);
    }
    for (const Station* station : model_->Stations()) {
        if (station->kind == kForbiddenKind) {
            map.forbidden.push_back(station->index);
        }
    }
    map.zoomed = model_->zoomed;
    map.zoomFactor = model_->zoomFactor;
    map.scale = CurrentScale(*model_);
    map.viewX = model_->viewX;
    map.viewY = model_->viewY;
    return snapshot;
}

bool MapSession::Save() const {
    return SaveSettings(settings_, settingsFile_) == 1;
}

void MapSession::SearchRoute(SessionChange& change) {
    FindRoute(*model_, feedback_);
    change.routeSearched = true;
}

void MapSession::ForgetRememberedPlaces() {
    settings_.savedViewX = 0;
    settings_.departureIndex = -1;
    settings_.destinationIndex = -1;
    settings_.savedZoom = 1;
    settings_.savedViewY = 0;
}

void MapSession::DropModel() {
    if (model_) {
        model_->Clear();
        model_.reset();
    }
}

}  // namespace qv
