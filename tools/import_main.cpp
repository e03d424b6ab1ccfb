// quorvane-import: makes map files of real metro networks from open data, and checks them.
//   quorvane-import list [--cities FILE]
//   quorvane-import city NAME [--cities FILE] [--bend E] [--layout schematic|geographic] --output
//   MAP quorvane-import london [--data FOLDER] [--bend E] [--layout schematic|geographic] --output
//   MAP quorvane-import check [--every-pair] [--max-transfers N] [--trip FROM TO]... [--] MAP...
//   quorvane-import score [--faults] [--against GEOGRAPHIC-MAP] [--] MAP...
// Exit 0 on success, 1 when the data is refused or a map fails its checks, 2 for bad arguments.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "import/city_json.h"
#include "import/city_network.h"
#include "import/london_csv.h"
#include "import/map_score.h"
#include "import/map_validation.h"
#include "import/map_writer.h"
#include "import/scheme_builder.h"
#include "map_argument.h"
#include "text/printable.h"
#include "text/utf.h"

namespace {

using namespace qv::import;
using qv::Printable;

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr qv::tools::OptionRule kOptions[] = {
    {"--cities", 1},  {"--data", 1},       {"--output", 1},        {"--bend", 1},
    {"--layout", 1},  {"--every-pair", 0}, {"--max-transfers", 1}, {"--trip", 2},
    {"--against", 1}, {"--faults", 0}};
constexpr qv::tools::ToolSyntax kSyntax{
    "quorvane-import",
    "Usage: quorvane-import list [--cities FILE]\n"
    "  or:  quorvane-import city NAME [--cities FILE] [--bend E] [--layout schematic|geographic] "
    "--output MAP\n"
    "  or:  quorvane-import london [--data FOLDER] [--bend E] [--layout schematic|geographic] "
    "--output MAP\n"
    "  or:  quorvane-import check [--every-pair] [--max-transfers N] [--trip FROM TO]... [--] "
    "MAP...\n"
    "  or:  quorvane-import score [--faults] [--against GEOGRAPHIC-MAP] [--] MAP...\n"
    "Makes metro map files from open data and checks them: list names the cities of the city\n"
    "file, city and london map one network (--layout schematic, the default, lays it on an\n"
    "octilinear grid; geographic keeps its geography, where --bend E, 0.3 to 1, draws the\n"
    "outskirts in), check loads maps and reports reachability, the route finder's coverage and\n"
    "the minutes of the trips asked (N 0 to 999), score prints a map's layout figures (with\n"
    "--against, its changes from a geographic map of the same network; --faults names each\n"
    "sharp turn, line through a station, shared track, crossing added, lost or left open and\n"
    "neighbour order changed or left open). The data is read from data/open-metro unless\n"
    "--cities or --data names another copy. Exit 0 on success, 1 for refused data or a map that\n"
    "fails its checks, 2 for bad arguments.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-import city Казань --cities cities-metro.json --output kazan.qvn\n"
    "  $ quorvane-import check --every-pair /usr/share/quorvane/maps/kazan.qvn\n"
    "  $ quorvane-import score kazan.qvn\n",
    kOptions};
constexpr const char* kDefaultCities = "data/open-metro/cities-metro.json";
constexpr const char* kDefaultLondon = "data/open-metro";
// The program's own default limit.
const std::int32_t kCheckTransfers = qv::Settings{}.maxTransfers;
constexpr std::int64_t kMostCheckTransfers = 999;

// What each command takes: its options and how many plain arguments follow it.
struct CommandRule {
    std::string_view name;
    std::array<std::string_view, 4> options;
    std::size_t fewestArguments;
    std::size_t mostArguments;
    bool needsOutput;
};

const CommandRule kCommands[] = {
    {"list", {"--cities"}, 0, 0, false},
    {"city", {"--cities", "--bend", "--output", "--layout"}, 1, 1, true},
    {"london", {"--data", "--bend", "--output", "--layout"}, 0, 0, true},
    {"check", {"--every-pair", "--max-transfers", "--trip"}, 1, SIZE_MAX, false},
    {"score", {"--against", "--faults"}, 1, SIZE_MAX, false},
};

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::string cities = kDefaultCities;
    std::string london = kDefaultLondon;
    std::string output;
    bool everyPair = false;
    std::int32_t maxTransfers = kCheckTransfers;
    std::vector<std::pair<std::string, std::string>> trips;
    std::optional<double> exponent;
    Layout layout = Layout::kSchematic;
    std::string against;
    bool listFaults = false;
};

