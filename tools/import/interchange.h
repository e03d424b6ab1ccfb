#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "source_network.h"

namespace qv::import {

// How stations of different lines are found to be one place, where the data does not say so.
struct InterchangeRules {
    double nearMetres = 0;      // closer than this: one place
    double sameNameMetres = 0;  // names equal (case, Ё and a trailing number aside): one place
};

// A pair of stations that the rules alone would get wrong, named by city and station names.
struct InterchangeException {
    std::u16string_view city;
    std::u16string_view first;
    std::u16string_view second;
    bool joined;  // true: one place whatever the distance; false: never one place
    std::string_view reason;
};

std::span<const InterchangeException> KnownInterchangeExceptions();

// The rules the city file needs: 500 m, or 1000 m for equal names.
InterchangeRules CityInterchangeRules();
// London's data says which stations are one place; nothing is added by distance.
InterchangeRules LondonInterchangeRules();

struct StationPair {
    int first = 0;  // indices into SourceNetwork::stations, first < second
    int second = 0;
    double metres = 0;
};

// The pairs of stations that serve no line in common and are one place by the rules and the
// exceptions that name this network's city.
std::vector<StationPair> FindInterchanges(const SourceNetwork& network,
                                          const InterchangeRules& rules,
                                          std::span<const InterchangeException> exceptions);

// Names compared as a reader would: without case, Ё as Е, without a trailing number.
bool SameStationName(std::u16string_view a, std::u16string_view b);

}  // namespace qv::import
