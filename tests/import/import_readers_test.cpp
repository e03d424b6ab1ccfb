#include <gtest/gtest.h>

#include "import/city_json.h"
#include "import/london_csv.h"
#include "text/utf.h"

namespace qv::import {
namespace {

constexpr std::string_view kTwoCities = R"json([
  {"id": "1", "name": "Город", "lines": [
    {"hex_color": "CD0505", "name": "Красная", "stations": [
      {"id": 12, "name": "Вто;рая ", "lat": 55.1, "lng": 180, "order": 1},
      {"id": "1.1", "name": "Первая", "lat": 55.0, "lng": -180, "order": 0}]}]},
  {"id": "2", "name": "Днепр (Днепропетровск)", "lines": []}
])json";

TEST(CityJson, ReadsCitiesWithStationsInOrderAndSelectsThemByName) {
    const Outcome<std::vector<City>> cities = ReadCities(kTwoCities);
    ASSERT_TRUE(cities) << cities.error;
    ASSERT_EQ(cities.value->size(), 2u);
    const CityLine& line = cities.value->front().lines.at(0);
    EXPECT_EQ(line.colour, 0x0505CDu);  // red as 0x00BBGGRR
    ASSERT_EQ(line.stations.size(), 2u);
    EXPECT_EQ(line.stations[0].name, u"Первая");
    EXPECT_EQ(line.stations[1].name, u"Вто,рая");  // no field end, no trailing space
    EXPECT_EQ(line.id + "|" + line.stations[0].id + "|" + line.stations[1].id, "|1.1|");  // if text
    // Longitudes span the whole circle: a city far east or west of Moscow is as valid.
    EXPECT_DOUBLE_EQ(line.stations[0].position.longitude, -180);
    EXPECT_DOUBLE_EQ(line.stations[1].position.longitude, 180);
    // Selected by the full name or by the name before a bracket.
    EXPECT_EQ(SelectCity(*cities.value, u"город").value->name, u"Город");
    EXPECT_EQ(SelectCity(*cities.value, u"Днепр").value->name, u"Днепр (Днепропетровск)");
    const Outcome<City> missing = SelectCity(*cities.value, u"Гор");
    EXPECT_NE(missing.error.find("no city named \"Гор\""), std::string::npos);
    EXPECT_NE(missing.error.find("Город, Днепр (Днепропетровск)"), std::string::npos);
}

TEST(CityJson, RefusesBrokenInputSayingWhere) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {R"([{"name": "Город", "lines": [)", "not valid JSON"},
        {R"({"name": "Город"})", "not an array of cities"},
        {R"([{"name": "Город"}])", "city 1 (Город): \"lines\" is missing"},
        {R"([{"name": "", "lines": []}])", "\"name\" is empty"},
        {R"([{"name": "Г", "lines": [{"name": "Л", "hex_color": "12345", "stations": []}]}])",
         "line 1 (Л): \"hex_color\" is not six hexadecimal digits"},
        {R"([{"name": "Г", "lines": [{"name": "Л", "hex_color": "123456", "stations": [
             {"name": "С", "lat": "55", "lng": 37, "order": 0}]}]}])",
         "station 1 (С): \"lat\" is missing or not a number"},
        {R"([{"name": "Г", "lines": [{"name": "Л", "hex_color": "123456", "stations": [
             {"name": "С", "lat": 95, "lng": 37, "order": 0}]}]}])",
         "\"lat\" is out of range"},
        {R"([{"name": "Г", "lines": [{"name": "Л", "hex_color": "123456", "stations": [
             {"name": "С", "lat": 55, "lng": 180.5, "order": 0}]}]}])",
         "\"lng\" is out of range"},
        {R"([{"name": "Г", "lines": [{"name": "Л", "hex_color": "123456", "stations": [
             {"name": "С", "lat": 55, "lng": 37, "order": 0.5}]}]}])",
         "\"order\" is missing or not a whole number"},
        {R"([{"name": "Г", "lines": [{"name": "Л", "hex_color": "123456", "stations": [
             {"name": "А", "lat": 55, "lng": 37, "order": 3},
             {"name": "Б", "lat": 55, "lng": 37, "order": 3}]}]}])",
         "two stations have the order 3"},
    };
    for (const auto& [json, message] : cases) {
        const Outcome<std::vector<City>> cities = ReadCities(json);
        ASSERT_FALSE(cities) << json;
        EXPECT_NE(cities.error.find(message), std::string::npos) << cities.error;
    }
}

