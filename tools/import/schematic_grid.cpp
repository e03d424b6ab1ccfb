#include "schematic_grid.h"

#include <algorithm>
#include <cstdlib>

namespace qv::import::schematic {

int Opposite(int direction) {
    return (direction + 4) % 8;
}

int Change(int from, int to) {
    const int d = std::abs(from - to) % 8;
    return std::min(d, 8 - d);
}

int DirectionOf(GridPoint from, GridPoint to) {
    const GridPoint step{(to.x > from.x) - (to.x < from.x), (to.y > from.y) - (to.y < from.y)};
    for (int d = 0; d < 8; ++d) {
        if (kSteps[static_cast<std::size_t>(d)] == step) {
            return d;
        }
    }
    return kNoDirection;
}

}  // namespace qv::import::schematic
