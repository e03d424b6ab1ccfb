// libFuzzer target: any bytes as a map file, through decoding, parsing, indexing and one search,
// on maps of every size the input can hold: the search's budgets and its exact fallback bound
// each input's time and memory.

#include <cstddef>
#include <cstdint>

#include "fuzz_map.h"
#include "route/route_finder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::NetworkModel model;
    if (!qv::fuzzing::LoadFuzzedMap(data, size, model)) {
        return 0;
    }
    const std::int32_t count = model.StationCount();
    if (count > 0) {
        model.settings.algorithm = size % 2 == 0 ? 0 : 1;
        (void)qv::SearchRoute(model, 0, count - 1);
    }
    return 0;
}