TEST(Csv, SplitsQuotedAndBareFieldsAndBothLineEnds) {
    const auto rows = ParseCsv("\"a\",b,\"c,d\"\r\n1,\"say \"\"hi\"\"\",\n\n");
    ASSERT_TRUE(rows) << rows.error;
    ASSERT_EQ(rows.value->size(), 2u);
    EXPECT_EQ((*rows.value)[0], (std::vector<std::string>{"a", "b", "c,d"}));
    EXPECT_EQ((*rows.value)[1], (std::vector<std::string>{"1", "say \"hi\"", ""}));
    EXPECT_FALSE(ParseCsv("a,b\"c\n"));  // a quote inside a bare field
}

constexpr std::string_view kStations =
    "\"id\",\"latitude\",\"longitude\",\"name\",\"display_name\",\"zone\",\"total_lines\","
    "\"rail\"\n"
    "1,51.5,-0.1,\"Alpha\",NULL,1,2,0\n"
    "2,51.6,-0.2,\"Beta\",NULL,1,1,0\n"
    "3,51.7,-0.3,\"Gamma\",NULL,1,1,0\n";
constexpr std::string_view kLines =
    "\"line\",\"name\",\"colour\",\"stripe\"\n"
    "4,\"Green Line\",\"00A166\",NULL\n"
    "7,\"Grey Line\",\"949699\",NULL\n";
constexpr std::string_view kConnections =
    "\"station1\",\"station2\",\"line\",\"time\"\n"
    "1,2,4,3\n"
    "2,3,4,2\n"
    "1,3,7,120\n";

TEST(LondonCsv, SharesStationsBetweenLinesAndKeepsMinutes) {
    const Outcome<SourceNetwork> network = ReadLondon({kStations, kLines, kConnections});
    ASSERT_TRUE(network) << network.error;
    ASSERT_EQ(network.value->stations.size(), 3u);
    ASSERT_EQ(network.value->lines.size(), 2u);
    EXPECT_EQ(network.value->lines[0].name, u"Green Line");
    EXPECT_EQ(network.value->lines[0].colour, 0x66A100u);
    ASSERT_EQ(network.value->lines[1].links.size(), 1u);
    const SourceLink link = network.value->lines[1].links[0];
    EXPECT_EQ(std::tuple(link.from, link.to, link.minutes), std::tuple(0, 2, 120));
}

TEST(LondonCsv, RefusesABadRowNamingTheTableAndRow) {
    const std::string header(kConnections.substr(0, kConnections.find('\n') + 1));
    const std::string stations(kStations);
    const std::string lines(kLines);
    const std::string connections(kConnections);
    struct Case {
        std::string stations;
        std::string lines;
        std::string connections;
        std::string_view message;
    };
    const Case cases[] = {
        {stations, lines, header + "1,2,4\n", "connections row 2: 3 fields instead of 4"},
        {stations, lines, header + "1,9,4,3\n", "connections row 2: a station is not in"},
        {stations, lines, header + "1,2,5,3\n", "connections row 2: the line is not in"},
        {stations, lines, header + "1,2,4,0\n", "not a whole number of minutes"},
        {stations, lines, header + "1,2,4,3x\n", "not a whole number of minutes"},
        {stations, lines, header + "1,2,4,121\n", "not a whole number of minutes (1 to 120)"},
        {stations, lines, header + "2,2,4,1\n", "joined to itself"},
        {stations + "1,51,0,\"Again\",NULL,1,1,0\n", lines, connections,
         "stations row 5: the id 1 is used twice"},
        {stations + "9,north,0,\"X\",NULL,1,1,0\n", lines, connections,
         "stations row 5: the position"},
        {stations + "9,-90.5,0,\"X\",NULL,1,1,0\n", lines, connections, "row 5: the position"},
        {stations + "9,51,nan,\"X\",NULL,1,1,0\n", lines, connections, "row 5: the position"},
        {stations, "\"line\",\"name\"\n", connections, "lines: the header"},
        {stations, lines, "", "connections: the table is empty"},
        {stations, lines, header + "1,\"2\n", "connections: line 2: a quote is not closed"},
    };
    for (const Case& bad : cases) {
        const Outcome<SourceNetwork> network =
            ReadLondon({bad.stations, bad.lines, bad.connections});
        ASSERT_FALSE(network) << bad.message;
        EXPECT_NE(network.error.find(bad.message), std::string::npos) << network.error;
    }
}

}  // namespace
}  // namespace qv::import
