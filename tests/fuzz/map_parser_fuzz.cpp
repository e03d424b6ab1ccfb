// libFuzzer target: any bytes as a map file, through decoding, parsing, indexing and one search.

#include <cstddef>
#include <cstdint>

#include "fuzz_map.h"
#include "route/route_finder.h"

namespace {

// Searches on larger fuzzed networks take long without finding more.
constexpr std::int32_t kMaxSearchedPoints = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::NetworkModel model;
    if (!qv::fuzzing::LoadFuzzedMap(data, size, model)) {
        return 0;
    }
    const std::int32_t count = model.StationCount();
    if (count > 0 && count <= kMaxSearchedPoints) {
        model.settings.algorithm = size % 2 == 0 ? 0 : 1;
        (void)qv::SearchRoute(model, 0, count - 1);
    }
    return 0;
}
