#include "square_cells.h"

#include <algorithm>

namespace qv::import::schematic {

SquareCells::SquareCells(int side, const std::vector<std::size_t>& counts) : side_(side) {
    for (const std::size_t count : counts) {
        seen_.emplace_back(count, 0);
    }
}

void SquareCells::Put(Thing thing, GridPoint low, GridPoint high) {
    for (int y = Cell(low.y); y <= Cell(high.y); ++y) {
        for (int x = Cell(low.x); x <= Cell(high.x); ++x) {
            cells_[Key(x, y)].push_back(thing);
        }
    }
}

void SquareCells::Remove(Thing thing, GridPoint low, GridPoint high) {
    for (int y = Cell(low.y); y <= Cell(high.y); ++y) {
        for (int x = Cell(low.x); x <= Cell(high.x); ++x) {
            std::vector<Thing>& cell = cells_[Key(x, y)];
            cell.erase(std::find(cell.begin(), cell.end(), thing));
        }
    }
}

}  // namespace qv::import::schematic
