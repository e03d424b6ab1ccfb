#include "london_csv.h"

#include <charconv>
#include <cmath>
#include <map>

#include "text/utf.h"

namespace qv::import {

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string RowPlace(const char* file, std::size_t row) {
    return std::string(file) + " row " + std::to_string(row + 1);
}

std::optional<double> ParseReal(const std::string& text) {
    double value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseWhole(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// Checks the header row and the field count of every row.
std::string CheckTable(const Rows& rows, const char* file, const std::vector<std::string>& header) {
    if (rows.empty()) {
        return std::string(file) + ": the table is empty";
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (rows[0].size() != header.size() || rows[0][i] != header[i]) {
            return std::string(file) + ": the header is not the expected one (" +
                   std::to_string(header.size()) + " columns beginning with \"" + header[0] + "\")";
        }
    }
    for (std::size_t row = 1; row < rows.size(); ++row) {
        if (rows[row].size() != header.size()) {
            return RowPlace(file, row) + ": " + std::to_string(rows[row].size()) +
                   " fields instead of " + std::to_string(header.size());
        }
    }
    return {};
}

struct Tables {
    Rows stations;
    Rows lines;
    Rows connections;
};

std::string ReadStations(const Rows& rows, SourceNetwork& network,
                         std::map<std::int32_t, int>& byId) {
    constexpr const char* kFile = "stations";
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const std::vector<std::string>& fields = rows[row];
        const std::optional<std::int32_t> id = ParseWhole(fields[0]);
        const std::optional<double> latitude = ParseReal(fields[1]);
        const std::optional<double> longitude = ParseReal(fields[2]);
        const std::optional<std::u16string> name = Utf8ToUtf16(fields[3]);
        if (!id) {
            return RowPlace(kFile, row) + ": the id is not a whole number";
        }
        if (!latitude || !longitude || std::abs(*latitude) > 90 || std::abs(*longitude) > 180) {
            return RowPlace(kFile, row) + ": the position is not a latitude and a longitude";
        }
        if (!name || CleanName(*name).empty()) {
            return RowPlace(kFile, row) + ": the name is empty or not UTF-8";
        }
        if (!byId.emplace(*id, static_cast<int>(network.stations.size())).second) {
            return RowPlace(kFile, row) + ": the id " + fields[0] + " is used twice";
        }
        network.stations.push_back({fields[0], CleanName(*name), {*latitude, *longitude}});
    }
    return {};
}

std::string ReadLines(const Rows& rows, SourceNetwork& network, std::map<std::int32_t, int>& byId) {
    constexpr const char* kFile = "lines";
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const std::vector<std::string>& fields = rows[row];
        const std::optional<std::int32_t> id = ParseWhole(fields[0]);
        const std::optional<std::u16string> name = Utf8ToUtf16(fields[1]);
        const std::optional<Colour> colour = ParseWebColour(fields[2]);
        if (!id) {
            return RowPlace(kFile, row) + ": the line number is not a whole number";
        }
        if (!name || CleanName(*name).empty()) {
            return RowPlace(kFile, row) + ": the name is empty or not UTF-8";
        }
        if (!colour) {
            return RowPlace(kFile, row) + ": the colour is not six hexadecimal digits";
        }
        if (!byId.emplace(*id, static_cast<int>(network.lines.size())).second) {
            return RowPlace(kFile, row) + ": the line number " + fields[0] + " is used twice";
        }
        network.lines.push_back({CleanName(*name), *colour, {}});
    }
    return {};
}

std::string ReadConnections(const Rows& rows, const std::map<std::int32_t, int>& stations,
                            const std::map<std::int32_t, int>& lines, SourceNetwork& network) {
    constexpr const char* kFile = "connections";
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const std::vector<std::string>& fields = rows[row];
        const std::optional<std::int32_t> from = ParseWhole(fields[0]);
        const std::optional<std::int32_t> to = ParseWhole(fields[1]);
        const std::optional<std::int32_t> line = ParseWhole(fields[2]);
        const std::optional<std::int32_t> minutes = ParseWhole(fields[3]);
        if (!from || !stations.contains(*from) || !to || !stations.contains(*to)) {
            return RowPlace(kFile, row) + ": a station is not in the stations table";
        }
        if (*from == *to) {
            return RowPlace(kFile, row) + ": a station is joined to itself";
        }
        if (!line || !lines.contains(*line)) {
            return RowPlace(kFile, row) + ": the line is not in the lines table";
        }
        if (!minutes || *minutes < 1 || *minutes > 120) {
            return RowPlace(kFile, row) + ": the time is not a whole number of minutes (1 to 120)";
        }
        network.lines[static_cast<std::size_t>(lines.at(*line))].links.push_back(
            {stations.at(*from), stations.at(*to), *minutes});
    }
    return {};
}

}  // namespace

Outcome<std::vector<std::vector<std::string>>> ParseCsv(std::string_view text) {
    Rows rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    std::size_t line = 1;
    std::size_t quoteLine = 1;  // where the open quote began
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n';
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
            quoteLine = line;
            fieldStarted = true;
        } else if (c == '"') {
            return Outcome<Rows>::Failure("line " + std::to_string(line) +
                                          ": a quote inside an unquoted field");
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (fieldStarted || !field.empty() || !row.empty()) {
                row.push_back(std::move(field));
                rows.push_back(std::move(row));
            }
            row.clear();
            field.clear();
            fieldStarted = false;
            ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        return Outcome<Rows>::Failure("line " + std::to_string(quoteLine) +
                                      ": a quote is not closed");
    }
    if (fieldStarted || !field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return Outcome<Rows>{std::move(rows), {}};
}

Outcome<SourceNetwork> ReadLondon(const LondonTables& tables) {
    Tables parsed;
    const std::pair<std::string_view, Rows*> inputs[] = {{tables.stations, &parsed.stations},
                                                         {tables.lines, &parsed.lines},
                                                         {tables.connections, &parsed.connections}};
    const char* const names[] = {"stations", "lines", "connections"};
    for (std::size_t i = 0; i < 3; ++i) {
        Outcome<Rows> rows = ParseCsv(inputs[i].first);
        if (!rows) {
            return Outcome<SourceNetwork>::Failure(std::string(names[i]) + ": " + rows.error);
        }
        *inputs[i].second = std::move(*rows.value);
    }
    std::string error = CheckTable(
        parsed.stations, "stations",
        {"id", "latitude", "longitude", "name", "display_name", "zone", "total_lines", "rail"});
    if (error.empty()) {
        error = CheckTable(parsed.lines, "lines", {"line", "name", "colour", "stripe"});
    }
    if (error.empty()) {
        error =
            CheckTable(parsed.connections, "connections", {"station1", "station2", "line", "time"});
    }
    SourceNetwork network;
    network.name = u"London";
    std::map<std::int32_t, int> stationById;
    std::map<std::int32_t, int> lineById;
    if (error.empty()) {
        error = ReadStations(parsed.stations, network, stationById);
    }
    if (error.empty()) {
        error = ReadLines(parsed.lines, network, lineById);
    }
    if (error.empty()) {
        error = ReadConnections(parsed.connections, stationById, lineById, network);
    }
    if (!error.empty()) {
        return Outcome<SourceNetwork>::Failure(error);
    }
    return Outcome<SourceNetwork>{std::move(network), {}};
}

}  // namespace qv::import
