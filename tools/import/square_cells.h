#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "schematic_records.h"

namespace qv::import::schematic {

// Things of a layout (stations, or links by their boxes) by the square cells of the map they
// reach, each named by its chain and its number there: a look round a spot or over a box reads
// the cells it covers, not every thing.
class SquareCells {
  public:
    using Thing = std::pair<std::size_t, std::size_t>;  // chain, number

    // `counts`: per chain, how many things it has.
    SquareCells(int side, const std::vector<std::size_t>& counts);

    // A thing reaching from `low` to `high`; taken out again with the same corners.
    void Put(Thing thing, GridPoint low, GridPoint high);
    void Remove(Thing thing, GridPoint low, GridPoint high);

    // Calls visit(chain, number) once for each thing put in a cell that the box from `low` to
    // `high` reaches: every thing whose box meets it, and some nearby.
    template <typename Visit>
    void ForEachIn(GridPoint low, GridPoint high, Visit visit) const {
        ++visit_;
        for (int y = Cell(low.y); y <= Cell(high.y); ++y) {
            for (int x = Cell(low.x); x <= Cell(high.x); ++x) {
                const auto cell = cells_.find(Key(x, y));
                if (cell == cells_.end()) {
                    continue;
                }
                for (const auto& [c, i] : cell->second) {
                    if (seen_[c][i] != visit_) {
                        seen_[c][i] = visit_;
                        visit(c, i);
                    }
                }
            }
        }
    }

  private:
    int Cell(int v) const { return v >= 0 ? v / side_ : -((side_ - 1 - v) / side_); }
    static std::int64_t Key(int x, int y) {
        return (static_cast<std::int64_t>(x) << 32) ^ static_cast<std::uint32_t>(y);
    }

    int side_;
    std::unordered_map<std::int64_t, std::vector<Thing>> cells_;
    mutable std::vector<std::vector<unsigned>> seen_;  // per thing, the last visit that met it
    mutable unsigned visit_ = 0;
};

}  // namespace qv::import::schematic
