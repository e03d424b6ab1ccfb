// Typed texts a user of each shipped map might enter, each with the station it means, written by
// hand. The search is built over the map's stations in the station picker's order.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/map_file.h"
#include "model/station_name_order.h"
#include "text/name_search.h"
#include "text/utf.h"

namespace qv {
namespace {

struct Query {
    const char* map;
    std::u16string typed;
    std::u16string expected;  // "-" where nothing should be found
};

// Every open station once per line, alphabetically, as the picker lists them.
std::vector<std::u16string> PickerNames(const char* map) {
    NetworkModel model;
    EXPECT_EQ(LoadMapFileAt(model, std::filesystem::path(QV_MAPS_DIR) / map, Settings{}), 0) << map;
    std::vector<std::u16string> names;
    for (const auto& line : model.Lines()) {
        for (const auto& station : line->stations) {
            if (station->IsStation()) {
                names.push_back(station->name);
            }
        }
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return CompareNames(a, b) < 0; });
    return names;
}

const Query kQueries[] = {
    // Е and Ё as one letter, both ways.
    {"moscow.qvn", u"Щёлк", u"Щелковская"},
    {"moscow.qvn", u"Каланчев", u"Каланчёвская"},
    {"moscow.qvn", u"улица академика королев", u"Улица Академика Королёва"},
    {"moscow.qvn", u"Озерн", u"Озёрная"},
    {"saint-petersburg.qvn", u"Черная", u"Чёрная речка"},
    // Typed in the other layout.
    {"moscow.qvn", u"rbtdcrfz", u"Киевская"},
    {"moscow.qvn", u"if,jkjdcrfz", u"Шаболовская"},
    {"moscow.qvn", u",fevfycrfz", u"Бауманская"},
    {"moscow.qvn", u"Ntfnhfkmyfz", u"Театральная"},
    {"moscow.qvn", u"xrfkjdcrfz", u"Чкаловская"},
    {"moscow.qvn", u"'ktrnhjpfdjlcrfz", u"Электрозаводская"},
    {"kyiv.qvn", u"Rhtofnbr", u"Крещатик"},
    {"minsk.qvn", u"ehexmt", u"Уручье"},
    {"london.qvn", u"ифлук", u"Baker Street"},
    {"london.qvn", u"рфььукыьшер", u"Hammersmith"},
    // Latin letters, in the usual spellings.
    {"moscow.qvn", u"kievskaya", u"Киевская"},
    {"moscow.qvn", u"kiyevskaya", u"Киевская"},
    {"moscow.qvn", u"Kievskaia", u"Киевская"},
    {"moscow.qvn", u"KIEVSKAJA", u"Киевская"},
    {"moscow.qvn", u"tsvetnoy", u"Цветной бульвар"},
    {"moscow.qvn", u"cvetnoj", u"Цветной бульвар"},
    {"moscow.qvn", u"tsvetnoy bul'var", u"Цветной бульвар"},
    {"moscow.qvn", u"shchukinskaya", u"Щукинская"},
    {"moscow.qvn", u"schukinskaja", u"Щукинская"},
    {"moscow.qvn", u"shchyolkovskaya", u"Щелковская"},
    {"moscow.qvn", u"zhulebino", u"Жулебино"},
    {"moscow.qvn", u"khovrino", u"Ховрино"},
    {"moscow.qvn", u"hovrino", u"Ховрино"},
    {"moscow.qvn", u"yugo-zapadnaya", u"Юго-Западная"},
    {"moscow.qvn", u"jugo zapadnaja", u"Юго-Западная"},
    {"moscow.qvn", u"iugo-zapadnaia", u"Юго-Западная"},
    {"moscow.qvn", u"maryino", u"Марьино"},
    {"moscow.qvn", u"mar'ino", u"Марьино"},
    {"moscow.qvn", u"marino", u"Марьино"},
    {"moscow.qvn", u"mari", u"Марьина Роща"},
    {"moscow.qvn", u"Alexandrovsky Sad", u"Александровский сад"},
    {"moscow.qvn", u"park kul'tury", u"Парк культуры"},
    {"moscow.qvn", u"VDNKh", u"ВДНХ"},
    {"moscow.qvn", u"molodezhnaya", u"Молодежная"},
    {"moscow.qvn", u"tyoplyy stan", u"Теплый Стан"},
    {"moscow.qvn", u"ulitsa 1905 goda", u"Улица 1905 года"},
    {"moscow.qvn", u"Tret'yakovskaya", u"Третьяковская"},
    {"kyiv.qvn", u"kreshchatik", u"Крещатик"},
    {"kyiv.qvn", u"Geroyev Dnepra", u"Героев Днепра"},
    {"minsk.qvn", u"uruchye", u"Уручье"},
    {"minsk.qvn", u"uruch'e", u"Уручье"},
    {"minsk.qvn", u"Kuncevschina", u"Кунцевщина"},
    {"saint-petersburg.qvn", u"Vasilyeostrovskaya", u"Василеостровская"},
    {"saint-petersburg.qvn", u"ploshchad aleksandra nevskogo", u"Площадь Александра Невского 1"},
    {"kharkiv.qvn", u"23 avgusta", u"23 Августа"},
    {"kharkiv.qvn", u"Yuzhny vokzal", u"Южный вокзал"},
    {"dnipro.qvn", u"Metrostroiteley", u"Метростроителей"},
    // A letter wrong, missing or extra.
    {"moscow.qvn", u"Киевсакя", u"Киевская"},
    {"moscow.qvn", u"Смаленская", u"Смоленская"},
    {"moscow.qvn", u"Тверскаая", u"Тверская"},
    {"moscow.qvn", u"Октябрская", u"Октябрьская"},
    {"moscow.qvn", u"kievskya", u"Киевская"},
    {"moscow.qvn", u"rbtdcrz", u"Киевская"},
    {"kyiv.qvn", u"Khreshchatyk", u"Крещатик"},
    {"minsk.qvn", u"Грушевко", u"Грушевка"},
    {"london.qvn", u"Piccadilly", u"Picadilly Circus"},
    {"london.qvn", u"Kings Cross", u"King's Cross St. Pancras"},
    {"london.qvn", u"Wimbeldon", u"Wimbledon"},
    // Near nothing.
    {"moscow.qvn", u"Жжжжжж", u"-"},
    {"moscow.qvn", u"Кию", u"-"},
    {"london.qvn", u"Zzzzzz", u"-"},
};

TEST(TypedStationQueries, EachLandsOnTheStationItMeans) {
    std::map<std::string, std::vector<std::u16string>> lists;
    for (const Query& query : kQueries) {
        std::vector<std::u16string>& names = lists[query.map];
        if (names.empty()) {
            names = PickerNames(query.map);
        }
        const std::optional<NameFound> found = NameSearch(names).Find(query.typed);
        const std::u16string landing = found ? names.at(found->index) : u"-";
        EXPECT_EQ(landing, query.expected) << query.map << ": " << Utf16ToUtf8(query.typed);
    }
}

}  // namespace
}  // namespace qv