// Throws UsageError for an unknown command, an option it does not take or the wrong number of
// arguments.
void CheckCommand(const qv::tools::CommandLine& line) {
    using qv::tools::UsageError;
    if (line.Plain().empty()) {
        throw UsageError("no command given");
    }
    const std::string& name = line.Plain()[0];
    const auto rule = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [&](const CommandRule& known) { return known.name == name; });
    if (rule == std::end(kCommands)) {
        throw UsageError("unknown command \"" + Printable(name) + "\"");
    }
    for (const std::string_view option : line.GivenOptions()) {
        if (std::find(rule->options.begin(), rule->options.end(), option) == rule->options.end()) {
            throw UsageError(std::string(option) + " does not apply to " + name);
        }
    }
    const std::size_t count = line.Plain().size() - 1;
    if (count < rule->fewestArguments || count > rule->mostArguments) {
        throw UsageError("wrong number of arguments for " + name);
    }
    if (rule->needsOutput && !line.Has("--output")) {
        throw UsageError(name + " needs --output MAP");
    }
}

Arguments ReadArguments(const qv::tools::CommandLine& line) {
    CheckCommand(line);
    Arguments arguments;
    arguments.command = line.Plain()[0];
    arguments.positional.assign(line.Plain().begin() + 1, line.Plain().end());
    arguments.cities = line.Text("--cities", kDefaultCities);
    arguments.london = line.Text("--data", kDefaultLondon);
    arguments.output = line.Text("--output", "");
    arguments.against = line.Text("--against", "");
    arguments.exponent = line.Real("--bend", 0.3, 1);
    const std::string layout = line.Text("--layout", "schematic");
    if (layout == "geographic") {
        arguments.layout = Layout::kGeographic;
    } else if (layout != "schematic") {
        throw qv::tools::UsageError("--layout is schematic or geographic, not \"" +
                                    Printable(layout) + "\"");
    }
    arguments.everyPair = line.Has("--every-pair");
    arguments.listFaults = line.Has("--faults");
    arguments.maxTransfers = static_cast<std::int32_t>(
        line.Number("--max-transfers", 0, kMostCheckTransfers, kCheckTransfers));
    for (const std::vector<std::string>& trip : line.Uses("--trip")) {
        arguments.trips.emplace_back(trip[0], trip[1]);
    }
    return arguments;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        return std::nullopt;
    }
    return text.str();
}

int Refuse(const std::string& message) {
    qv::tools::Fail(kSyntax, Printable(message));
    return kRefused;
}

std::string Name(const qv::NetworkModel& model, std::int32_t point) {
    return point < 0 ? "?"
                     : Printable(qv::Utf16ToUtf8(
                           model.Stations()[static_cast<std::size_t>(point)]->name));
}

// Loads the map as the program does and prints what the checks found; false when it does not
// load, when a station cannot reach another, when a trip names no station, or when the route
// finder misses a pair that a route joins within the transfer limit.
bool CheckWrittenMap(const std::string& path, const Arguments& arguments) {
    qv::NetworkModel model;
    qv::MapError error;
    if (qv::tools::LoadMapArgument(model, path, qv::Settings{}, error) != 0) {
        std::printf("%s: does not load: %s (line %d)\n", Printable(path).c_str(),
                    Printable(error.reason).c_str(), error.line);
        return false;
    }
    const MapCheck check = CheckMap(model, arguments.maxTransfers, arguments.everyPair);
    std::printf(
        "%s: \"%s\": %d lines, %d stations, %d points, %d transfers, zoom %d, labels "
        "from scale %d%s\n",
        Printable(path).c_str(), Printable(qv::Utf16ToUtf8(model.name)).c_str(), check.lines,
        check.stations, check.points, check.transfers, check.zoomFactor, check.labelMinZoom,
        check.corners > 0 ? (", " + std::to_string(check.corners) + " corners").c_str() : "");
    std::printf(
        "  unreachable pairs: %lld; route finder (by time, up to %d transfers): %lld of "
        "%lld pairs without a route (%lld need more transfers, %lld missed), %lld slower than "
        "the shortest\n",
        static_cast<long long>(check.unreachablePairs), arguments.maxTransfers,
        static_cast<long long>(check.beyondLimit + check.finderMisses),
        static_cast<long long>(check.searchedPairs), static_cast<long long>(check.beyondLimit),
        static_cast<long long>(check.finderMisses), static_cast<long long>(check.finderSlower));
    std::printf("  longest shortest-time trip: %s to %s, %lld min (route finder: %lld min)\n",
                Name(model, check.longest.from).c_str(), Name(model, check.longest.to).c_str(),
                static_cast<long long>(check.longest.minutes),
                static_cast<long long>(check.longestByFinder));
    const TravelTimes times(model, model.settings.countWaitTime);
    const TravelTimes riding(model, false);
    bool tripsFound = true;
    for (const auto& [from, to] : arguments.trips) {
        const std::u16string a = qv::Utf8ToUtf16(from).value_or(u"");
        const std::u16string b = qv::Utf8ToUtf16(to).value_or(u"");
        if (FindStationsByName(model, a).empty() || FindStationsByName(model, b).empty()) {
            std::printf("  trip %s to %s: no such station\n", Printable(from).c_str(),
                        Printable(to).c_str());
            tripsFound = false;
            continue;
        }
        std::printf("  trip %s to %s: %lld min riding and changing, %lld min with waits\n",
                    Printable(from).c_str(), Printable(to).c_str(),
                    static_cast<long long>(TripMinutes(riding, model, a, b)),
                    static_cast<long long>(TripMinutes(times, model, a, b)));
    }
    if (check.finderMisses > 0) {
        std::printf(
            "  error: the route finder misses %lld pairs that a route joins within the "
            "limit\n",
            static_cast<long long>(check.finderMisses));
    }
    return tripsFound && check.unreachablePairs == 0 && check.finderMisses == 0;
}

