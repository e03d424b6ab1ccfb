#include "model/adjacency.h"

#include <algorithm>

namespace qv {

void Adjacency::Build(std::int32_t pointCount, std::vector<Link> links) {
    const auto inRange = [pointCount](std::int32_t point) {
        return point >= 0 && point < pointCount;
    };
    std::erase_if(links,
                  [&](const Link& link) { return !inRange(link.first) || !inRange(link.second); });
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());

    rowStart_.assign(static_cast<std::size_t>(std::max(pointCount, 0)) + 1, 0);
    neighbours_.clear();
    neighbours_.reserve(links.size());
    for (const Link& link : links) {
        ++rowStart_[static_cast<std::size_t>(link.first) + 1];
        neighbours_.push_back(link.second);
    }
    for (std::size_t row = 1; row < rowStart_.size(); ++row) {
        rowStart_[row] += rowStart_[row - 1];
    }
}

std::span<const std::int32_t> Adjacency::Neighbours(std::int32_t from) const {
    if (from < 0 || from >= PointCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(from);
    return std::span(neighbours_)
        .subspan(static_cast<std::size_t>(rowStart_[row]),
                 static_cast<std::size_t>(rowStart_[row + 1] - rowStart_[row]));
}

bool Adjacency::Joined(std::int32_t from, std::int32_t to) const {
    const std::span<const std::int32_t> row = Neighbours(from);
    return std::binary_search(row.begin(), row.end(), to);
}

}  // namespace qv
