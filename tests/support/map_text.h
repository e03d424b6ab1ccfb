#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "model/map_parser.h"
#include "model/network_model.h"

namespace qv::testing {

inline std::u16string MapText(std::initializer_list<std::u16string_view> lines) {
    std::u16string text;
    for (const std::u16string_view line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

// Parses and builds the station index, as a load does.
inline int LoadText(NetworkModel& model, std::u16string_view text, MapError* error = nullptr) {
    const int result = ParseMapText(model, text, error);
    if (result == 0) {
        model.BuildStationIndex();
    }
    return result;
}

}  // namespace qv::testing
