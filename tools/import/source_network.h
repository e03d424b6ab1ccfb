#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/line.h"

namespace qv::import {

struct GeoPosition {
    double latitude = 0;
    double longitude = 0;
};

// One station as the open data names it. A station served by several lines is one record when
// the data says so (London), and one record per line otherwise (the city file).
struct SourceStation {
    std::string key;  // the data's own identifier, for messages
    std::u16string name;
    GeoPosition position;
};

// Two stations of a line that trains run between, with the data's minutes where it has them.
struct SourceLink {
    int from = 0;  // indices into SourceNetwork::stations
    int to = 0;
    std::optional<std::int32_t> minutes;
};

struct SourceLine {
    std::u16string name;
    Colour colour = 0;  // 0x00BBGGRR
    std::vector<SourceLink> links;
};

// A city's network before layout: stations with their positions, lines as sets of links.
struct SourceNetwork {
    std::u16string name;
    std::vector<SourceStation> stations;
    std::vector<SourceLine> lines;
};

// "RRGGBB" as published becomes 0x00BBGGRR; nothing for anything but six hex digits.
std::optional<Colour> ParseWebColour(std::string_view text);

}  // namespace qv::import

namespace qv::import {

// What a reader or a step gives back: a value, or why there is none.
template <typename T>
struct [[nodiscard]] Outcome {
    std::optional<T> value;
    std::string error;

    static Outcome Failure(std::string why) { return Outcome{std::nullopt, std::move(why)}; }
    explicit operator bool() const { return value.has_value(); }
};

// Trims white space at both ends and replaces what a map file cannot hold in a field (";" and
// line breaks) with harmless characters.
std::u16string CleanName(std::u16string_view name);

}  // namespace qv::import
