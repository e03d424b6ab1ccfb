#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct Line;

// Kinds of point. Letters other than these are further kinds that only the renderer tells apart.
inline constexpr std::int16_t kStationKind = 'S';
inline constexpr std::int16_t kForbiddenKind = 'F';
inline constexpr std::int16_t kShapePointKind = 'P';
inline constexpr std::int16_t kMarkedPointKind = 'B';

// One point of a line: a station, or a point of the line's course.
struct Station {
    std::u16string name{};
    std::u16string labelText{};  // empty = no label
    std::int32_t labelAlign = 1;
    std::int32_t index = 0;    // number in the station index
    std::int32_t runTime = 0;  // minutes to the next point of the line, in the line's order
    std::int16_t kind = kStationKind;
    std::int32_t x = 0;
    std::int32_t y = 0;
    Line* line = nullptr;     // the owning line
    std::int32_t labelX = 0;  // label anchor, absolute map coordinates
    std::int32_t labelY = 0;

    bool IsStation() const { return kind == kStationKind; }
};

// Swaps a station between open and forbidden; other kinds of point stay as they are.
inline bool ToggleForbidden(Station& point) {
    if (point.kind != kStationKind && point.kind != kForbiddenKind) {
        return false;
    }
    point.kind = point.kind == kStationKind ? kForbiddenKind : kStationKind;
    return true;
}

}  // namespace qv
