#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <span>
#include <vector>

#include "schematic_grid.h"

// What the runs routed so far hold of the grid.
namespace qv::import::schematic {

struct Board {
    int width = 0;
    int height = 0;
    std::vector<bool> edgeUsed;  // per node and direction
    // Per node: the directions of the grid edges leaving it that stay on the board and are free
    // (unused, and for a diagonal the square's other diagonal too), kept with edgeUsed by Mark:
    // the route search asks for every step it weighs.
    std::vector<std::uint8_t> open;
    std::vector<int> through;   // per node: directions of runs passing it
    std::vector<int> passedBy;  // per node and direction: the run passing it that way, or -1
    std::vector<int> station;   // per node: the place drawn there, or -1
    std::vector<int> ports;     // per node: directions runs leave a station by
    std::map<int, std::map<int, std::vector<int>>> portChains;  // per station node and port
    std::map<int, std::map<int, double>> portHeading;           // per station node and port
    std::vector<int> nodeOf;                                    // per place, or -1

    int Node(GridPoint p) const { return p.y * width + p.x; }
    GridPoint At(int node) const { return {node % width, node / width}; }
    bool Open(int node, int direction) const {
        return ((open[static_cast<std::size_t>(node)] >> direction) & 1) != 0;
    }
};

// An empty board of `width` x `height` nodes for `places` places.
Board MakeBoard(int width, int height, std::size_t places);

// Whether a run stepping `direction` onto a node other runs pass (`mask`, their directions)
// crosses one of them straight over, as it must.
bool CrossesStraight(int mask, int direction);

// Whether a way from one of the nodes `from` to one of `to` might be free: over free grid edges
// and nodes, leaving by a port `leaves` allows, entering by one `enters` allows (ports as seen
// from the end), crossing runs only straight over. A way found here may still bend where it may
// not; a way not found here does not exist.
bool MayJoin(const Board& board, const std::vector<int>& from, const std::vector<int>& to,
             const std::function<bool(int)>& leaves, const std::function<bool(int)>& enters);

void Place(Board& board, int place, int node);
void Unplace(Board& board, int place);

// Puts run number `index`'s path on the board (or takes it off), its stations along it not;
// `headings` are those of its first and last link from its ends.
void Mark(Board& board, const Run& run, int index, bool on, std::array<double, 2> headings);

// Takes the run's path and the stations along it off the board.
void Lift(Board& board, const Run& run, int index);

struct Box {
    int left = std::numeric_limits<int>::max();
    int top = std::numeric_limits<int>::max();
    int right = std::numeric_limits<int>::min();
    int bottom = std::numeric_limits<int>::min();
};

// `box` grown to take the nodes of the paths of the runs numbered `chosen`.
Box Around(std::span<const Run> runs, std::span<const std::size_t> chosen, Box box = Box{});

}  // namespace qv::import::schematic
