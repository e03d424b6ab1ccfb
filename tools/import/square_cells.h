#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
        // Cells outside the window hold nothing.
        const int top = std::max(Cell(low.y), first_.y);
        const int bottom = std::min(Cell(high.y), first_.y + rows_ - 1);
        const int left = std::max(Cell(low.x), first_.x);
        const int right = std::min(Cell(high.x), first_.x + columns_ - 1);
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                for (const auto& [c, i] : cells_[Index(x, y)]) {
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
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y - first_.y) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(x - first_.x);
    }
    // Widens the window to take in the cells from (x0, y0) to (x1, y1).
    void Cover(int x0, int y0, int x1, int y1);

    int side_;
    // The cells of a window of the map, row by row: a look-up by hashing was a tenth of the
    // slides' time.
    GridPoint first_{0, 0};  // the window's first cell
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::vector<Thing>> cells_;
    mutable std::vector<std::vector<unsigned>> seen_;  // per thing, the last visit that met it
    mutable unsigned visit_ = 0;
};

}  // namespace qv::import::schematic
