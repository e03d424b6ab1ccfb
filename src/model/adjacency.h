#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace qv {

// Which point a route may step to from which, as sorted neighbour lists: memory grows with points
// plus links.
class Adjacency {
  public:
    using Link = std::pair<std::int32_t, std::int32_t>;

    // Links naming a point outside 0..pointCount-1 are dropped; repeated links count once.
    void Build(std::int32_t pointCount, std::vector<Link> links);
    void Reset() { Build(0, {}); }

    std::int32_t PointCount() const { return static_cast<std::int32_t>(rowStart_.size()) - 1; }
    std::int32_t LinkCount() const { return static_cast<std::int32_t>(neighbours_.size()); }
    bool Joined(std::int32_t from, std::int32_t to) const;
    // In increasing index order.
    std::span<const std::int32_t> Neighbours(std::int32_t from) const;

  private:
    std::vector<std::int32_t> rowStart_{0};
    std::vector<std::int32_t> neighbours_;
};

}  // namespace qv
