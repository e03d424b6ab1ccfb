#include "schematic_board.h"

#include <algorithm>

namespace qv::import::schematic {

namespace {

// Whether the grid edge of a step that stays on the board is free: unused, and for a diagonal,
// the other diagonal of its square too.
bool EdgeFree(const Board& board, int node, int direction) {
    if (board.edgeUsed[static_cast<std::size_t>(node * 8 + direction)]) {
        return false;
    }
    if (direction % 2 == 1) {
        // The square's other diagonal leaves the node beside this one, in the same row.
        const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
        const int crossing = DirectionOf({step.x, 0}, {0, step.y});
        if (board.edgeUsed[static_cast<std::size_t>((node + step.x) * 8 + crossing)]) {
            return false;
        }
    }
    return true;
}

// Sets the bit of `open` for the step from `node` by `direction` and the one for the step back.
void Refresh(Board& board, int node, int direction) {
    const GridPoint p = board.At(node);
    const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
    const GridPoint q{p.x + step.x, p.y + step.y};
    if (q.x < 0 || q.y < 0 || q.x >= board.width || q.y >= board.height) {
        return;
    }
    const auto set = [&board](int at, int d, bool on) {
        std::uint8_t& bits = board.open[static_cast<std::size_t>(at)];
        bits = static_cast<std::uint8_t>(on ? bits | (1 << d) : bits & ~(1 << d));
    };
    const int other = board.Node(q);
    set(node, direction, EdgeFree(board, node, direction));
    set(other, Opposite(direction), EdgeFree(board, other, Opposite(direction)));
}

}  // namespace

Board MakeBoard(int width, int height, std::size_t places) {
    Board board;
    board.width = width;
    board.height = height;
    const auto nodes = static_cast<std::size_t>(width * height);
    board.edgeUsed.assign(nodes * 8, false);
    board.open.assign(nodes, 0);
    for (int node = 0; node < width * height; ++node) {
        for (int d = 0; d < 8; ++d) {
            Refresh(board, node, d);
        }
    }
    board.through.assign(nodes, 0);
    board.station.assign(nodes, -1);
    board.passedBy.assign(nodes * 8, -1);
    board.ports.assign(nodes, 0);
    board.nodeOf.assign(places, -1);
    return board;
}

bool CrossesStraight(int mask, int direction) {
    for (int d = 0; d < 4; ++d) {
        if (mask == ((1 << d) | (1 << (d + 4))) && d != direction % 4) {
            return true;
        }
    }
    return false;
}

bool MayJoin(const Board& board, const std::vector<int>& from, const std::vector<int>& to,
             const std::function<bool(int)>& leaves, const std::function<bool(int)>& enters) {
    // Searched from both ends, a layer of the smaller side at a time: an end shut in a small
    // pocket is found out after that pocket.
    const auto nodes = static_cast<std::size_t>(board.width * board.height);
    std::vector<char> seen(nodes, 0);  // 1 reached from `from`, 2 from `to`
    std::vector<char> end(nodes, 0);   // 1 in `from`, 2 in `to`
    for (const int node : from) {
        end[static_cast<std::size_t>(node)] |= 1;
        seen[static_cast<std::size_t>(node)] = 1;
    }
    for (const int node : to) {
        end[static_cast<std::size_t>(node)] |= 2;
        seen[static_cast<std::size_t>(node)] = 2;
    }
    std::vector<int> ahead = from;
    std::vector<int> behind = to;
    const auto neighbour = [&](int node, int direction) {
        const GridPoint p = board.At(node);
        const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
        const GridPoint q{p.x + step.x, p.y + step.y};
        return q.x >= 0 && q.y >= 0 && q.x < board.width && q.y < board.height ? board.Node(q) : -1;
    };
    // A step from `p` onto `q` by `direction`: over a free edge, leaving a start by a port it
    // allows, and entering an end by a port it allows or else a node a run may go on from.
    const auto allowed = [&](int p, int direction, int q) {
        const auto at = static_cast<std::size_t>(q);
        return board.Open(p, direction) &&
               ((end[static_cast<std::size_t>(p)] & 1) == 0 || leaves(direction)) &&
               ((end[at] & 2) != 0
                    ? enters(Opposite(direction))
                    : board.station[at] < 0 && (board.through[at] == 0 ||
                                                CrossesStraight(board.through[at], direction)));
    };
    // Grows the side marked `side` (1 from `from` onwards, 2 from `to` back) by a layer of
    // steps; whether it met the other side.
    std::vector<int> next;
    const auto grow = [&](std::vector<int>& frontier, char side) {
        const char other = static_cast<char>(3 - side);
        next.clear();
        for (const int node : frontier) {
            for (int d = 0; d < 8; ++d) {
                const int q = neighbour(node, side == 1 ? d : Opposite(d));
                if (q < 0 || !(side == 1 ? allowed(node, d, q) : allowed(q, d, node))) {
                    continue;
                }
                const auto at = static_cast<std::size_t>(q);
                if ((end[at] & other) != 0 || seen[at] == other) {
                    return true;
                }
                if (seen[at] == side || board.station[at] >= 0) {
                    continue;
                }
                seen[at] = side;
                next.push_back(q);
            }
        }
        std::swap(frontier, next);
        return false;
    };
    while (!ahead.empty() && !behind.empty()) {
        if (ahead.size() <= behind.size() ? grow(ahead, 1) : grow(behind, 2)) {
            return true;
        }
    }
    return false;
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
        Refresh(board, a, d);
        if (d % 2 == 1) {
            // The other diagonal of the square, from the node beside `a` in its row.
            const int beside = a + kSteps[static_cast<std::size_t>(d)].x;
            Refresh(board, beside,
                    DirectionOf(board.At(beside), {run.path[i].x, run.path[i + 1].y}));
        }
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
