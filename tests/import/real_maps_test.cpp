// The maps of the real cities, built from the data in the project, and the map checks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <map>
#include <set>
#include <span>
#include <sstream>
#include <tuple>

#include "import/city_json.h"
#include "import/city_network.h"
#include "import/london_csv.h"
#include "import/map_score.h"
#include "import/map_validation.h"
#include "import/map_writer.h"
#include "import/scheme_builder.h"
#include "map_text.h"
#include "network_builder.h"
#include "platform/pocket/shell_layout.h"
#include "random_network.h"
#include "route/route_finder.h"
#include "route/route_measures.h"
#include "route_oracle.h"
#include "text/utf.h"

namespace qv::import {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Data(const std::string& name) {
    return ReadBytes(std::string(QV_DATA_DIR) + "/" + name);
}

struct BuiltMap {
    std::string file;
    SourceNetwork source;
    std::u16string text;
    std::shared_ptr<NetworkModel> model;
    Layout layout = Layout::kSchematic;
    std::shared_ptr<NetworkModel> geographic;  // the same network drawn from the geography
    std::vector<std::string> geographyFaults;  // against the stations' own positions
};

BuiltMap Build(const std::string& file, SourceNetwork source, BuildOptions options) {
    BuildReport report;
    const Outcome<DraftScheme> scheme = BuildScheme(source, options, report);
    EXPECT_TRUE(scheme) << scheme.error;
    BuiltMap built{file,
                   std::move(source),
                   WriteMapText(*scheme.value),
                   std::make_shared<NetworkModel>(),
                   options.layout,
                   nullptr,
                   report.geographyFaults};
    MapError error;
    EXPECT_EQ(testing::LoadText(*built.model, built.text.substr(1), &error), 0) << error.reason;
    if (options.layout == Layout::kSchematic) {
        BuildOptions geographic = options;
        geographic.layout = Layout::kGeographic;
        BuildReport geographicReport;
        const Outcome<DraftScheme> drawn = BuildScheme(built.source, geographic, geographicReport);
        built.geographic = std::make_shared<NetworkModel>();
        EXPECT_EQ(testing::LoadText(*built.geographic, WriteMapText(*drawn.value).substr(1)), 0);
    }
    return built;
}

// Every shipped map of a city of the city file, as scripts/make-maps ships them.
std::vector<BuiltMap> BuildCities() {
    std::vector<BuiltMap> maps;
    const Outcome<std::vector<City>> cities = ReadCities(Data("cities-metro.json"));
    EXPECT_TRUE(cities) << cities.error;
    if (!cities) {
        return maps;
    }
    const std::pair<std::u16string, std::string> shipped[] = {
        {u"Москва", "moscow"},
        {u"Санкт-Петербург", "saint-petersburg"},
        {u"Киев", "kyiv"},
        {u"Харьков", "kharkiv"},
        {u"Минск", "minsk"},
        {u"Новосибирск", "novosibirsk"},
        {u"Нижний Новгород", "nizhny-novgorod"},
        {u"Екатеринбург", "yekaterinburg"},
        {u"Казань", "kazan"},
        {u"Самара", "samara"},
        {u"Днепр", "dnipro"},
        {u"Алматы", "almaty"}};
    BuildOptions options;
    options.layout = Layout::kSchematic;
    options.interchange = CityInterchangeRules();
    options.interchangeExceptions = KnownInterchangeExceptions();
    options.headways = KnownHeadwayExceptions();
    for (const auto& [name, file] : shipped) {
        const Outcome<City> city = SelectCity(*cities.value, name);
        if (!city) {
            ADD_FAILURE() << city.error;
            continue;
        }
        std::vector<std::string> notes;
        maps.push_back(
            Build(file, BuildCityNetwork(*city.value, KnownStationFixes(), notes), options));
    }
    return maps;
}

// London's map, alone: it takes about as long to build as all the others.
std::vector<BuiltMap> BuildLondon() {
    std::vector<BuiltMap> maps;
    Outcome<SourceNetwork> london = ReadLondon(
        {Data("london.stations.csv"), Data("london.lines.csv"), Data("london.connections.csv")});
    if (!london) {
        ADD_FAILURE() << london.error;
        return maps;
    }
    BuildOptions londonOptions;
    londonOptions.layout = Layout::kSchematic;
    londonOptions.interchange = LondonInterchangeRules();
    londonOptions.interchangeExceptions = KnownInterchangeExceptions();
    maps.push_back(Build("london", std::move(*london.value), londonOptions));
    return maps;
}

// A one-line map has no transfer record: with none the route finder rides a line from end to end.
void OneLineMapsRouteFromEndToEnd(const std::vector<BuiltMap>& maps) {
    int oneLine = 0;
    for (const BuiltMap& map : maps) {
        if (map.model->LineCount() == 1) {
            ++oneLine;
            EXPECT_EQ(map.model->TransferCount(), 0) << map.file;
        }
    }
    EXPECT_EQ(oneLine, 5);
}

void NoTwoPointsShareAPositionAndTransferEndsFindOneStationEach(const std::vector<BuiltMap>& maps) {
    for (const BuiltMap& map : maps) {
        SCOPED_TRACE(map.file);
        std::map<std::pair<int, int>, int> atPosition;
        for (const Station* point : map.model->Stations()) {
            EXPECT_TRUE(point->kind == kStationKind ||
                        (point->kind == kShapePointKind && map.layout == Layout::kSchematic));
            if (point->kind != kStationKind) {
                continue;
            }
            const int sharing = ++atPosition[std::make_pair(point->x, point->y)];
            EXPECT_EQ(sharing, 1) << Utf16ToUtf8(point->name);
        }
        for (const Transfer& transfer : map.model->transfers) {
            EXPECT_NE(std::make_pair(transfer.x1, transfer.y1),
                      std::make_pair(transfer.x2, transfer.y2));
            EXPECT_TRUE(atPosition.contains({transfer.x1, transfer.y1}));
            EXPECT_TRUE(atPosition.contains({transfer.x2, transfer.y2}));
            EXPECT_GE(transfer.time, 0);
        }
    }
}

void StationsAndLabelsStayOnTheScreen(const std::vector<BuiltMap>& maps) {
    for (const BuiltMap& map : maps) {
        SCOPED_TRACE(map.file);
        const NetworkModel& model = *map.model;
        const int scale = model.labelMinZoom;
        EXPECT_GE(model.zoomFactor, 1);
        EXPECT_LE(model.zoomFactor, 5);
        EXPECT_TRUE(scale == 1 || scale == model.zoomFactor);
        for (const Station* point : model.Stations()) {
            EXPECT_GE(point->x - model.stationRadius, 0);
            EXPECT_LE(point->x + model.stationRadius, 240);
            EXPECT_GE(point->y - model.stationRadius, WorkArea().top);
            EXPECT_LE(point->y + model.stationRadius, WorkArea().bottom);
            if (point->labelText.empty()) {
                continue;
            }
            const double width =
                std::ceil(kLabelCharWidth * static_cast<double>(point->labelText.size()));
            const double anchor = scale * point->labelX;
            const double left = point->labelAlign == 1 ? anchor : anchor - width;
            EXPECT_TRUE(point->labelAlign == 1 || point->labelAlign == 2);
            EXPECT_GE(left, 0) << Utf16ToUtf8(point->labelText);
            EXPECT_LE(left + width, 240 * scale) << Utf16ToUtf8(point->labelText);
            EXPECT_GE(scale * point->labelY - kLabelHeight, kNavigationBarHeight);
            EXPECT_LE(scale * point->labelY, kScreenHeight * scale - kMenuBarHeight);
        }
    }
}

void EveryStationReachesEveryOther(const std::vector<BuiltMap>& maps) {
    for (const BuiltMap& map : maps) {
        SCOPED_TRACE(map.file);
        const TravelTimes times(*map.model, false);
        const std::vector<std::int64_t> minutes = times.From(0);
        EXPECT_EQ(std::count(minutes.begin(), minutes.end(), -1), 0);
    }
}

void LondonKeepsEveryConnectionWithItsMinutesInTheRightDirection(
    const std::vector<BuiltMap>& maps) {
    const BuiltMap& london = maps.back();
    ASSERT_EQ(london.file, "london");
    // Each step along a line of the map, as (station key, next station key) with its run time.
    std::multimap<std::pair<std::string, std::string>, std::pair<int, std::int32_t>> steps;
    std::map<std::u16string, std::string> keyOfName;
    for (const SourceStation& station : london.source.stations) {
        keyOfName[station.name] = station.key;
    }
    for (const auto& line : london.model->Lines()) {
        // The line's stations, each with the minutes to the next, over the corners between.
        std::vector<std::pair<const Station*, std::int32_t>> stations;
        for (const auto& point : line->stations) {
            if (point->kind != kShapePointKind) {
                stations.emplace_back(point.get(), 0);
            }
            ASSERT_FALSE(stations.empty());
            stations.back().second += point->runTime;
        }
        for (std::size_t i = 0; i < stations.size(); ++i) {
            if (i + 1 == stations.size() && !line->isRing) {
                EXPECT_EQ(stations[i].second, 0);
                continue;
            }
            const Station& from = *stations[i].first;
            const Station& to = *stations[(i + 1) % stations.size()].first;
            steps.insert({{keyOfName.at(from.name), keyOfName.at(to.name)},
                          {line->number, stations[i].second}});
        }
    }
    std::size_t connections = 0;
    for (std::size_t l = 0; l < london.source.lines.size(); ++l) {
        for (const SourceLink& link : london.source.lines[l].links) {
            const std::string& a = london.source.stations[static_cast<std::size_t>(link.from)].key;
            const std::string& b = london.source.stations[static_cast<std::size_t>(link.to)].key;
            int found = 0;
            for (const auto& key : {std::make_pair(a, b), std::make_pair(b, a)}) {
                const auto [first, last] = steps.equal_range(key);
                for (auto step = first; step != last; ++step) {
                    if (step->second.first == static_cast<int>(l) + 1) {
                        EXPECT_EQ(step->second.second, *link.minutes) << a << " " << b;
                        ++found;
                    }
                }
            }
            EXPECT_EQ(found, 1) << "connection " << a << " to " << b << " on line " << l + 1;
            ++connections;
        }
    }
    EXPECT_EQ(connections, 406u);
}

void ARideAcrossAForkCountsNoTimeAndNoTransfer(const std::vector<BuiltMap>& maps) {
    const NetworkModel& london = *maps.back().model;
    int forks = 0;
    for (const Transfer& transfer : london.transfers) {
        Station* ends[2] = {nullptr, nullptr};
        for (Station* point : london.Stations()) {
            if (point->x == transfer.x1 && point->y == transfer.y1) {
                ends[0] = point;
            } else if (point->x == transfer.x2 && point->y == transfer.y2) {
                ends[1] = point;
            }
        }
        ASSERT_TRUE(ends[0] && ends[1]);
        if (ends[0]->line->number != ends[1]->line->number) {
            continue;
        }
        ++forks;
        for (int way = 0; way < 2; ++way) {
            const std::vector<Station*> path = {ends[way], ends[1 - way]};
            EXPECT_EQ(TravelTime(path, london.transfers, false), 0) << Utf16ToUtf8(ends[0]->name);
            EXPECT_EQ(CountTransfers(path), 0);
        }
    }
    EXPECT_GT(forks, 20);
}

// A schematic map is octilinear, runs no line over a station, stays near its geographic map, and
// keeps the crossings and line orders of the stations' own positions. (The geographic map's own
// crossings are no reference: it spreads crowded places apart.)
void SchematicMapsKeepTheNetworksShape(const std::vector<BuiltMap>& maps) {
    for (const BuiltMap& map : maps) {
        SCOPED_TRACE(map.file);
        ASSERT_TRUE(map.geographic);
        const MapScore score = ScoreMap(*map.model, *map.geographic);
        EXPECT_DOUBLE_EQ(score.octilinearLength, score.drawnLength);
        EXPECT_EQ(score.keptLinks, score.links);
        EXPECT_EQ(std::tuple(score.sharpTurns, score.falseStops, score.unmatchedPlaces,
                             score.unmatchedLinks),
                  std::tuple(0, 0, 0, 0));
        EXPECT_LE(score.maxDisplacement, 2.5);
        EXPECT_EQ(map.geographyFaults, std::vector<std::string>{});
    }
}

void TheShippedFilesAreWhatTheImportMakesToday(const std::vector<BuiltMap>& maps) {
    for (const BuiltMap& map : maps) {
        const std::string shipped = ReadBytes(std::string(QV_MAPS_DIR) + "/" + map.file + ".qvn");
        EXPECT_TRUE(shipped == MapFileBytes(map.text))
            << map.file << ".qvn is out of date: run scripts/make-maps";
    }
}

using Check = void (*)(const std::vector<BuiltMap>&);

// The rules of every shipped map, then those of its own.
void CheckEveryRule(const std::vector<BuiltMap>& maps,
                    std::initializer_list<std::pair<const char*, Check>> own) {
    const std::pair<const char*, Check> every[] = {
        {"positions", NoTwoPointsShareAPositionAndTransferEndsFindOneStationEach},
        {"on the screen", StationsAndLabelsStayOnTheScreen},
        {"reach", EveryStationReachesEveryOther},
        {"schematic shape", SchematicMapsKeepTheNetworksShape},
        {"shipped files", TheShippedFilesAreWhatTheImportMakesToday}};
    for (const auto& checks : {std::span<const std::pair<const char*, Check>>(every),
                               std::span<const std::pair<const char*, Check>>(own)}) {
        for (const auto& [what, check] : checks) {
            SCOPED_TRACE(what);
            check(maps);
        }
    }
}

// Two tests, so that each map is built once and the two halves run side by side.
TEST(RealMaps, CitiesAreBuiltFromTheDataAndKeepEveryRule) {
    const std::vector<BuiltMap> maps = BuildCities();
    ASSERT_EQ(maps.size(), 12u);
    CheckEveryRule(maps, {{"one-line maps", OneLineMapsRouteFromEndToEnd}});
}

TEST(RealMaps, LondonIsBuiltFromTheDataAndKeepsEveryRule) {
    const std::vector<BuiltMap> maps = BuildLondon();
    ASSERT_EQ(maps.size(), 1u);
    CheckEveryRule(maps, {{"London's connections",
                           LondonKeepsEveryConnectionWithItsMinutesInTheRightDirection},
                          {"forks", ARideAcrossAForkCountsNoTimeAndNoTransfer}});
}

// A: 2, B: 3, C: 7 minutes onwards, waits of 4; C' and D on a line with waits of 6, joined to C by
// a transfer of 3 minutes; apart from them a ring R, D, T.
TEST(TravelTimes, RideRunsTransfersAndWaitsByTheProgramsRules) {
    auto model = testing::NetworkBuilder()
                     .Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, 3}, {u"C", 20, 0, 7}}, 4)
                     .Line(2, {{u"C'", 21, 1, 1}, {u"D", 30, 0, 5}}, 6)
                     .Line(3, {{u"R", 0, 50, 2}, {u"D", 10, 50, 3}, {u"T", 20, 50, 7}}, 0, true)
                     .Transfer(20, 0, 21, 1, 3)
                     .Build();
    using Minutes = std::vector<std::int64_t>;
    const TravelTimes riding(*model, false);
    EXPECT_EQ(riding.From(0), (Minutes{0, 2, 5, 8, 9, -1, -1, -1}));
    EXPECT_EQ(TravelTimes(*model, true).From(0), (Minutes{4, 6, 9, 18, 19, -1, -1, -1}));
    EXPECT_EQ(riding.From(2), (Minutes{5, 3, 0, 3, 4, -1, -1, -1}));
    EXPECT_EQ(riding.From(5), (Minutes{-1, -1, -1, -1, -1, 0, 3, 7}));
    EXPECT_EQ(TripMinutes(riding, *model, u"T", u"R"), 2);  // R to T is 7
    EXPECT_EQ(TripMinutes(riding, *model, u"A", u"X"), -1);
    EXPECT_EQ(TripMinutes(riding, *model, u"A", u"D"), 9);  // not to the D out of reach
    ToggleForbidden(*model->Stations()[1]);
    EXPECT_EQ(riding.From(0), (Minutes{0, -1, -1, -1, -1, -1, -1, -1}));
}

// The check's walk agrees with the route finder where the point bound does not come into play.
TEST(MapChecks, ReachWithinTheLimitAgreesWithTheRouteFinder) {
    int compared = 0;
    int beyond = 0;
    for (std::uint32_t seed = 1; seed <= 600; ++seed) {
        const auto model = testing::MakeRandomNetwork(seed);
        const std::int32_t from = model->departure->index;
        if (testing::OracleMaxLength(*model) - 1 < model->StationCount()) {
            continue;
        }
        model->settings.algorithm = 1;
        const std::vector<bool> reached =
            ReachableWithin(*model, from, model->settings.maxTransfers);
        for (std::int32_t to = 0; to < model->StationCount(); ++to) {
            ASSERT_EQ(!SearchRoute(*model, from, to).empty(),
                      static_cast<bool>(reached[static_cast<std::size_t>(to)]))
                << "seed " << seed << " to " << to;
            ++compared;
            beyond += !reached[static_cast<std::size_t>(to)];
        }
    }
    EXPECT_GT(compared, 3000);
    EXPECT_GT(beyond, 300);
}

}  // namespace
}  // namespace qv::import
