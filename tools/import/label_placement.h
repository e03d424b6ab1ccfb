#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pocket/shell_layout.h"

namespace qv::import {

// Another label whose station is joined to this one's by a straight stretch of line, heading
// (dx, dy) from this one.
struct LabelNeighbour {
    int label = 0;
    int dx = 0;
    int dy = 0;
};

// One label to place: the name, the map-unit box of the station discs it names and their place
// (a station, or the stations of one interchange).
struct LabelRequest {
    std::u16string text;
    int minX = 0;  // centres of the stations the label names
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    int place = 0;
    std::vector<LabelNeighbour> along = {};  // each pair listed from both sides
};

// A station's disc by its centre, in map units, and its place.
struct LabelDisc {
    int x = 0;
    int y = 0;
    int place = 0;
};

struct PlacedLabel {
    std::u16string text;  // the name, abbreviated, or cut short with "." when too long
    std::int32_t labelX = 0;
    std::int32_t labelY = 0;
    std::int32_t labelAlign = 1;  // 1 = text starts at the anchor, 2 = text ends at it
};

// The size of label text at the map's font (8 pixels): a width per character that covers the
// wide Cyrillic capitals of most names, and the line height.
inline constexpr double kLabelCharWidth = 5.5;
inline constexpr int kLabelHeight = 10;
// A line running this far inside a label's box strikes the name through: longer than any line
// straight or diagonally across the text's height.
inline constexpr double kStruckLength = 1.5 * kLabelHeight;

struct LabelScreen {
    int scale = 1;
    int stationRadius = 2;
    // The screen, in pixels of the scaled image: the whole image, but never the strips under the
    // navigation bar and the menu bar.
    int width = 240;
    int height = 320;
    int topBar = kNavigationBarHeight;
    int bottomBar = kMenuBarHeight;
    // Labels may also take a row a label's height further out above and below their stations,
    // at a cost below overlapping only: for where long names crowd one stretch.
    bool farRows = false;
};

struct LabelOutcome {
    std::vector<PlacedLabel> labels;  // one per request, in order
    int overlaps = 0;                 // pairs of labels that overlap
    int coveredDiscs = 0;             // labels lying over a disc of another place
    int struck = 0;                   // labels a line runs along, not only across
    int abbreviated = 0;              // names written with the usual abbreviations
    int shortened = 0;                // names cut short, too long for the screen
};

// The name with the usual abbreviations of map lettering (улица, площадь, проспект, Street,
// Road and a few more), each keeping the case of its first letter.
std::u16string AbbreviateName(std::u16string_view name);

// Puts each label beside its stations, above or below them, whichever place has room: inside
// the screen first, then clear of other labels, then clear of the discs of other places, then in
// full rather than abbreviated, then crossing few lines. Labels are placed in turn, placed again
// twice with all the others known, then moved, alone, two at a time or along a chain of labels
// giving way, while a move lowers the total cost, and moved at random for a while to leave a
// poor arrangement; the same input always gives the same labels. `discs` are the centres of
// every station and `segments` the stretches of line between them, in map units. When more
// than `mostUnclean` labels would have to lie over another place's disc, have a line along
// them or overlap another label however they were placed (those with no place clear of discs
// and lines, and one of each pair of the others whose clear places all overlap), each label
// just takes its own best place: the caller wants no more than that many of any.
struct Segment {
    std::pair<int, int> from;
    std::pair<int, int> to;
    int line = -1;  // the stretches of one line share a number; -1 stands alone
};
LabelOutcome PlaceLabels(std::span<const LabelRequest> requests, std::span<const LabelDisc> discs,
                         std::span<const Segment> segments, const LabelScreen& screen,
                         int mostUnclean = std::numeric_limits<int>::max());

}  // namespace qv::import
