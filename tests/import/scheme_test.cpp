#include <gtest/gtest.h>

#include <set>

#include "import/city_network.h"
#include "import/interchange.h"
#include "import/map_writer.h"
#include "import/scheme_builder.h"
#include "map_text.h"
#include "model/map_parser.h"

namespace qv::import {
namespace {

// Stations about 1.1 km apart along two lines that cross at a pair of stations 100 m apart.
SourceNetwork CrossingNetwork() {
    SourceNetwork network;
    network.name = u"Перекрёсток";
    const double step = 0.01;
    const auto name = [](std::u16string_view stem, int i) {
        std::u16string text(stem);
        text += static_cast<char16_t>(u'А' + i);
        return text;
    };
    for (int i = 0; i < 3; ++i) {
        network.stations.push_back({"", name(u"Запад ", i), {55.75, 37.60 + step * (i - 1) * 3.2}});
    }
    for (int i = 0; i < 3; ++i) {
        network.stations.push_back(
            {"", name(u"север ", i), {55.75 + step * (i - 1) + 0.0009 * (i == 1), 37.60}});
    }
    network.stations[1].name = u"Центр";
    network.stations[4].name = u"Центр";
    network.lines.push_back({u"Красная", 0x0000FF, {{0, 1, std::nullopt}, {1, 2, std::nullopt}}});
    network.lines.push_back({u"Синяя", 0xFF0000, {{3, 4, std::nullopt}, {4, 5, 4}}});
    return network;
}

BuildOptions CityOptions() {
    BuildOptions options;
    options.interchange = CityInterchangeRules();
    return options;
}

TEST(Scheme, BuildsLinesTransfersAndTimesThatTheParserReadsBack) {
    BuildReport report;
    const Outcome<DraftScheme> scheme = BuildScheme(CrossingNetwork(), CityOptions(), report);
    ASSERT_TRUE(scheme) << scheme.error;
    NetworkModel model;
    MapError error;
    ASSERT_EQ(testing::LoadText(model, WriteMapText(*scheme.value).substr(1), &error), 0)
        << error.reason << " at line " << error.line;
    ASSERT_EQ(model.LineCount(), 2);
    EXPECT_EQ(std::pair(model.Lines()[0]->number, model.Lines()[1]->number), std::pair(1, 2));
    EXPECT_EQ(model.Lines()[0]->waitTime, 2);
    ASSERT_EQ(model.TransferCount(), 1);
    const Transfer& transfer = model.transfers[0];
    EXPECT_EQ(transfer.time, 3);  // 100 m: 2 minutes' walk, rounded up, plus 1
    // Run times: 2 km at 40 km/h is 3 minutes plus the dwell; the data's 4 minutes are kept.
    EXPECT_EQ(model.Stations()[0]->runTime, 4);
    EXPECT_EQ(model.Stations()[4]->runTime, 4);
    EXPECT_EQ(std::pair(report.dataRunTimes, report.estimatedRunTimes), std::pair(1, 3));
    // One label for the two stations named Центр, one for each other station.
    int labels = 0;
    for (const Station* point : model.Stations()) {
        labels += !point->labelText.empty();
    }
    EXPECT_EQ(labels, 5);
    EXPECT_EQ(model.tabLetters, u"ЗСЦ");
}

TEST(Scheme, RefusesRepeatedLinksAndNetworksWithoutLinks) {
    BuildReport report;
    SourceNetwork repeated = CrossingNetwork();
    repeated.lines[0].links.push_back({1, 0, std::nullopt});
    const Outcome<DraftScheme> first = BuildScheme(repeated, CityOptions(), report);
    ASSERT_FALSE(first);
    EXPECT_NE(first.error.find("linked twice"), std::string::npos) << first.error;
    SourceNetwork looped = CrossingNetwork();
    looped.lines[0].links.push_back({2, 2, std::nullopt});
    EXPECT_EQ(BuildScheme(looped, CityOptions(), report).error,
              "Красная: a link does not join two stations");
    SourceNetwork empty = CrossingNetwork();
    empty.lines[0].links.clear();
    empty.lines[1].links.clear();
    EXPECT_FALSE(BuildScheme(empty, CityOptions(), report));
    SourceNetwork huge = CrossingNetwork();
    huge.stations.resize(32768, huge.stations[0]);
    EXPECT_EQ(BuildScheme(huge, CityOptions(), report).error,
              "32768 stations, more than a map can hold (32767)");
}

// A line running north; 20 m east of it an interchange of three lines, one of which crosses it
// towards the west, the others running on east and north-east; and a line that crosses the
// first further north.
SourceNetwork NearMissNetwork() {
    SourceNetwork network;
    network.name = u"Стрелка";
    const std::vector<std::pair<std::u16string, GeoPosition>> stations = {
        {u"Южная", {55.740, 37.600}},    {u"Средняя", {55.760, 37.600}},
        {u"Северная", {55.780, 37.600}}, {u"Берег", {55.750, 37.6003}},
        {u"Запад", {55.750, 37.560}},    {u"Остров", {55.7501, 37.6004}},
        {u"Восток", {55.750, 37.640}},   {u"Мыс", {55.7499, 37.6004}},
        {u"Залив", {55.760, 37.640}},    {u"Дубки", {55.770, 37.580}},
        {u"Липки", {55.770, 37.620}},
    };
    for (const auto& [name, position] : stations) {
        network.stations.push_back({"", name, position});
    }
    network.lines.push_back({u"Красная", 0x0000FF, {{0, 1, std::nullopt}, {1, 2, std::nullopt}}});
    network.lines.push_back({u"Синяя", 0xFF0000, {{3, 4, std::nullopt}}});
    network.lines.push_back({u"Жёлтая", 0x00FFFF, {{5, 6, std::nullopt}}});
    network.lines.push_back({u"Голубая", 0xFFFF00, {{7, 8, std::nullopt}}});
    network.lines.push_back({u"Зелёная", 0x00FF00, {{9, 10, std::nullopt}}});
    return network;
}

TEST(Scheme, KeepsTheCrossingsOfWhereTheStationsReallyAre) {
    // The geographic drawing sets the interchange's stations round its centre, Берег's on the
    // west, beyond Красная: there Синяя no longer crosses it. The schematic layout keeps the
    // crossing, as it follows the stations' own positions, not that drawing.
    const struct {
        Layout layout;
        std::vector<std::string> faults;
    } cases[] = {
        {Layout::kGeographic, {"crossing lost: Южная - Средняя x Берег - Запад"}},
        {Layout::kSchematic, {}},
    };
    for (const auto& c : cases) {
        BuildOptions options = CityOptions();
        options.layout = c.layout;
        BuildReport report;
        ASSERT_TRUE(BuildScheme(NearMissNetwork(), options, report));
        EXPECT_EQ(report.realCrossings, 2);
        EXPECT_EQ(report.crossingsAdded, 0) << static_cast<int>(c.layout);
        EXPECT_EQ(report.crossingsLost, static_cast<int>(c.faults.size()));
        EXPECT_EQ(report.geographyFaults, c.faults);
    }
}

// `rows` parallel lines of `columns` stations each, evenly spaced, every name `letters` long.
SourceNetwork Parallels(int rows, int columns, int letters) {
    SourceNetwork network;
    network.name = u"Параллели";
    for (int row = 0; row < rows; ++row) {
        SourceLine& line = network.lines.emplace_back();
        line.name = u"Линия " + std::u16string(1, static_cast<char16_t>(u'А' + row));
        line.colour = 0x101010 * static_cast<Colour>(row + 1);
        for (int column = 0; column < columns; ++column) {
            std::u16string name(static_cast<std::size_t>(letters), u'ж');
            name[0] = static_cast<char16_t>(u'А' + row);
            name[1] = static_cast<char16_t>(u'а' + column);
            const int index = static_cast<int>(network.stations.size());
            network.stations.push_back({"", name, {55.0 + 0.01 * row, 37.0 + 0.01 * column}});
            if (column > 0) {
                line.links.push_back({index - 1, index, std::nullopt});
            }
        }
    }
    return network;
}

// The zoom is the smallest scale, up to 5, at which the names fit: none overlapping, none
// struck through, at most a tenth over other stations' discs.
TEST(Scheme, ZoomsInUntilTheNamesFitUpToFive) {
    const struct {
        int rows;
        int letters;
        int zoom;
    } cases[] = {
        {2, 4, 1},  // four short names fit the whole screen
        {10, 16, 3},
        {14, 24, 5},  // the largest zoom: at 4 they do not fit
    };
    for (const auto& [rows, letters, zoom] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << rows << " x " << rows << ", " << letters << " letters");
        BuildOptions options = CityOptions();
        options.layout = Layout::kGeographic;
        BuildReport report;
        const Outcome<DraftScheme> scheme =
            BuildScheme(Parallels(rows, rows, letters), options, report);
        ASSERT_TRUE(scheme) << scheme.error;
        EXPECT_EQ(scheme.value->zoomFactor, zoom);
        EXPECT_EQ(scheme.value->labelMinZoom, zoom);
    }
}

TEST(MapWriter, WritesOptionalFieldsSoThatTheParserTakesThem) {
    DraftScheme scheme;
    scheme.name = u"Пример";
    scheme.zoomFactor = 3;
    scheme.labelMinZoom = 3;  // written "03;": a two-character last field would be skipped
    scheme.labelColour = 0x102030;
    DraftLine line{7, u"Кольцо", 0x0080FF, true, 4, {}};
    for (int i = 0; i < 3; ++i) {
        DraftPoint point;
        point.name = u"Станция " + std::u16string(1, u'А' + i);
        point.x = 20 + 40 * i;
        point.y = 40 + (i == 1 ? 30 : 0);
        point.runTime = i + 1;
        point.labelText = i == 0 ? u"А" : u"";
        point.labelX = 24;
        point.labelY = 30;
        point.labelAlign = 2;
        line.points.push_back(point);
    }
    scheme.lines.push_back(line);
    scheme.tabLetters = u"С";
    const std::u16string text = WriteMapText(scheme);
    ASSERT_EQ(text.front(), u'\uFEFF');
    EXPECT_TRUE(text.ends_with(u"\r\nС\r\n"));
    NetworkModel model;
    MapError error;
    ASSERT_EQ(testing::LoadText(model, text.substr(1), &error), 0) << error.reason;
    EXPECT_EQ(std::tuple(model.zoomFactor, model.labelMinZoom, model.labelColour),
              std::tuple(3, 3, 0x102030u));
    const Line& ring = *model.Lines()[0];
    EXPECT_TRUE(ring.isRing);
    EXPECT_EQ(std::pair(ring.number, ring.waitTime), std::pair(7, 4));
    EXPECT_EQ(ring.stations[0]->labelText, u"А");
    EXPECT_EQ(ring.stations[0]->labelAlign, 2);
    EXPECT_EQ(ring.stations[2]->runTime, 3);
    EXPECT_EQ(model.tabLetters, u"С");
    scheme.labelMinZoom = 0;  // the parser's default is 1
    NetworkModel zero;
    ASSERT_EQ(testing::LoadText(zero, WriteMapText(scheme).substr(1), &error), 0) << error.reason;
    EXPECT_EQ(zero.labelMinZoom, 0);
}

TEST(TabLetters, SortLikeTheStationListAndFoldЁ) {
    EXPECT_EQ(TabLetters({u"Ёлки", u"арбат", u"Европа", u"Бор", u"Арбат", u"Angel"}), u"AАБЕ");
    // Lower-case letters of either alphabet, first to last and beyond Russian's, become capitals;
    // nothing else changes.
    const std::pair<std::u16string, std::u16string> initials[] = {
        {u"яблоко", u"Я"}, {u"аист", u"А"}, {u"ёж", u"Е"},    {u"zoo", u"Z"},  {u"angel", u"A"},
        {u"Я", u"Я"},      {u"`a", u"`"},   {u"{a", u"{"},    {u"1-я", u"1"},  {u"іподром", u"І"},
        {u"ўсход", u"Ў"},  {u"єва", u"Є"},  {u"école", u"É"}, {u"ґанок", u"Ґ"}};
    for (const auto& [name, initial] : initials) {
        EXPECT_EQ(TabLetters({name}), initial);
    }
    std::vector<std::u16string> many;
    for (const char16_t c : std::u16string_view(u"ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЖЗИЙКЛМНО")) {
        many.push_back(std::u16string(1, c));
    }
    EXPECT_EQ(TabLetters(many), std::u16string_view(u"ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЖЗИЙКЛМН"));
    EXPECT_EQ(TabLetters({}), u"");
}

TEST(RouteColour, AvoidsTheLineColours) {
    EXPECT_EQ(ChooseRouteColour(std::vector<Colour>{0x0000FF, 0x00FF00}), 0xFF00FFu);
    EXPECT_NE(ChooseRouteColour(std::vector<Colour>{0xFF00FF, 0xCC00DD}), 0xFF00FFu);
}

TEST(Interchanges, JoinNearStationsSameNamesAndExceptionsOnly) {
    SourceNetwork network;
    network.name = u"Город";
    const auto add = [&network](std::u16string name, double latitude) {
        network.stations.push_back({"", std::move(name), {latitude, 37.0}});
        network.lines.push_back({u"Линия", 0, {}});
        return static_cast<int>(network.stations.size()) - 1;
    };
    // Each station on a line of its own, with a far neighbour so that it serves the line.
    const auto station = [&](std::u16string name, double latitude) {
        const int here = add(std::move(name), latitude);
        network.stations.push_back({"", u"Далёкая", {latitude + 0.5, 37.0}});
        network.lines.back().links.push_back(
            {here, static_cast<int>(network.stations.size()) - 1, std::nullopt});
        return here;
    };
    const double metre = 1 / 110574.0;
    const int a = station(u"Альфа", 55);
    const int b = station(u"Бета", 55 + 450 * metre);     // near: joined
    const int c = station(u"Гамма", 55 + 1000 * metre);   // 550 m from Бета: not joined
    const int d = station(u"альфа 2", 55 + 900 * metre);  // same name as Альфа, 900 m: joined
    const int e = station(u"Эпсилон", 55 + 1300 * metre);
    const int f = station(u"Зета", 55 + 1400 * metre);  // near Эпсилон but an exception
    network.stations.push_back({"", u"Эта", {55 + 1500 * metre, 37.0}});  // f + 2, on Зета's line
    network.lines.back().links.push_back({f, f + 2, std::nullopt});
    const InterchangeException exceptions[] = {
        {u"Город", u"Зета", u"Эпсилон", false, ""},
        {u"Город", u"Гамма", u"Альфа", true, ""},
        {u"Другой", u"Альфа", u"Бета", false, ""},  // not this city's
    };
    std::set<std::pair<int, int>> joined;
    for (const StationPair& pair : FindInterchanges(network, CityInterchangeRules(), exceptions)) {
        joined.insert({pair.first, pair.second});
    }
    EXPECT_TRUE(joined.contains({a, b}));
    EXPECT_FALSE(joined.contains({b, c}));
    EXPECT_TRUE(joined.contains({a, d}));
    EXPECT_TRUE(joined.contains({a, c}));  // joined by its exception, 1 km apart
    EXPECT_FALSE(joined.contains({e, f}));
    EXPECT_FALSE(joined.contains({f, f + 2}));  // near, but one line
    EXPECT_TRUE(SameStationName(u"Ёлки 10", u"елки"));
    EXPECT_FALSE(SameStationName(u"Ёлки", u"Ели"));
}

City LineCity(std::u16string lineName, std::vector<std::pair<std::u16string, GeoPosition>> stops) {
    City city{u"Город", {}};
    CityLine line{"1", std::move(lineName), 0x00FF00, {}};
    for (std::size_t i = 0; i < stops.size(); ++i) {
        line.stations.push_back({"", stops[i].first, stops[i].second, static_cast<int>(i)});
    }
    city.lines.push_back(std::move(line));
    return city;
}

using Links = std::vector<std::pair<std::u16string, std::u16string>>;

// The first line's links, by the names of the stations they join.
Links LinkNames(const SourceNetwork& network) {
    Links links;
    for (const SourceLink& link : network.lines[0].links) {
        links.emplace_back(network.stations[static_cast<std::size_t>(link.from)].name,
                           network.stations[static_cast<std::size_t>(link.to)].name);
    }
    return links;
}

TEST(CityNetwork, AppliesTheFixesThatNameTheLineAndReportsTheRest) {
    const City city = LineCity(u"Линия", {{u"А", {55.00, 37.00}},
                                          {u"В", {55.00, 37.04}},
                                          {u"Б", {55.00, 37.02}},
                                          {u"Г", {54.00, 37.00}},
                                          {u"Д", {55.00, 37.08}},
                                          {u"Е", {55.01, 37.02}}});
    const StationFix fixes[] = {
        {u"Город", u"Линия", u"Б", StationFix::Kind::MoveBefore, u"В", "order"},
        {u"Город", u"Линия", u"Г", StationFix::Kind::BetweenNeighbours, u"", "position"},
        {u"Город", u"Линия", u"Е", StationFix::Kind::BranchFrom, u"Б", "fork"},
        {u"Город", u"Линия", u"Ж", StationFix::Kind::MoveAfter, u"А", "missing"},
        {u"Другой", u"Линия", u"А", StationFix::Kind::MoveAfter, u"Д", "another city"},
    };
    std::vector<std::string> notes;
    const SourceNetwork network = BuildCityNetwork(city, fixes, notes);
    EXPECT_EQ(LinkNames(network),
              (Links{{u"А", u"Б"}, {u"Б", u"В"}, {u"В", u"Г"}, {u"Г", u"Д"}, {u"Б", u"Е"}}));
    // Г now lies halfway between В and Д.
    EXPECT_NEAR(network.stations[3].position.latitude, 55.00, 1e-9);
    EXPECT_NEAR(network.stations[3].position.longitude, 37.06, 1e-9);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_NE(notes[3].find("Ж: a listed mend found nothing to mend"), std::string::npos);
}

TEST(CityNetwork, PlacesAnEndBeyondItsNeighbourAndLeavesOutAStationNotServed) {
    const City city = LineCity(u"Линия", {{u"А", {55.00, 37.03}},
                                          {u"Б", {55.00, 37.02}},
                                          {u"В", {55.00, 37.04}},
                                          {u"Х", {55.50, 37.00}},
                                          {u"Г", {55.00, 37.06}}});
    const StationFix fixes[] = {
        {u"Город", u"Линия", u"А", StationFix::Kind::BeyondNeighbour, u"", "end"},
        {u"Город", u"Линия", u"Х", StationFix::Kind::NotServed, u"", "unfinished"},
        {u"Город", u"Линия", u"В", StationFix::Kind::BeyondNeighbour, u"", "not an end"},
    };
    std::vector<std::string> notes;
    const SourceNetwork network = BuildCityNetwork(city, fixes, notes);
    EXPECT_EQ(LinkNames(network), (Links{{u"А", u"Б"}, {u"Б", u"В"}, {u"В", u"Г"}}));
    // А lies as far beyond Б as В lies on Б's other side.
    EXPECT_NEAR(network.stations[0].position.latitude, 55.00, 1e-9);
    EXPECT_NEAR(network.stations[0].position.longitude, 37.00, 1e-9);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_NE(notes[2].find("В: a listed mend found nothing to mend"), std::string::npos);
}

// The program adds "линия" to a line's name itself.
TEST(CityNetwork, ALineNameDropsTheWordLineAtItsEndOnlyAndFourStationsCanMakeARing) {
    std::vector<std::string> notes;
    for (const auto& [given, kept] :
         {std::pair<std::u16string, std::u16string>{u"Кольцевая линия", u"Кольцевая"},
          {u"линия", u"линия"},
          {u"Линия 1", u"Линия 1"}}) {
        EXPECT_EQ(
            BuildCityNetwork(LineCity(given, {{u"А", {55, 37}}, {u"Б", {55.01, 37}}}), {}, notes)
                .lines[0]
                .name,
            kept);
    }
    // Four stations whose ends are each other's neighbours make a ring.
    const SourceNetwork square = BuildCityNetwork(LineCity(u"Линия", {{u"А", {55.00, 37.00}},
                                                                      {u"Б", {55.00, 37.02}},
                                                                      {u"В", {55.01, 37.02}},
                                                                      {u"Г", {55.01, 37.00}}}),
                                                  {}, notes);
    EXPECT_EQ(LinkNames(square), (Links{{u"А", u"Б"}, {u"Б", u"В"}, {u"В", u"Г"}, {u"Г", u"А"}}));
}

TEST(CityNetwork, ReportsALinkFarLongerThanTheOthers) {
    const City city = LineCity(u"Линия", {{u"А", {55.00, 37.00}},
                                          {u"Б", {55.01, 37.00}},
                                          {u"В", {55.02, 37.00}},
                                          {u"Г", {55.12, 37.00}}});
    std::vector<std::string> notes;
    BuildCityNetwork(city, {}, notes);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("В to Г is 11.1 km"), std::string::npos) << notes[0];
}

}  // namespace
}  // namespace qv::import
