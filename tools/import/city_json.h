#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "source_network.h"

namespace qv::import {

struct CityStation {
    std::string id;
    std::u16string name;
    GeoPosition position;
    std::int64_t order = 0;
};

struct CityLine {
    std::string id;
    std::u16string name;
    Colour colour = 0;
    std::vector<CityStation> stations;  // by the data's order along the line
};

struct City {
    std::u16string name;
    std::vector<CityLine> lines;
};

// Reads the city file: an array of cities, each with lines (name, hex_color, stations) and
// stations (name, lat, lng, order). Every field is checked; the first fault is reported with
// where it is. Names are cleaned, stations sorted by their order.
Outcome<std::vector<City>> ReadCities(std::string_view json);

// The city whose name is `name`, or one whose name begins with it followed by a space or "("
// ("Днепр" for "Днепр (Днепропетровск)"); the error lists the names the file has.
Outcome<City> SelectCity(const std::vector<City>& cities, std::u16string_view name);

}  // namespace qv::import
