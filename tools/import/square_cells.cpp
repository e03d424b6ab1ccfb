#include "square_cells.h"

#include <algorithm>

namespace qv::import::schematic {

SquareCells::SquareCells(int side, const std::vector<std::size_t>& counts) : side_(side) {
    for (const std::size_t count : counts) {
        seen_.emplace_back(count, 0);
    }
}

void SquareCells::Put(Thing thing, GridPoint low, GridPoint high) {
    Cover(Cell(low.x), Cell(low.y), Cell(high.x), Cell(high.y));
    for (int y = Cell(low.y); y <= Cell(high.y); ++y) {
        for (int x = Cell(low.x); x <= Cell(high.x); ++x) {
            cells_[Index(x, y)].push_back(thing);
        }
    }
}

void SquareCells::Remove(Thing thing, GridPoint low, GridPoint high) {
    for (int y = Cell(low.y); y <= Cell(high.y); ++y) {
        for (int x = Cell(low.x); x <= Cell(high.x); ++x) {
            std::vector<Thing>& cell = cells_[Index(x, y)];
            cell.erase(std::find(cell.begin(), cell.end(), thing));
        }
    }
}

void SquareCells::Cover(int x0, int y0, int x1, int y1) {
    if (columns_ > 0 && x0 >= first_.x && y0 >= first_.y && x1 < first_.x + columns_ &&
        y1 < first_.y + rows_) {
        return;
    }
    // Grown with room to spare, as things slide a little beyond the map's first points.
    constexpr int kSpare = 8;
    GridPoint first{x0 - kSpare, y0 - kSpare};
    GridPoint last{x1 + kSpare, y1 + kSpare};
    if (columns_ > 0) {
        first = {std::min(first.x, first_.x), std::min(first.y, first_.y)};
        last = {std::max(last.x, first_.x + columns_ - 1), std::max(last.y, first_.y + rows_ - 1)};
    }
    const int columns = last.x - first.x + 1;
    const int rows = last.y - first.y + 1;
    std::vector<std::vector<Thing>> cells(static_cast<std::size_t>(columns) *
                                          static_cast<std::size_t>(rows));
    for (int y = 0; y < rows_; ++y) {
        for (int x = 0; x < columns_; ++x) {
            const int cx = first_.x + x;
            const int cy = first_.y + y;
            cells[static_cast<std::size_t>(cy - first.y) * static_cast<std::size_t>(columns) +
                  static_cast<std::size_t>(cx - first.x)] = std::move(cells_[Index(cx, cy)]);
        }
    }
    cells_ = std::move(cells);
    first_ = first;
    columns_ = columns;
    rows_ = rows;
}

}  // namespace qv::import::schematic
