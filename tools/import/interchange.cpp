#include "interchange.h"

#include <array>
#include <set>

#include "geo.h"
#include "model/station_name_order.h"

namespace qv::import {

namespace {

constexpr std::array kExceptions = {
    InterchangeException{u"Москва", u"Лубянка", u"Площадь Революции", false,
                         "395 m apart but no passage joins them"},
    InterchangeException{u"Москва", u"Театральная", u"Лубянка", false,
                         "494 m apart, two stops apart on the lines between them"},
    InterchangeException{u"Москва", u"Охотный ряд", u"Площадь Революции", false,
                         "459 m apart; the way between them is through Театральная"},
    InterchangeException{u"Москва", u"Шелепиха", u"Тестовская", false,
                         "489 m apart across the railway, with no transfer between them"},
    InterchangeException{u"London", u"Bank", u"Monument", true,
                         "one station complex with two names, joined by escalators"},
};

// The name folded as the station list compares letters, without a trailing number or spaces.
std::u16string BareName(std::u16string_view name) {
    std::u16string folded = FoldedName(name);
    while (!folded.empty() &&
           (folded.back() == u' ' || (folded.back() >= u'0' && folded.back() <= u'9'))) {
        folded.pop_back();
    }
    return folded;
}

bool Names(const InterchangeException& exception, std::u16string_view a, std::u16string_view b) {
    return (exception.first == a && exception.second == b) ||
           (exception.first == b && exception.second == a);
}

}  // namespace

std::span<const InterchangeException> KnownInterchangeExceptions() {
    return kExceptions;
}

InterchangeRules CityInterchangeRules() {
    return {500, 1000};
}

InterchangeRules LondonInterchangeRules() {
    return {0, 0};
}

bool SameStationName(std::u16string_view a, std::u16string_view b) {
    return BareName(a) == BareName(b);
}

std::vector<StationPair> FindInterchanges(const SourceNetwork& network,
                                          const InterchangeRules& rules,
                                          std::span<const InterchangeException> exceptions) {
    std::vector<std::set<int>> lines(network.stations.size());
    for (std::size_t line = 0; line < network.lines.size(); ++line) {
        for (const SourceLink& link : network.lines[line].links) {
            lines[static_cast<std::size_t>(link.from)].insert(static_cast<int>(line));
            lines[static_cast<std::size_t>(link.to)].insert(static_cast<int>(line));
        }
    }
    const auto shareLine = [&lines](std::size_t a, std::size_t b) {
        for (const int line : lines[a]) {
            if (lines[b].contains(line)) {
                return true;
            }
        }
        return false;
    };
    std::vector<StationPair> pairs;
    for (std::size_t a = 0; a < network.stations.size(); ++a) {
        for (std::size_t b = a + 1; b < network.stations.size(); ++b) {
            const SourceStation& first = network.stations[a];
            const SourceStation& second = network.stations[b];
            if (lines[a].empty() || lines[b].empty() || shareLine(a, b)) {
                continue;
            }
            const double metres = DistanceMetres(first.position, second.position);
            bool joined = metres < rules.nearMetres || (metres < rules.sameNameMetres &&
                                                        SameStationName(first.name, second.name));
            for (const InterchangeException& exception : exceptions) {
                if (exception.city == network.name && Names(exception, first.name, second.name)) {
                    joined = exception.joined;
                }
            }
            if (joined) {
                pairs.push_back({static_cast<int>(a), static_cast<int>(b), metres});
            }
        }
    }
    return pairs;
}

}  // namespace qv::import
