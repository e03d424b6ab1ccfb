#include "link_check.h"

#include <algorithm>
#include <set>
#include <utility>

#include "text/utf.h"

namespace qv::import {

std::string CheckLinks(const SourceNetwork& network) {
    bool any = false;
    for (const SourceLine& line : network.lines) {
        std::set<std::pair<int, int>> seen;
        for (const SourceLink& link : line.links) {
            const auto count = static_cast<int>(network.stations.size());
            if (link.from < 0 || link.from >= count || link.to < 0 || link.to >= count ||
                link.from == link.to) {
                return Utf16ToUtf8(line.name) + ": a link does not join two stations";
            }
            if (!seen.insert(std::minmax(link.from, link.to)).second) {
                return Utf16ToUtf8(line.name) + ": " +
                       Utf16ToUtf8(network.stations[static_cast<std::size_t>(link.from)].name) +
                       " and " +
                       Utf16ToUtf8(network.stations[static_cast<std::size_t>(link.to)].name) +
                       " are linked twice";
            }
            any = true;
        }
    }
    return any ? std::string() : "no line joins two stations";
}

}  // namespace qv::import
