#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/line.h"

namespace qv::import {

// Everything a map file holds, ready to be written.
struct DraftPoint {
    char16_t kind = u'S';  // 'S' a station, 'P' a corner of the line
    std::u16string name;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t runTime = 0;
    std::u16string labelText;  // empty = no label
    std::int32_t labelX = 0;
    std::int32_t labelY = 0;
    std::int32_t labelAlign = 1;
};

struct DraftLine {
    std::int32_t number = 0;
    std::u16string name;
    Colour colour = 0;
    bool isRing = false;
    std::int32_t waitTime = 0;
    std::vector<DraftPoint> points;
};

struct DraftScheme {
    std::u16string name;
    std::int32_t zoomFactor = 1;
    std::int32_t labelMinZoom = 1;
    std::int32_t lineWidth = 2;
    std::int32_t stationRadius = 2;
    std::int32_t outlineWidth = 1;
    Colour routeColour = 0xFF00FF;
    std::int32_t labelFontHeight = -8;
    Colour labelColour = 0x000000;
    std::int32_t labelHalo = 1;
    std::int32_t stationStyle = 1;
    std::vector<DraftLine> lines;
    std::vector<Transfer> transfers;
    std::u16string tabLetters;
};

}  // namespace qv::import
