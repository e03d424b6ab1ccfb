#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "source_network.h"

namespace qv::import {

// One comma-separated table: its rows of fields, quotes removed ("" inside quotes is one quote).
// Rows end with LF or CR LF; an empty last line is not a row.
Outcome<std::vector<std::vector<std::string>>> ParseCsv(std::string_view text);

// The three London tables as published: stations (id, latitude, longitude, name, ...), lines
// (line, name, colour, stripe) and connections (station1, station2, line, time). Stations keep
// the data's identifiers, so that a station served by several lines is one record; every
// connection becomes a link of its line with its minutes. Errors name the file and the row.
struct LondonTables {
    std::string_view stations;
    std::string_view lines;
    std::string_view connections;
};
Outcome<SourceNetwork> ReadLondon(const LondonTables& tables);

}  // namespace qv::import
