#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/map_file.h"

namespace qv::fuzzing {

// The fuzzer's bytes as a map file, parsed and indexed; false when the map is refused.
inline bool LoadFuzzedMap(const std::uint8_t* data, std::size_t size, NetworkModel& model) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::u16string> text = DecodeMapBytes(bytes);
    if (!text || ParseMapText(model, *text) != 0) {
        return false;
    }
    model.BuildStationIndex();
    return true;
}

}  // namespace qv::fuzzing