void PrintScore(const std::string& path, const MapScore& score, bool listFaults) {
    const double share =
        score.drawnLength > 0 ? 100 * score.octilinearLength / score.drawnLength : 100;
    const double kept = score.links > 0 ? 100.0 * score.keptLinks / score.links : 100;
    std::printf("%s: %d places, %d links\n", Printable(path).c_str(), score.places, score.links);
    std::printf("  drawn length at multiples of 45 degrees: %.1f%%\n", share);
    std::printf("  bends along lines: %d, sharp turns: %d\n", score.bends, score.sharpTurns);
    std::printf("  lines through a station they do not serve: %d\n", score.falseStops);
    std::printf("  links kept as their own path: %d of %d (%.1f%%)\n", score.keptLinks, score.links,
                kept);
    std::printf("  crossings of links: %d\n", score.crossings);
    std::printf("  nearest places: %.1f units, zoom %d (%.1f pixels zoomed)\n", score.nearestPlaces,
                score.zoomFactor, score.nearestPlaces * score.zoomFactor);
    std::printf(
        "  labels: %d, overlapping pairs: %d, over another station's disc: %d, along a line: %d\n",
        score.labels, score.labelOverlaps, score.labelsOverDiscs, score.labelsAlongLines);
    if (score.compared) {
        std::printf(
            "  against the other map: %d places and %d links unmatched; crossings %d added, %d "
            "lost; %d places with neighbours in another order\n",
            score.unmatchedPlaces, score.unmatchedLinks, score.crossingsAdded, score.crossingsLost,
            score.orderChanged);
        std::printf(
            "  left open by the other map (a line over a station): %d crossings, %d "
            "neighbour orders\n",
            score.crossingsOpen, score.ordersOpen);
        std::printf("  displacement (mean link lengths): mean %.2f, max %.2f\n",
                    score.meanDisplacement, score.maxDisplacement);
    }
    for (std::size_t i = 0; listFaults && i < score.faults.size(); ++i) {
        std::printf("  - %s\n", Printable(score.faults[i]).c_str());  // names from the map
    }
}

// Prints the figures of each map; false when a map does not load.
bool ScoreMaps(const Arguments& arguments) {
    qv::NetworkModel against;
    qv::MapError error;
    if (!arguments.against.empty() &&
        qv::tools::LoadMapArgument(against, arguments.against, qv::Settings{}, error) != 0) {
        std::printf("%s: does not load: %s (line %d)\n", Printable(arguments.against).c_str(),
                    Printable(error.reason).c_str(), error.line);
        return false;
    }
    bool loaded = true;
    for (const std::string& path : arguments.positional) {
        qv::NetworkModel model;
        if (qv::tools::LoadMapArgument(model, path, qv::Settings{}, error) != 0) {
            std::printf("%s: does not load: %s (line %d)\n", Printable(path).c_str(),
                        Printable(error.reason).c_str(), error.line);
            loaded = false;
            continue;
        }
        PrintScore(path, arguments.against.empty() ? ScoreMap(model) : ScoreMap(model, against),
                   arguments.listFaults);
    }
    return loaded;
}

