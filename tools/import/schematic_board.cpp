#include "schematic_board.h"

#include <algorithm>

namespace qv::import::schematic {

bool EdgeFree(const Board& board, int node, int direction) {
    if (board.edgeUsed[static_cast<std::size_t>(node * 8 + direction)]) {
        return false;
    }
    if (direction % 2 == 1) {
        const GridPoint p = board.At(node);
        const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
        const GridPoint corner{p.x + step.x, p.y};
        const int crossing = DirectionOf(corner, {p.x, p.y + step.y});
        if (board.edgeUsed[static_cast<std::size_t>(board.Node(corner) * 8 + crossing)]) {
            return false;
        }
    }
    return true;
}

void Place(Board& board, int place, int node) {
    board.nodeOf[static_cast<std::size_t>(place)] = node;
    board.station[static_cast<std::size_t>(node)] = place;
}

void Unplace(Board& board, int place) {
    int& node = board.nodeOf[static_cast<std::size_t>(place)];
    if (node >= 0) {
        board.station[static_cast<std::size_t>(node)] = -1;
        node = -1;
    }
}

void Mark(Board& board, const Run& run, int index, bool on, std::array<double, 2> headings) {
    const auto flag = [on](int& mask, int d) { mask = on ? mask | (1 << d) : mask & ~(1 << d); };
    const auto port = [&](int node, int d, double heading) {
        flag(board.ports[static_cast<std::size_t>(node)], d);
        if (on) {
            board.portChains[node][d] = run.chains;
            board.portHeading[node][d] = heading;
        } else {
            board.portChains[node].erase(d);
            board.portHeading[node].erase(d);
            if (board.portChains[node].empty()) {
                board.portChains.erase(node);
                board.portHeading.erase(node);
            }
        }
    };
    const std::size_t size = run.path.size();
    for (std::size_t i = 0; i + 1 < size; ++i) {
        const int a = board.Node(run.path[i]);
        const int b = board.Node(run.path[i + 1]);
        const int d = DirectionOf(run.path[i], run.path[i + 1]);
        const auto ahead = static_cast<std::size_t>(a * 8 + d);
        const auto back = static_cast<std::size_t>(b * 8 + Opposite(d));
        board.edgeUsed[ahead] = on;
        board.edgeUsed[back] = on;
        if (i > 0) {
            flag(board.through[static_cast<std::size_t>(a)], d);
            board.passedBy[ahead] = on ? index : -1;
        } else {
            port(a, d, headings[0]);
        }
        if (i + 2 < size) {
            flag(board.through[static_cast<std::size_t>(b)], Opposite(d));
            board.passedBy[back] = on ? index : -1;
        } else {
            port(b, Opposite(d), headings[1]);
        }
    }
}

void Lift(Board& board, const Run& run, int index) {
    Mark(board, run, index, false, {});
    for (std::size_t i = 1; i + 1 < run.places.size(); ++i) {
        Unplace(board, run.places[i]);
    }
}

Box Around(std::span<const Run> runs, std::span<const std::size_t> chosen, Box box) {
    for (const std::size_t index : chosen) {
        for (const GridPoint& p : runs[index].path) {
            box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
                   std::max(box.bottom, p.y)};
        }
    }
    return box;
}

}  // namespace qv::import::schematic
