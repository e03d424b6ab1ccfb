#include "city_json.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "model/station_name_order.h"
#include "text/utf.h"

namespace qv::import {

namespace {

using Json = nlohmann::json;

// Builds messages that say where in the file a fault is.
class Place {
  public:
    explicit Place(std::string where) : where_(std::move(where)) {}
    Place Child(const std::string& what) const { return Place(where_ + ", " + what); }
    std::string Fault(const std::string& what) const { return where_ + ": " + what; }

  private:
    std::string where_;
};

std::string Named(const std::string& kind, std::size_t index, const Json& object) {
    std::string text = kind + " " + std::to_string(index + 1);
    if (object.is_object() && object.contains("name") && object["name"].is_string()) {
        text += " (" + object["name"].get<std::string>() + ")";
    }
    return text;
}

bool ReadName(const Json& object, const Place& place, std::u16string& name, std::string& error) {
    if (!object.contains("name") || !object["name"].is_string()) {
        error = place.Fault("\"name\" is missing or not a string");
        return false;
    }
    const std::optional<std::u16string> text = Utf8ToUtf16(object["name"].get<std::string>());
    if (!text) {
        error = place.Fault("\"name\" is not UTF-8");
        return false;
    }
    name = CleanName(*text);
    if (name.empty()) {
        error = place.Fault("\"name\" is empty");
        return false;
    }
    return true;
}

bool ReadCoordinate(const Json& station, const char* key, double limit, const Place& place,
                    double& value, std::string& error) {
    if (!station.contains(key) || !station[key].is_number()) {
        error = place.Fault(std::string("\"") + key + "\" is missing or not a number");
        return false;
    }
    value = station[key].get<double>();
    if (!std::isfinite(value) || std::abs(value) > limit) {
        error = place.Fault(std::string("\"") + key + "\" is out of range");
        return false;
    }
    return true;
}

std::string OptionalId(const Json& object) {
    if (object.contains("id") && object["id"].is_string()) {
        return object["id"].get<std::string>();
    }
    return {};
}

bool ReadStation(const Json& json, const Place& place, CityStation& station, std::string& error) {
    if (!json.is_object()) {
        error = place.Fault("is not an object");
        return false;
    }
    if (!ReadName(json, place, station.name, error) ||
        !ReadCoordinate(json, "lat", 90, place, station.position.latitude, error) ||
        !ReadCoordinate(json, "lng", 180, place, station.position.longitude, error)) {
        return false;
    }
    if (!json.contains("order") || !json["order"].is_number_integer()) {
        error = place.Fault("\"order\" is missing or not a whole number");
        return false;
    }
    station.order = json["order"].get<std::int64_t>();
    station.id = OptionalId(json);
    return true;
}

bool ReadLine(const Json& json, const Place& place, CityLine& line, std::string& error) {
    if (!json.is_object()) {
        error = place.Fault("is not an object");
        return false;
    }
    if (!ReadName(json, place, line.name, error)) {
        return false;
    }
    const std::optional<Colour> colour = json.contains("hex_color") && json["hex_color"].is_string()
                                             ? ParseWebColour(json["hex_color"].get<std::string>())
                                             : std::nullopt;
    if (!colour) {
        error = place.Fault("\"hex_color\" is not six hexadecimal digits");
        return false;
    }
    line.colour = *colour;
    line.id = OptionalId(json);
    if (!json.contains("stations") || !json["stations"].is_array()) {
        error = place.Fault("\"stations\" is missing or not an array");
        return false;
    }
    const Json& stations = json["stations"];
    for (std::size_t i = 0; i < stations.size(); ++i) {
        CityStation station;
        if (!ReadStation(stations[i], place.Child(Named("station", i, stations[i])), station,
                         error)) {
            return false;
        }
        line.stations.push_back(std::move(station));
    }
    std::stable_sort(line.stations.begin(), line.stations.end(),
                     [](const CityStation& a, const CityStation& b) { return a.order < b.order; });
    for (std::size_t i = 1; i < line.stations.size(); ++i) {
        if (line.stations[i].order == line.stations[i - 1].order) {
            error = place.Fault("two stations have the order " +
                                std::to_string(line.stations[i].order));
            return false;
        }
    }
    return true;
}

bool ReadCity(const Json& json, const Place& place, City& city, std::string& error) {
    if (!json.is_object()) {
        error = place.Fault("is not an object");
        return false;
    }
    if (!ReadName(json, place, city.name, error)) {
        return false;
    }
    if (!json.contains("lines") || !json["lines"].is_array()) {
        error = place.Fault("\"lines\" is missing or not an array");
        return false;
    }
    const Json& lines = json["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i) {
        CityLine line;
        if (!ReadLine(lines[i], place.Child(Named("line", i, lines[i])), line, error)) {
            return false;
        }
        city.lines.push_back(std::move(line));
    }
    return true;
}

// Spaces and the Cyrillic Ё do not decide whether a name was meant.
std::u16string LooseName(std::u16string_view name) {
    return CleanName(FoldedName(name));
}

}  // namespace

Outcome<std::vector<City>> ReadCities(std::string_view json) {
    Json document;
    try {
        document = Json::parse(json.begin(), json.end());
    } catch (const Json::parse_error& fault) {
        return Outcome<std::vector<City>>::Failure("not valid JSON: " + std::string(fault.what()));
    }
    if (!document.is_array()) {
        return Outcome<std::vector<City>>::Failure("the file is not an array of cities");
    }
    std::vector<City> cities;
    std::string error;
    for (std::size_t i = 0; i < document.size(); ++i) {
        City city;
        if (!ReadCity(document[i], Place(Named("city", i, document[i])), city, error)) {
            return Outcome<std::vector<City>>::Failure(error);
        }
        cities.push_back(std::move(city));
    }
    return Outcome<std::vector<City>>{std::move(cities), {}};
}

Outcome<City> SelectCity(const std::vector<City>& cities, std::u16string_view name) {
    const std::u16string wanted = LooseName(name);
    if (!wanted.empty()) {
        for (const City& city : cities) {
            const std::u16string have = LooseName(city.name);
            if (have == wanted || (have.starts_with(wanted) &&
                                   (have[wanted.size()] == u' ' || have[wanted.size()] == u'('))) {
                return Outcome<City>{city, {}};
            }
        }
    }
    std::string names;
    for (const City& city : cities) {
        names += (names.empty() ? "" : ", ") + Utf16ToUtf8(city.name);
    }
    return Outcome<City>::Failure("no city named \"" + Utf16ToUtf8(name) +
                                  "\"; the file has: " + names);
}

}  // namespace qv::import