int WriteScheme(const qv::import::SourceNetwork& network, const BuildOptions& options,
                std::vector<std::string> notes, const Arguments& arguments) {
    BuildOptions chosen = options;
    chosen.exponent = arguments.exponent;
    chosen.layout = arguments.layout;
    BuildReport report;
    report.notes = std::move(notes);
    Outcome<DraftScheme> scheme = BuildScheme(network, chosen, report);
    if (!scheme) {
        return Refuse(scheme.error);
    }
    std::ofstream file(arguments.output, std::ios::binary | std::ios::trunc);
    const std::string bytes = MapFileBytes(WriteMapText(*scheme.value));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        return Refuse("cannot write " + arguments.output);
    }
    for (const std::string& note : report.notes) {
        std::printf("note: %s\n", Printable(note).c_str());
    }
    if (arguments.layout == Layout::kSchematic) {
        std::printf("%s: schematic, grid nodes %d units apart, %d runs off the grid\n",
                    Printable(arguments.output).c_str(), report.grid, report.unroutedRuns);
    }
    std::printf(
        "%s: against where the stations are, %d crossings of links, drawn with %d added and %d "
        "lost; %d places with their neighbours in another order\n",
        Printable(arguments.output).c_str(), report.realCrossings, report.crossingsAdded,
        report.crossingsLost, report.ordersChanged);
    for (const std::string& fault : report.geographyFaults) {
        std::printf("  - %s\n", Printable(fault).c_str());
    }
    std::printf(
        "%s: %d places, distances from the centre to the power %.2f%s, nearest places %d "
        "units apart; run times %d from the data, %d estimated; %d transfers estimated, "
        "%d between branches; labels: %d overlapping pairs, %d over other stations, %d along "
        "a line, %d abbreviated, %d shortened\n",
        Printable(arguments.output).c_str(), report.places, report.exponent,
        report.stretched ? " (one axis stretched)" : "", report.nearestPlaceUnits,
        report.dataRunTimes, report.estimatedRunTimes, report.estimatedTransfers,
        report.forkTransfers, report.labels.overlaps, report.labels.coveredDiscs,
        report.labels.struck, report.labels.abbreviated, report.labels.shortened);
    return CheckWrittenMap(arguments.output, arguments) ? kDone : kRefused;
}

// The cities of the city file; nothing when it cannot be read, the refusal then printed.
std::optional<std::vector<City>> LoadCities(const Arguments& arguments) {
    const std::optional<std::string> json = ReadFile(arguments.cities);
    if (!json) {
        Refuse("cannot read " + arguments.cities);
        return std::nullopt;
    }
    Outcome<std::vector<City>> cities = ReadCities(*json);
    if (!cities) {
        Refuse(arguments.cities + ": " + cities.error);
        return std::nullopt;
    }
    return std::move(*cities.value);
}

int ListCities(const Arguments& arguments) {
    const std::optional<std::vector<City>> cities = LoadCities(arguments);
    if (!cities) {
        return kRefused;
    }
    for (const City& city : *cities) {
        std::size_t stations = 0;
        for (const CityLine& line : city.lines) {
            stations += line.stations.size();
        }
        std::printf("%s: %zu lines, %zu stations\n", Printable(qv::Utf16ToUtf8(city.name)).c_str(),
                    city.lines.size(), stations);
    }
    return kDone;
}

int ImportCity(const Arguments& arguments) {
    const std::optional<std::vector<City>> cities = LoadCities(arguments);
    if (!cities) {
        return kRefused;
    }
    const std::optional<std::u16string> wanted = qv::Utf8ToUtf16(arguments.positional[0]);
    if (!wanted) {
        return Refuse("the city name is not UTF-8");
    }
    const Outcome<City> city = SelectCity(*cities, *wanted);
    if (!city) {
        return Refuse(city.error);
    }
    std::vector<std::string> notes;
    const SourceNetwork network = BuildCityNetwork(*city.value, KnownStationFixes(), notes);
    BuildOptions options;
    options.interchange = CityInterchangeRules();
    options.interchangeExceptions = KnownInterchangeExceptions();
    options.headways = KnownHeadwayExceptions();
    return WriteScheme(network, options, std::move(notes), arguments);
}

int ImportLondon(const Arguments& arguments) {
    std::string tables[3];
    const char* const names[] = {"london.stations.csv", "london.lines.csv",
                                 "london.connections.csv"};
    for (int i = 0; i < 3; ++i) {
        const std::string path = arguments.london + "/" + names[i];
        const std::optional<std::string> text = ReadFile(path);
        if (!text) {
            return Refuse("cannot read " + path);
        }
        tables[i] = *text;
    }
    const Outcome<SourceNetwork> network = ReadLondon({tables[0], tables[1], tables[2]});
    if (!network) {
        return Refuse(arguments.london + ": " + network.error);
    }
    BuildOptions options;
    options.interchange = LondonInterchangeRules();
    options.interchangeExceptions = KnownInterchangeExceptions();
    return WriteScheme(*network.value, options, {}, arguments);
}

int Import(const qv::tools::CommandLine& line) {
    const Arguments arguments = ReadArguments(line);
    const std::string& command = arguments.command;
    if (command == "list") {
        return ListCities(arguments);
    }
    if (command == "city") {
        return ImportCity(arguments);
    }
    if (command == "london") {
        return ImportLondon(arguments);
    }
    if (command == "score") {
        return ScoreMaps(arguments) ? kDone : kRefused;
    }
    bool passed = true;
    for (const std::string& map : arguments.positional) {
        passed = CheckWrittenMap(map, arguments) && passed;
    }
    return passed ? kDone : kRefused;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, Import);
}
