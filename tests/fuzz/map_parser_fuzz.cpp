// libFuzzer target: any bytes as a map file, through decoding, parsing, indexing and one search.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/map_file.h"
#include "route/route_finder.h"

namespace {

// Searches on larger fuzzed networks take long without finding more.
constexpr std::int32_t kMaxSearchedPoints = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::u16string> text = qv::DecodeMapBytes(bytes);
    if (!text) {
        return 0;
    }
    qv::NetworkModel model;
    qv::MapError error;
    if (qv::ParseMapText(model, *text, &error) != 0) {
        return 0;
    }
    model.BuildStationIndex();
    const std::int32_t count = model.StationCount();
    if (count > 0 && count <= kMaxSearchedPoints) {
        model.settings.algorithm = size % 2 == 0 ? 0 : 1;
        (void)qv::SearchRoute(model, 0, count - 1);
    }
    return 0;
}
