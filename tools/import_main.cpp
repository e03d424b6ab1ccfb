// quorvane-import: makes map files of real metro networks from open data, and checks them.
//   quorvane-import list [--cities FILE]
//   quorvane-import city NAME [--cities FILE] --output MAP
//   quorvane-import london [--data FOLDER] --output MAP
//   quorvane-import check [--every-pair] [--max-transfers N] [--trip FROM TO]... MAP...
// Exit 0 on success, 1 when the data is refused or a map fails its checks, 2 for bad arguments.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "import/city_json.h"
#include "import/city_network.h"
#include "import/london_csv.h"
#include "import/map_validation.h"
#include "import/map_writer.h"
#include "import/scheme_builder.h"
#include "model/map_file.h"
#include "text/utf.h"

namespace {

using namespace qv::import;

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kBadArguments = 2;
constexpr const char* kUsage =
    "usage: quorvane-import list [--cities FILE]\n"
    "       quorvane-import city NAME [--cities FILE] --output MAP\n"
    "       quorvane-import london [--data FOLDER] --output MAP\n"
    "       quorvane-import check [--every-pair] [--max-transfers N] [--trip FROM TO]... MAP...\n";
constexpr const char* kDefaultCities = "data/open-metro/cities-metro.json";
constexpr const char* kDefaultLondon = "data/open-metro";
// The program's own default limit: a higher one makes the finder's bounded search give up on
// far pairs of large networks sooner, not later.
const std::int32_t kCheckTransfers = qv::Settings{}.maxTransfers;

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
};

std::optional<Arguments> ParseArguments(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    Arguments arguments;
    arguments.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--cities" && hasValue) {
            arguments.cities = argv[++i];
        } else if (option == "--data" && hasValue) {
            arguments.london = argv[++i];
        } else if (option == "--output" && hasValue) {
            arguments.output = argv[++i];
        } else if (option == "--bend" && hasValue) {
            char* end = nullptr;
            const double value = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(value >= 0.3 && value <= 1)) {
                return std::nullopt;
            }
            arguments.exponent = value;
        } else if (option == "--every-pair") {
            arguments.everyPair = true;
        } else if (option == "--max-transfers" && hasValue) {
            const std::string value = argv[++i];
            if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos ||
                value.size() > 3) {
                return std::nullopt;
            }
            arguments.maxTransfers = std::stoi(value);
        } else if (option == "--trip" && i + 2 < argc) {
            arguments.trips.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (option.starts_with("--")) {
            return std::nullopt;
        } else {
            arguments.positional.emplace_back(option);
        }
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
    std::fprintf(stderr, "quorvane-import: %s\n", message.c_str());
    return kRefused;
}

std::string Name(const qv::NetworkModel& model, std::int32_t point) {
    return point < 0 ? "?"
                     : qv::Utf16ToUtf8(model.Stations()[static_cast<std::size_t>(point)]->name);
}

// Loads the map as the program does and prints what the checks found; false when it does not
// load, when a station cannot reach another, or when a trip names no station. Pairs the route
// finder gives up on are reported but not failed: its search is bounded by design.
bool CheckWrittenMap(const std::string& path, const Arguments& arguments) {
    qv::NetworkModel model;
    qv::MapError error;
    const std::optional<std::u16string> widePath = qv::Utf8ToUtf16(path);
    if (!widePath || qv::LoadMapFile(model, *widePath, qv::Settings{}, &error) != 0) {
        std::printf("%s: does not load: %s (line %d)\n", path.c_str(), error.reason.c_str(),
                    error.line);
        return false;
    }
    const MapCheck check = CheckMap(model, arguments.maxTransfers, arguments.everyPair);
    std::printf(
        "%s: \"%s\": %d lines, %d stations, %d points, %d transfers, zoom %d, labels "
        "from scale %d\n",
        path.c_str(), qv::Utf16ToUtf8(model.name).c_str(), check.lines, check.stations,
        check.points, check.transfers, check.zoomFactor, check.labelMinZoom);
    std::printf(
        "  unreachable pairs: %lld; route finder (by time, up to %d transfers): %lld of "
        "%lld pairs without a route, %lld slower than the shortest\n",
        static_cast<long long>(check.unreachablePairs), arguments.maxTransfers,
        static_cast<long long>(check.finderMisses), static_cast<long long>(check.searchedPairs),
        static_cast<long long>(check.finderSlower));
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
            std::printf("  trip %s to %s: no such station\n", from.c_str(), to.c_str());
            tripsFound = false;
            continue;
        }
        std::printf("  trip %s to %s: %lld min riding and changing, %lld min with waits\n",
                    from.c_str(), to.c_str(),
                    static_cast<long long>(TripMinutes(riding, model, a, b)),
                    static_cast<long long>(TripMinutes(times, model, a, b)));
    }
    if (check.finderMisses > 0) {
        std::printf(
            "  warning: the route finder's bounded search gives up on %lld pairs that are "
            "connected\n",
            static_cast<long long>(check.finderMisses));
    }
    return tripsFound && check.unreachablePairs == 0;
}

int WriteScheme(const qv::import::SourceNetwork& network, const BuildOptions& options,
                std::vector<std::string> notes, const Arguments& arguments) {
    BuildOptions chosen = options;
    chosen.exponent = arguments.exponent;
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
        std::printf("note: %s\n", note.c_str());
    }
    std::printf(
        "%s: %d places, distances from the centre to the power %.2f%s, nearest places %d "
        "units apart; run times %d from the data, %d estimated; %d transfers estimated, "
        "%d between branches; labels: %d overlapping pairs, %d over other stations, %d "
        "abbreviated, %d shortened\n",
        arguments.output.c_str(), report.places, report.exponent,
        report.stretched ? " (one axis stretched)" : "", report.nearestPlaceUnits,
        report.dataRunTimes, report.estimatedRunTimes, report.estimatedTransfers,
        report.forkTransfers, report.labels.overlaps, report.labels.coveredDiscs,
        report.labels.abbreviated, report.labels.shortened);
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
        std::printf("%s: %zu lines, %zu stations\n", qv::Utf16ToUtf8(city.name).c_str(),
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

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments = ParseArguments(argc, argv);
    if (!arguments) {
        std::fputs(kUsage, stderr);
        return kBadArguments;
    }
    const std::string& command = arguments->command;
    const std::size_t count = arguments->positional.size();
    if (command == "list" && count == 0) {
        return ListCities(*arguments);
    }
    if (command == "city" && count == 1 && !arguments->output.empty()) {
        return ImportCity(*arguments);
    }
    if (command == "london" && count == 0 && !arguments->output.empty()) {
        return ImportLondon(*arguments);
    }
    if (command == "check" && count > 0) {
        bool passed = true;
        for (const std::string& map : arguments->positional) {
            passed = CheckWrittenMap(map, *arguments) && passed;
        }
        return passed ? kDone : kRefused;
    }
    std::fputs(kUsage, stderr);
    return kBadArguments;
}
