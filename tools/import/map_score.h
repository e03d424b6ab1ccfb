#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/network_model.h"

namespace qv::import {

// How schematic a loaded map is drawn, and, against another drawing of the same network (its
// geographic map), how true to it. The definitions are in docs/maps.md.
struct MapScore {
    int places = 0;
    int links = 0;                // pairs of neighbouring stations of a line record
    double drawnLength = 0;       // map units, all line records
    double octilinearLength = 0;  // of that, in segments at a multiple of 45 degrees
    int bends = 0;                // points where a line changes direction
    int sharpTurns = 0;           // of those, with an inside angle of 45 degrees or less
    int falseStops = 0;           // (line number, place) pairs: drawn over a disc it does not serve
    int keptLinks = 0;            // links no part of which lies on another link
    double nearestPlaces = 0;     // map units between the closest stations of two places
    int zoomFactor = 1;
    int labels = 0;
    int labelOverlaps = 0;     // pairs of label boxes that overlap, at the labels' scale
    int labelsOverDiscs = 0;   // labels over the disc of a station they do not name
    int labelsAlongLines = 0;  // labels a line runs inside for more than 1.5 text heights
    int crossings = 0;         // pairs of links without a common place that cross

    bool compared = false;    // the fields below are filled
    int unmatchedPlaces = 0;  // places (or links) the other map does not have
    int unmatchedLinks = 0;
    int crossingsAdded = 0;
    int crossingsLost = 0;
    // Crossings drawn otherwise where the other map draws one of the two links over a place at
    // an end of the other: there it leaves open on which side the place lies. Not counted as
    // added or lost.
    int crossingsOpen = 0;
    int orderChanged = 0;  // places whose neighbours lie around them in another order
    // Places whose neighbours lie otherwise only in pairs whose order the other map leaves open,
    // the link to one passing over the other. Not counted as changed.
    int ordersOpen = 0;
    double meanDisplacement = 0;  // in mean link lengths of the other map, after a fit
    double maxDisplacement = 0;

    // Each sharp turn, line through a station, link on another's track, crossing added or lost
    // (or left open) and place with its neighbours in another order (or left open), named:
    // "crossing added: 5 Киевская - Парк Победы x 6 Фили - Кутузовская".
    std::vector<std::string> faults;
};

MapScore ScoreMap(const NetworkModel& map);
MapScore ScoreMap(const NetworkModel& map, const NetworkModel& against);

}  // namespace qv::import
