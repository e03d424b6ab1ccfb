#pragma once

#include <cstdint>
#include <memory>

#include "model/network_model.h"

namespace qv::bench {

// A metro-like network: lines wander across a grid with a station every few units, one line in
// five a ring, one point in ten a shape point; `transfers` records join stations of different
// lines that lie close together.
std::unique_ptr<NetworkModel> MakeGeneratedMetro(std::int32_t points, std::int32_t transfers,
                                                 std::uint32_t seed);

// A grid: `rows` lines across and `columns` lines down, a transfer at every crossing. The most
// points a map may hold make it the largest search a user can ask for.
std::unique_ptr<NetworkModel> MakeGridMetro(std::int32_t rows, std::int32_t columns);

// A ladder of `lines` parallel lines of `stations` stations each, every line joined to the next by
// transfers at two stations, the last line standing apart: its stations reach no other line.
std::unique_ptr<NetworkModel> MakeLadderMetro(std::int32_t lines, std::int32_t stations);

}  // namespace qv::bench
