#include "city_network.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geo.h"
#include "text/utf.h"

namespace qv::import {

namespace {

using Kind = StationFix::Kind;

constexpr std::array kFixes = {
    StationFix{u"Москва", u"Арбатско-Покровская", u"Курская", Kind::MoveBefore,
               u"Площадь Революции",
               "the order lists Площадь Революции before Курская, which makes the line run "
               "back and forth; trains run Бауманская, Курская, Площадь Революции"},
    StationFix{u"Москва", u"Филевская", u"Выставочная", Kind::BranchFrom, u"Киевская",
               "the line forks at Киевская; the order runs on from Александровский сад to "
               "Выставочная, 4 km back west"},
    StationFix{u"Москва", u"Солнцевская", u"Савёловская", Kind::MoveBefore, u"Петровский парк",
               "the order puts Савёловская last, 24 km from Рассказовка, but it lies next to "
               "Петровский парк"},
    StationFix{u"Москва", u"Большая кольцевая линия", u"Савёловская", Kind::MoveBefore,
               u"Петровский парк",
               "the order puts Савёловская after Деловой центр, 5.8 km away, but it lies next "
               "to Петровский парк"},
    StationFix{u"Москва", u"Некрасовская", u"Некрасовка", Kind::MoveBefore, u"Косино",
               "the order runs Косино to Некрасовка and then jumps 6.7 km back to "
               "Юго-Восточная; Некрасовка is the end of the line"},
    StationFix{u"Москва", u"Некрасовская", u"Лухмановская", Kind::MoveBefore, u"Косино",
               "part of the same reversed run"},
    StationFix{u"Москва", u"Некрасовская", u"Улица Дмитриевского", Kind::MoveBefore, u"Косино",
               "part of the same reversed run"},
    StationFix{u"Москва", u"МЦД - 1", u"Сколково", Kind::BetweenNeighbours, u"",
               "its position is 6.2 km and 7.1 km from its neighbours, which are 4.3 km apart"},
    StationFix{u"Москва", u"МЦД - 2", u"Трикотажная", Kind::MoveAfter, u"Волоколамская",
               "the order puts it last, 45 km from Подольск; it lies between Волоколамская and "
               "Тушинская"},
    StationFix{u"Москва", u"МЦД - 2", u"Пенягино", Kind::BetweenNeighbours, u"",
               "its position is 37 km south of both neighbours"},
    StationFix{u"Москва", u"МЦД - 2", u"Покровское", Kind::BetweenNeighbours, u"",
               "its position is that of Покровское-Стрешнево, 25 km away"},
    StationFix{u"Санкт-Петербург", u"Фрунзенско-Приморская", u"Проспект Славы", Kind::MoveBefore,
               u"Дунайская",
               "the order puts it after Дунайская; the line runs Международная, Проспект Славы, "
               "Дунайская, Шушары"},
    StationFix{u"Санкт-Петербург", u"Фрунзенско-Приморская", u"Проспект Славы",
               Kind::BetweenNeighbours, u"", "its position is 70 km south of the city"},
    StationFix{u"Минск", u"Зеленолужская", u"Вокзальная", Kind::MoveBefore, u"Ковальская Слобода",
               "the order puts it first, so that the line ran north, back south past it and on; "
               "trains run Площадь Франтишка Богушевича, Вокзальная, Ковальская Слобода"},
    StationFix{u"Казань", u"Центральная", u"Авиастроительная", Kind::BeyondNeighbour, u"",
               "the end of the line, north of Северный вокзал along улица Копылова, but placed "
               "150 m from Яшьлек, so that the line ran 1.4 km north and 1.5 km back"},
    StationFix{u"Екатеринбург", u"Север-Юг", u"Бажовская", Kind::NotServed, u"",
               "a station never finished, between Геологическая and Чкаловская: trains pass it "
               "without stopping; the data gives it the position of Площадь 1905 года"},
};

struct WorkLine {
    const CityLine* source = nullptr;
    std::vector<int> order;  // positions in source->stations, along the line
    std::vector<GeoPosition> positions;
    std::vector<std::pair<int, int>>
        replacedLinks;  // (from, to) positions replacing the chain link into `to`
};

int FindStation(const WorkLine& line, std::u16string_view name) {
    for (std::size_t i = 0; i < line.source->stations.size(); ++i) {
        if (line.source->stations[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string Where(const City& city, const WorkLine& line, std::u16string_view station) {
    return Utf16ToUtf8(city.name) + ", " + Utf16ToUtf8(line.source->name) + ", " +
           Utf16ToUtf8(station);
}

// Applies one fix; false when the line does not hold what the fix names.
bool ApplyFix(WorkLine& line, const StationFix& fix) {
    const int station = FindStation(line, fix.station);
    const int other = fix.other.empty() ? -1 : FindStation(line, fix.other);
    if (station < 0 || (!fix.other.empty() && (other < 0 || other == station))) {
        return false;
    }
    auto& order = line.order;
    const auto at = [&order](int value) {
        return static_cast<std::size_t>(std::find(order.begin(), order.end(), value) -
                                        order.begin());
    };
    switch (fix.kind) {
        case Kind::MoveBefore:
        case Kind::MoveAfter: {
            order.erase(order.begin() + static_cast<std::ptrdiff_t>(at(station)));
            const std::size_t target = at(other) + (fix.kind == Kind::MoveAfter ? 1 : 0);
            order.insert(order.begin() + static_cast<std::ptrdiff_t>(target), station);
            return true;
        }
        case Kind::BetweenNeighbours: {
            const std::size_t position = at(station);
            if (position == 0 || position + 1 >= order.size()) {
                return false;
            }
            const GeoPosition before =
                line.positions[static_cast<std::size_t>(order[position - 1])];
            const GeoPosition after = line.positions[static_cast<std::size_t>(order[position + 1])];
            line.positions[static_cast<std::size_t>(station)] = {
                (before.latitude + after.latitude) / 2, (before.longitude + after.longitude) / 2};
            return true;
        }
        case Kind::BeyondNeighbour: {
            const std::size_t position = at(station);
            if (order.size() < 3 || (position != 0 && position + 1 != order.size())) {
                return false;
            }
            const bool first = position == 0;
            const GeoPosition neighbour =
                line.positions[static_cast<std::size_t>(order[first ? 1 : position - 1])];
            const GeoPosition next =
                line.positions[static_cast<std::size_t>(order[first ? 2 : position - 2])];
            line.positions[static_cast<std::size_t>(station)] = {
                2 * neighbour.latitude - next.latitude, 2 * neighbour.longitude - next.longitude};
            return true;
        }
        case Kind::NotServed:
            order.erase(order.begin() + static_cast<std::ptrdiff_t>(at(station)));
            return true;
        case Kind::BranchFrom:
            if (at(station) == 0) {
                return false;
            }
            line.replacedLinks.emplace_back(other, station);
            return true;
    }
    return false;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each of the two is among the two stations of the line nearest to the other.
bool AreNeighbours(const std::vector<GeoPosition>& positions, std::size_t a, std::size_t b) {
    const auto rank = [&positions](std::size_t from, std::size_t to) {
        const double distance = DistanceMetres(positions[from], positions[to]);
        int closer = 0;
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (i != from && i != to && DistanceMetres(positions[from], positions[i]) < distance) {
                ++closer;
            }
        }
        return closer;
    };
    return rank(a, b) <= 1 && rank(b, a) <= 1;
}

// The program shows a line as "(NAME линия)", so a name that already ends in the word drops it.
std::u16string ShownLineName(std::u16string_view name) {
    constexpr std::u16string_view kWord = u" линия";
    if (name.size() > kWord.size() && name.ends_with(kWord)) {
        name.remove_suffix(kWord.size());
    }
    return std::u16string(name);
}

}  // namespace

std::span<const StationFix> KnownStationFixes() {
    return kFixes;
}

SourceNetwork BuildCityNetwork(const City& city, std::span<const StationFix> fixes,
                               std::vector<std::string>& notes) {
    SourceNetwork network;
    network.name = city.name;
    for (const CityLine& cityLine : city.lines) {
        WorkLine line;
        line.source = &cityLine;
        for (std::size_t i = 0; i < cityLine.stations.size(); ++i) {
            line.order.push_back(static_cast<int>(i));
            line.positions.push_back(cityLine.stations[i].position);
        }
        for (const StationFix& fix : fixes) {
            if (fix.city != city.name || fix.line != cityLine.name) {
                continue;
            }
            if (ApplyFix(line, fix)) {
                notes.push_back(Where(city, line, fix.station) + ": mended, " +
                                std::string(fix.reason));
            } else {
                notes.push_back(Where(city, line, fix.station) +
                                ": a listed mend found nothing to mend");
            }
        }

        const int first = static_cast<int>(network.stations.size());
        for (std::size_t i = 0; i < cityLine.stations.size(); ++i) {
            const CityStation& station = cityLine.stations[i];
            network.stations.push_back({station.id, station.name, line.positions[i]});
        }
        SourceLine sourceLine{ShownLineName(cityLine.name), cityLine.colour, {}};
        std::vector<double> lengths;
        for (std::size_t i = 1; i < line.order.size(); ++i) {
            int from = line.order[i - 1];
            const int to = line.order[i];
            for (const auto& [branchFrom, branchTo] : line.replacedLinks) {
                if (branchTo == to) {
                    from = branchFrom;
                }
            }
            sourceLine.links.push_back({first + from, first + to, std::nullopt});
            lengths.push_back(DistanceMetres(line.positions[static_cast<std::size_t>(from)],
                                             line.positions[static_cast<std::size_t>(to)]));
        }
        const double median = Median(lengths);
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            if (lengths[i] > kSuspiciousLinkMetres && lengths[i] > 3 * median) {
                const SourceLink& link = sourceLine.links[i];
                notes.push_back(
                    Utf16ToUtf8(city.name) + ", " + Utf16ToUtf8(cityLine.name) + ": " +
                    Utf16ToUtf8(network.stations[static_cast<std::size_t>(link.from)].name) +
                    " to " + Utf16ToUtf8(network.stations[static_cast<std::size_t>(link.to)].name) +
                    " is " + FormatKilometres(lengths[i]) +
                    ", suspicious but left as the data has it");
            }
        }
        std::vector<GeoPosition> served;
        for (const int station : line.order) {
            served.push_back(line.positions[static_cast<std::size_t>(station)]);
        }
        const bool plainChain = line.replacedLinks.empty();
        if (plainChain && served.size() >= 4 && AreNeighbours(served, 0, served.size() - 1)) {
            sourceLine.links.push_back(
                {first + line.order.back(), first + line.order.front(), std::nullopt});
        }
        network.lines.push_back(std::move(sourceLine));
    }
    return network;
}

}  // namespace qv::import
