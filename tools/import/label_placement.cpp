#include "label_placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <limits>
#include <map>
#include <optional>
#include <random>

#include "platform/gdi/segment_clip.h"

namespace qv::import {

namespace {

// The costs of a label's place: overlapping another label is worst, then lying over a disc of
// another place (once however many it covers, and a little more for each), then using a
// shorter form of the name, then crossing lines; a small cost for a place further down the list
// keeps the usual ones first.
constexpr std::int64_t kOffScreen = 1'000'000'000;
constexpr std::int64_t kOverlap = 10'000;
constexpr std::int64_t kCoveringLabel = 900;
constexpr std::int64_t kCoveredDisc = 30;
constexpr std::int64_t kAbbreviated = 40;
constexpr std::int64_t kCrossedLine = 10;
constexpr std::int64_t kOtherSide = 20;       // from a neighbour's label along a straight line
constexpr std::int64_t kLineAlongLabel = 20;  // per pixel beyond kStruckLength
constexpr int kGreedyPasses = 3;
constexpr int kMostImprovingRounds = 20;
constexpr std::int64_t kWanderStepsPerLabel = 5000;
constexpr std::int64_t kWanderThreshold = 300;
constexpr std::uint32_t kWanderSeed = 20240531;
// A chain of labels giving way is at most this long; each label in it tries at most this many
// places that overlap one other label.
constexpr int kChainLength = 4;
constexpr int kChainBranches = 6;
constexpr double kLabelGap = 6;
// Places slid along a side of the stations lie this many pixels apart: across the width of the
// name above and below them, across their height beside them.
constexpr int kSlideAlong = 8;
constexpr int kSlideAcross = 4;
// The second row above and below lies this many pixels further out.
constexpr int kNudge = 4;
// Candidates are found near each other through a grid of cells this many pixels wide.
constexpr int kCell = 32;

struct Abbreviation {
    std::u16string_view word;  // lower case; the first letter's case is kept
    std::u16string_view shortWord;
};

// Usual abbreviations of map lettering.
constexpr std::array kAbbreviations = {
    Abbreviation{u"улица", u"ул."},       Abbreviation{u"площадь", u"пл."},
    Abbreviation{u"проспект", u"пр."},    Abbreviation{u"бульвар", u"бул."},
    Abbreviation{u"шоссе", u"ш."},        Abbreviation{u"набережная", u"наб."},
    Abbreviation{u"академика", u"акад."}, Abbreviation{u"имени", u"им."},
    Abbreviation{u"street", u"st"},       Abbreviation{u"road", u"rd"},
    Abbreviation{u"square", u"sq"},       Abbreviation{u"park", u"pk"},
    Abbreviation{u"gardens", u"gdns"},    Abbreviation{u"lane", u"la"},
    Abbreviation{u"avenue", u"ave"},
};

char16_t Lower(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я')) {
        return static_cast<char16_t>(c + (c <= u'Z' ? u'a' - u'A' : u'а' - u'А'));
    }
    return c == u'Ё' ? u'ё' : c;
}

char16_t Upper(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'а' && c <= u'я')) {
        return static_cast<char16_t>(c - (c <= u'z' ? u'a' - u'A' : u'а' - u'А'));
    }
    return c;
}

std::u16string_view ShortFormOf(std::u16string_view word) {
    std::u16string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    for (const Abbreviation& abbreviation : kAbbreviations) {
        if (abbreviation.word == lower) {
            return abbreviation.shortWord;
        }
    }
    return {};
}

struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    bool Overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    // Wider by half the gap kept between two labels of one row, so that words never run on.
    Box Spaced() const { return {left - kLabelGap / 2, top, right + kLabelGap / 2, bottom}; }
};

struct Candidate {
    PlacedLabel label;
    Box box;
    std::int64_t cost = 0;  // everything but overlaps with other labels
    bool covering = false;  // over a disc of another place
    bool struck = false;    // a line runs along it
};

int FloorDiv(double value, int divisor) {
    return static_cast<int>(std::floor(value / divisor));
}

int CeilDiv(double value, int divisor) {
    return static_cast<int>(std::ceil(value / divisor));
}

double TextWidth(std::size_t characters) {
    return std::ceil(kLabelCharWidth * static_cast<double>(characters));
}

// The places a label may take, each with the small cost that orders them: level with its
// stations to the right or to the left (0, 1), at the four corners (2 to 5), centred above or
// below (6, 7); then beside them a little higher or lower, above or below them slid along, and
// above or below them a step further out (8). All but the last lie against the box of the
// stations' discs; the last keep a few pixels from it.
std::vector<Candidate> Places(const LabelRequest& request, std::u16string_view text,
                              const LabelScreen& screen) {
    const int s = screen.scale;
    const int r = screen.stationRadius;
    const double width = TextWidth(text.size());
    const int rightX = CeilDiv(s * (request.maxX + r) + 2, s);
    const int leftX = FloorDiv(s * (request.minX - r) - 2, s);
    const int centredX =
        static_cast<int>(std::lround((s * (request.minX + request.maxX) / 2.0 - width / 2) / s));
    const double centreY = s * (request.minY + request.maxY) / 2.0;
    const int levelY = static_cast<int>(std::lround((centreY + kLabelHeight / 2.0) / s));
    const int aboveY = FloorDiv(s * (request.minY - r), s);
    const int belowY = CeilDiv(s * (request.maxY + r) + kLabelHeight, s);
    struct Spot {
        int x;
        int y;
        int align;
        int cost;
    };
    std::vector<Spot> spots = {{rightX, levelY, 1, 0},   {leftX, levelY, 2, 1},
                               {rightX, aboveY, 1, 2},   {leftX, aboveY, 2, 3},
                               {rightX, belowY, 1, 4},   {leftX, belowY, 2, 5},
                               {centredX, aboveY, 1, 6}, {centredX, belowY, 1, 7}};
    constexpr int kSlid = 8;
    // A name a row away may be read as another station's: dearer than lying over a few discs,
    // cheaper than overlapping another name.
    constexpr int kFarRow = 5000;
    // Beside the stations, the name's box still level with part of their discs.
    const int across = std::max(1, kSlideAcross / s);
    for (int y = aboveY + 1; y < belowY; y += across) {
        if (y != levelY) {
            spots.push_back({rightX, y, 1, kSlid});
            spots.push_back({leftX, y, 2, kSlid});
        }
    }
    // Above and below, the name's box still over or under part of their discs, in a row that
    // touches them and in one a few pixels further out.
    const int along = std::max(1, kSlideAlong / s);
    const int nudge = std::max(1, kNudge / s);
    const int firstX = FloorDiv(s * (request.minX - r) - width, s) + 1;
    const int lastX = CeilDiv(s * (request.maxX + r), s) - 1;
    for (int x = firstX; x <= lastX; x += along) {
        if (x != centredX) {
            spots.push_back({x, aboveY, 1, kSlid});
            spots.push_back({x, belowY, 1, kSlid});
        }
    }
    for (int x = firstX; x <= lastX; x += along) {
        spots.push_back({x, aboveY - nudge, 1, kSlid});
        spots.push_back({x, belowY + nudge, 1, kSlid});
    }
    for (const int y : {aboveY - nudge, belowY + nudge}) {
        spots.push_back({rightX, y, 1, kSlid});
        spots.push_back({leftX, y, 2, kSlid});
    }
    // A row further out, over or under another label next to the stations: where long names
    // crowd one stretch, one may stand above the other rather than overlap it.
    const int row = CeilDiv(kLabelHeight + kLabelGap, s);
    for (int x = firstX; screen.farRows && x <= lastX; x += along) {
        spots.push_back({x, aboveY - row, 1, kFarRow});
        spots.push_back({x, belowY + row, 1, kFarRow});
    }

    std::vector<Candidate> candidates;
    for (const Spot& spot : spots) {
        Candidate candidate;
        candidate.label = {std::u16string(text), spot.x, spot.y, spot.align};
        const double anchorX = s * spot.x;
        const double bottom = s * spot.y;
        candidate.box = {spot.align == 1 ? anchorX : anchorX - width, bottom - kLabelHeight,
                         spot.align == 1 ? anchorX + width : anchorX, bottom};
        candidate.cost = spot.cost;
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

bool OnScreen(const Box& box, const LabelScreen& screen) {
    return box.left >= 0 && box.right <= screen.width * screen.scale && box.top >= screen.topBar &&
           box.bottom <= screen.height * screen.scale - screen.bottomBar;
}

Box DiscBox(const LabelDisc& disc, const LabelScreen& screen) {
    const double s = screen.scale;
    const double r = screen.stationRadius * s;
    return {s * disc.x - r, s * disc.y - r, s * disc.x + r, s * disc.y + r};
}

Box SegmentBox(const Segment& segment, double scale) {
    return {scale * std::min(segment.from.first, segment.to.first),
            scale * std::min(segment.from.second, segment.to.second),
            scale * std::max(segment.from.first, segment.to.first),
            scale * std::max(segment.from.second, segment.to.second)};
}

// How far a line runs inside a label's box, in pixels.
double LengthInside(const Segment& segment, const Box& box, double scale) {
    const double x0 = segment.from.first * scale;
    const double y0 = segment.from.second * scale;
    return qv::LengthInside(x0, y0, segment.to.first * scale - x0, segment.to.second * scale - y0,
                            {box.left, box.top, box.right, box.bottom});
}

// A candidate of one label, by label and place in that label's list.
// Kept narrow, as a crowded map holds millions of them: a map has at most 32767 points, so at
// most as many labels, and a label has a few hundred places at most.
struct Choice {
    Choice() = default;
    Choice(int labelIndex, int candidateIndex)
        : label(static_cast<std::int16_t>(labelIndex)),
          candidate(static_cast<std::int16_t>(candidateIndex)) {}
    std::int16_t label = 0;
    std::int16_t candidate = 0;
    auto operator<=>(const Choice&) const = default;
};

class Placer {
  public:
    Placer(std::span<const LabelRequest> requests, std::span<const LabelDisc> discs,
           std::span<const Segment> segments, const LabelScreen& screen)
        : requests_(requests),
          discs_(discs),
          segments_(segments),
          screen_(screen),
          candidates_(requests.size()),
          cheapest_(requests.size(), 0),
          chosen_(requests.size(), 0),
          present_(requests.size(), 0) {
        for (std::size_t i = 0; i < requests.size(); ++i) {
            MakeCandidates(i);
            const std::vector<Candidate>& candidates = candidates_[i];
            const auto cheapest = std::min_element(
                candidates.begin(), candidates.end(),
                [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
            chosen_[i] = static_cast<int>(cheapest - candidates.begin());
            cheapest_[i] = cheapest->cost;
            unclean_ += std::none_of(candidates.begin(), candidates.end(),
                                     [](const Candidate& c) { return !c.covering && !c.struck; });
        }
        FindSides();
    }

    // Labels that lie over another place's disc, or have a line along them, at every place they
    // may take.
    int Unclean() const { return unclean_; }

    // Per label, per candidate: the candidates of other labels it overlaps.
    using Overlapping = std::vector<std::vector<std::vector<Choice>>>;

    // How many labels at least must lie over another place's disc, have a line along them or
    // overlap another label: those with no clean place, and one of each pair of the others
    // whose clean places all overlap, each label in one pair at most.
    int LeastUnclean() const {
        Overlapping clean(requests_.size());
        std::vector<Choice> choices;
        std::vector<std::size_t> places(requests_.size(), 0);  // clean ones, per label
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            clean[i].resize(candidates_[i].size());
            for (std::size_t c = 0; c < candidates_[i].size(); ++c) {
                if (!candidates_[i][c].covering && !candidates_[i][c].struck) {
                    choices.emplace_back(static_cast<int>(i), static_cast<int>(c));
                    ++places[i];
                }
            }
        }
        ForEachOverlap(choices, false, [&clean](Choice a, Choice b) {
            clean[static_cast<std::size_t>(a.label)][static_cast<std::size_t>(a.candidate)]
                .push_back(b);
            clean[static_cast<std::size_t>(b.label)][static_cast<std::size_t>(b.candidate)]
                .push_back(a);
        });
        std::vector<char> paired(requests_.size(), 0);
        int least = unclean_;
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            if (paired[i] || places[i] == 0) {
                continue;
            }
            if (const int j = ShutOut(i, clean, places, paired); j >= 0) {
                paired[i] = 1;
                paired[static_cast<std::size_t>(j)] = 1;
                ++least;
            }
        }
        return least;
    }

    // The first label not yet paired each of whose `places` clean places (listed in `clean`,
    // with those they overlap) overlaps every clean place of `label`, or -1.
    int ShutOut(std::size_t label, const Overlapping& clean, const std::vector<std::size_t>& places,
                const std::vector<char>& paired) const {
        std::vector<int> shut;  // in label order
        bool first = true;
        for (std::size_t c = 0; c < candidates_[label].size(); ++c) {
            const Candidate& mine = candidates_[label][c];
            if (mine.covering || mine.struck) {
                continue;
            }
            std::map<int, std::size_t> met;  // per other label, how many of its places
            for (const Choice other : clean[label][c]) {
                if (!paired[static_cast<std::size_t>(other.label)]) {
                    ++met[other.label];
                }
            }
            std::vector<int> still;
            for (const auto& [other, count] : met) {
                if (count == places[static_cast<std::size_t>(other)] &&
                    (first || std::ranges::binary_search(shut, other))) {
                    still.push_back(other);
                }
            }
            shut = std::move(still);
            first = false;
            if (shut.empty()) {
                return -1;
            }
        }
        return shut.empty() ? -1 : shut.front();
    }

    void Run() {
        FindConflicts();
        for (int pass = 0; pass < kGreedyPasses; ++pass) {
            for (std::size_t i = 0; i < requests_.size(); ++i) {
                PlaceGreedily(i);
            }
        }
        Improve();
        Wander();
        Improve();
    }

    LabelOutcome Outcome() const {
        LabelOutcome outcome;
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            const Candidate& placed = Placed(i);
            outcome.labels.push_back(placed.label);
            const bool whole = placed.label.text == requests_[i].text;
            const bool abbreviated = placed.label.text == AbbreviateName(requests_[i].text);
            outcome.abbreviated += !whole && abbreviated;
            outcome.shortened += !whole && !abbreviated;
            for (std::size_t j = i + 1; j < requests_.size(); ++j) {
                outcome.overlaps += placed.box.Overlaps(Placed(j).box);
            }
            outcome.coveredDiscs += placed.covering;
            outcome.struck += placed.struck;
        }
        return outcome;
    }

  private:
    const Candidate& Placed(std::size_t label) const {
        return candidates_[label][static_cast<std::size_t>(chosen_[label])];
    }
    const Candidate& At(Choice choice) const {
        return candidates_[static_cast<std::size_t>(choice.label)]
                          [static_cast<std::size_t>(choice.candidate)];
    }

    // The whole name and its abbreviated form at every place on the screen; a name too long for
    // the screen keeps as much of its shorter form as fits, ended by a full stop.
    void MakeCandidates(std::size_t index) {
        const LabelRequest& request = requests_[index];
        std::vector<Candidate>& candidates = candidates_[index];
        candidates = Places(request, request.text, screen_);
        const std::u16string abbreviated = AbbreviateName(request.text);
        if (abbreviated != request.text) {
            for (Candidate& candidate : Places(request, abbreviated, screen_)) {
                candidate.cost += kAbbreviated;
                candidates.push_back(std::move(candidate));
            }
        }
        const auto anyOnScreen = [this, &candidates] {
            return std::any_of(candidates.begin(), candidates.end(),
                               [this](const Candidate& c) { return OnScreen(c.box, screen_); });
        };
        for (std::size_t keep = abbreviated.size() - 1;
             keep >= 2 && keep < abbreviated.size() && !anyOnScreen(); --keep) {
            candidates = Places(request, abbreviated.substr(0, keep) + u".", screen_);
        }
        if (anyOnScreen()) {
            std::erase_if(candidates,
                          [this](const Candidate& c) { return !OnScreen(c.box, screen_); });
        } else {
            for (Candidate& candidate : candidates) {
                candidate.cost = kOffScreen;
            }
        }
        // Only the discs and lines near the label can meet it.
        Box reach = candidates.front().box;
        for (const Candidate& candidate : candidates) {
            reach = {std::min(reach.left, candidate.box.left),
                     std::min(reach.top, candidate.box.top),
                     std::max(reach.right, candidate.box.right),
                     std::max(reach.bottom, candidate.box.bottom)};
        }
        std::vector<Box> near;
        for (const LabelDisc& disc : discs_) {
            if (disc.place != request.place && DiscBox(disc, screen_).Overlaps(reach)) {
                near.push_back(DiscBox(disc, screen_));
            }
        }
        const Box wider{reach.left - 1, reach.top - 1, reach.right + 1, reach.bottom + 1};
        std::vector<const Segment*> crossing;
        for (const Segment& segment : segments_) {
            if (SegmentBox(segment, screen_.scale).Overlaps(wider)) {
                crossing.push_back(&segment);
            }
        }
        std::vector<std::pair<int, double>> along;  // length inside the box, per line
        for (Candidate& candidate : candidates) {
            const auto covered = std::count_if(near.begin(), near.end(), [&](const Box& disc) {
                return candidate.box.Overlaps(disc);
            });
            candidate.covering = covered > 0;
            candidate.cost += (covered > 0 ? kCoveringLabel : 0) + kCoveredDisc * covered;
            // A line across a name still lets it read; one along it strikes it through, over
            // however many stretches (a station under the name parts nothing).
            along.clear();
            for (const Segment* segment : crossing) {
                const double inside = LengthInside(*segment, candidate.box, screen_.scale);
                if (inside <= 0) {
                    continue;
                }
                candidate.cost += kCrossedLine;
                const auto same = std::ranges::find_if(along, [segment](const auto& line) {
                    return segment->line >= 0 && line.first == segment->line;
                });
                if (same == along.end()) {
                    along.emplace_back(segment->line, inside);
                } else {
                    same->second += inside;
                }
            }
            for (const auto& [line, inside] : along) {
                if (inside > kStruckLength) {
                    candidate.struck = true;
                    candidate.cost +=
                        kLineAlongLabel * static_cast<std::int64_t>(inside - kStruckLength);
                }
            }
        }
    }

    // Calls `meet` once for each pair of `choices` of different labels whose boxes overlap,
    // widened by half the gap each where `spaced`: in the one cell that holds the top left
    // corner of where they meet.
    template <typename Meet>
    void ForEachOverlap(const std::vector<Choice>& choices, bool spaced, Meet meet) const {
        const int columns = CeilDiv(screen_.width * screen_.scale + kLabelGap, kCell) + 1;
        const int rows = CeilDiv(screen_.height * screen_.scale, kCell) + 1;
        const auto cellOf = [&](double x, double y) {
            const int column = std::clamp(FloorDiv(x, kCell), 0, columns - 1);
            const int row = std::clamp(FloorDiv(y, kCell), 0, rows - 1);
            return static_cast<std::size_t>(row * columns + column);
        };
        const auto boxOf = [&](Choice choice) {
            return spaced ? At(choice).box.Spaced() : At(choice).box;
        };
        std::vector<std::vector<Choice>> cells(static_cast<std::size_t>(columns * rows));
        for (const Choice choice : choices) {
            const Box box = boxOf(choice);
            const std::size_t first = cellOf(box.left, box.top);
            const std::size_t last = cellOf(box.right, box.bottom);
            const std::size_t span = last % columns - first % columns;
            for (std::size_t row = first; row <= last; row += columns) {
                for (std::size_t cell = row; cell <= row + span; ++cell) {
                    cells[cell].push_back(choice);
                }
            }
        }
        for (std::size_t cell = 0; cell < cells.size(); ++cell) {
            const std::vector<Choice>& here = cells[cell];
            for (std::size_t a = 0; a < here.size(); ++a) {
                const Box boxA = boxOf(here[a]);
                for (std::size_t b = a + 1; b < here.size(); ++b) {
                    if (here[a].label == here[b].label) {
                        continue;
                    }
                    const Box boxB = boxOf(here[b]);
                    if (boxA.Overlaps(boxB) && cellOf(std::max(boxA.left, boxB.left),
                                                      std::max(boxA.top, boxB.top)) == cell) {
                        meet(here[a], here[b]);
                    }
                }
            }
        }
    }

    // For every candidate, the candidates of other labels that come closer than the gap.
    void FindConflicts() {
        conflicts_.resize(requests_.size());
        pressure_.resize(requests_.size());
        std::vector<Choice> all;
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            conflicts_[i].resize(candidates_[i].size());
            pressure_[i].assign(candidates_[i].size(), 0);
            for (std::size_t c = 0; c < candidates_[i].size(); ++c) {
                all.emplace_back(static_cast<int>(i), static_cast<int>(c));
            }
        }
        ForEachOverlap(all, true, [this](Choice a, Choice b) {
            conflicts_[static_cast<std::size_t>(a.label)][static_cast<std::size_t>(a.candidate)]
                .push_back(b);
            conflicts_[static_cast<std::size_t>(b.label)][static_cast<std::size_t>(b.candidate)]
                .push_back(a);
        });
    }

    bool Conflict(Choice a, Choice b) const {
        return a.label != b.label && At(a).box.Spaced().Overlaps(At(b).box.Spaced());
    }

    // Each candidate's side of the straight lines to its label's neighbours, worked out once as
    // the search asks for them millions of times; and where each neighbour lists the way back.
    void FindSides() {
        sides_.resize(requests_.size());
        back_.resize(requests_.size());
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            const LabelRequest& request = requests_[i];
            const std::vector<LabelNeighbour>& along = request.along;
            for (const Candidate& candidate : candidates_[i]) {
                // The box's centre from its stations' centre.
                const Box& box = candidate.box;
                const double x =
                    (box.left + box.right - screen_.scale * (request.minX + request.maxX)) / 2;
                const double y =
                    (box.top + box.bottom - screen_.scale * (request.minY + request.maxY)) / 2;
                for (const LabelNeighbour& next : along) {
                    const double cross = next.dx * y - next.dy * x;
                    const bool beside = cross * cross > next.dx * next.dx + next.dy * next.dy;
                    sides_[i].push_back(
                        static_cast<std::int8_t>(beside ? (cross > 0 ? 1 : -1) : 0));
                }
            }
            for (const LabelNeighbour& next : along) {
                const std::vector<LabelNeighbour>& theirs =
                    requests_[static_cast<std::size_t>(next.label)].along;
                const auto back = std::ranges::find_if(theirs, [&](const LabelNeighbour& way) {
                    return way.label == static_cast<int>(i) && way.dx == -next.dx &&
                           way.dy == -next.dy;
                });
                back_[i].push_back(back == theirs.end() ? -1
                                                        : static_cast<int>(back - theirs.begin()));
            }
        }
    }

    // The side of its k-th neighbour's line the candidate lies on: 1, -1, or 0 along it.
    int Side(std::size_t label, int candidate, std::size_t k) const {
        return sides_[label]
                     [static_cast<std::size_t>(candidate) * requests_[label].along.size() + k];
    }

    // Whether the candidate and its k-th neighbour's candidate `theirs` lie on different sides
    // of the line between them.
    bool Apart(std::size_t label, int candidate, std::size_t k, int theirs) const {
        const int back = back_[label][k];
        const auto other = static_cast<std::size_t>(requests_[label].along[k].label);
        return back >= 0 &&
               Side(label, candidate, k) != -Side(other, theirs, static_cast<std::size_t>(back));
    }

    // What label `one` costs for lying on the other side of a straight line from `other`.
    std::int64_t SideCost(Choice one, Choice other) const {
        const auto label = static_cast<std::size_t>(one.label);
        std::int64_t cost = 0;
        for (std::size_t k = 0; k < requests_[label].along.size(); ++k) {
            if (requests_[label].along[k].label == other.label &&
                Apart(label, one.candidate, k, other.candidate)) {
                cost += kOtherSide;
            }
        }
        return cost;
    }

    // The candidate's cost with the labels placed now, leaving out one label.
    std::int64_t CostHere(std::size_t label, int candidate, int ignored = -1) const {
        const Choice here{static_cast<int>(label), candidate};
        int overlapping = pressure_[label][static_cast<std::size_t>(candidate)];
        if (ignored >= 0 && present_[static_cast<std::size_t>(ignored)]) {
            overlapping -= Conflict(here, {ignored, chosen_[static_cast<std::size_t>(ignored)]});
        }
        // Apart() written out: this is the search's innermost loop, and the unoptimised build
        // of the tests would spend seconds on the calls.
        std::int64_t sides = 0;
        const std::vector<LabelNeighbour>& along = requests_[label].along;
        const std::size_t count = along.size();
        const std::int8_t* mine =
            sides_[label].data() + static_cast<std::size_t>(candidate) * count;
        for (std::size_t k = 0; k < count; ++k) {
            const int other = along[k].label;
            const int back = back_[label][k];
            if (other != ignored && back >= 0 && present_[static_cast<std::size_t>(other)] &&
                mine[k] != -Side(static_cast<std::size_t>(other),
                                 chosen_[static_cast<std::size_t>(other)],
                                 static_cast<std::size_t>(back))) {
                sides += kOtherSide;
            }
        }
        return At(here).cost + kOverlap * overlapping + sides;
    }

    // Puts a label at its chosen place, or takes it away, keeping count of the placed labels
    // that each candidate would overlap.
    void Press(std::size_t label, int change) {
        for (const Choice other : conflicts_[label][static_cast<std::size_t>(chosen_[label])]) {
            pressure_[static_cast<std::size_t>(other.label)]
                     [static_cast<std::size_t>(other.candidate)] += change;
        }
        present_[label] = change > 0 ? 1 : 0;
    }

    void Move(std::size_t label, int candidate) {
        Press(label, -1);
        chosen_[label] = candidate;
        Press(label, +1);
    }

    void Adopt(const std::vector<int>& chosen) {
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            if (chosen[i] != chosen_[i]) {
                Move(i, chosen[i]);
            }
        }
    }

    void PlaceGreedily(std::size_t index) {
        if (present_[index]) {
            Press(index, -1);
        }
        std::int64_t best = std::numeric_limits<std::int64_t>::max();
        for (std::size_t c = 0; c < candidates_[index].size(); ++c) {
            const std::int64_t cost = CostHere(index, static_cast<int>(c));
            if (cost < best) {
                best = cost;
                chosen_[index] = static_cast<int>(c);
            }
        }
        Press(index, +1);
    }

    void Improve() {
        for (int round = 0; round < kMostImprovingRounds; ++round) {
            const bool moved = ImproveOnce();
            if (!ChainOnce() && !moved) {
                break;
            }
        }
    }

    std::int64_t Total() const {
        std::int64_t total = 0;
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            // Each overlapping pair, and each pair of neighbours, is counted from both sides.
            total += Placed(i).cost + CostHere(i, chosen_[i]);
        }
        return total / 2;
    }

    // Random moves that may make things worse by less than a falling threshold, so that the
    // search leaves places where no single or double move helps; the best state seen is kept.
    // Integer costs and the fully specified engine give the same labels on every machine.
    void Wander() {
        const auto count = static_cast<std::uint32_t>(requests_.size());
        if (count == 0) {
            return;
        }
        std::mt19937 random(kWanderSeed);
        std::int64_t current = Total();
        std::int64_t best = current;
        std::vector<int> bestChosen = chosen_;
        const std::int64_t steps = kWanderStepsPerLabel * static_cast<std::int64_t>(count);
        for (std::int64_t step = 0; step < steps; ++step) {
            const std::int64_t threshold = kWanderThreshold * (steps - step) / steps;
            const std::size_t i = random() % count;
            const auto c = static_cast<int>(random() % candidates_[i].size());
            if (c == chosen_[i]) {
                continue;
            }
            const std::int64_t delta = CostHere(i, c) - CostHere(i, chosen_[i]);
            if (delta <= threshold) {
                Move(i, c);
                current += delta;
                if (current < best) {
                    best = current;
                    bestChosen = chosen_;
                }
            }
        }
        Adopt(bestChosen);
    }

    // The best single move of one label, or of one label together with a label its new place
    // would overlap; false when no move lowers the total cost.
    bool ImproveOnce() {
        bool improved = false;
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            const auto label = static_cast<int>(i);
            const int now = chosen_[i];
            const std::int64_t before = CostHere(i, now);
            std::int64_t bestGain = 0;
            int bestCandidate = now;
            Choice bestPartner{-1, 0};
            for (int c = 0; c < static_cast<int>(candidates_[i].size()); ++c) {
                if (c == now) {
                    continue;
                }
                if (const std::int64_t gain = before - CostHere(i, c); gain > bestGain) {
                    bestGain = gain;
                    bestCandidate = c;
                    bestPartner = {-1, 0};
                }
                // The placed labels this place would overlap, found by their count.
                int unseen = pressure_[i][static_cast<std::size_t>(c)];
                for (const Choice blocking : conflicts_[i][static_cast<std::size_t>(c)]) {
                    if (unseen == 0) {
                        break;
                    }
                    const auto j = static_cast<std::size_t>(blocking.label);
                    if (chosen_[j] != blocking.candidate) {
                        continue;
                    }
                    --unseen;
                    const std::int64_t pairBefore = before + CostHere(j, chosen_[j], label);
                    const std::int64_t here = CostHere(i, c, blocking.label);
                    // No place of the other label can make up for this one.
                    if (here + cheapest_[j] >= pairBefore - bestGain) {
                        continue;
                    }
                    for (int d = 0; d < static_cast<int>(candidates_[j].size()); ++d) {
                        const std::int64_t after =
                            here + CostHere(j, d, label) +
                            kOverlap * Conflict({label, c}, {blocking.label, d}) +
                            SideCost({label, c}, {blocking.label, d});
                        if (const std::int64_t gain = pairBefore - after; gain > bestGain) {
                            bestGain = gain;
                            bestCandidate = c;
                            bestPartner = {blocking.label, d};
                        }
                    }
                }
            }
            if (bestGain > 0) {
                Move(i, bestCandidate);
                if (bestPartner.label >= 0) {
                    Move(static_cast<std::size_t>(bestPartner.label), bestPartner.candidate);
                }
                improved = true;
            }
        }
        return improved;
    }

    // The one placed label that the candidate would overlap, or -1 when none or several.
    int OnlyBlocker(std::size_t label, int candidate) const {
        if (pressure_[label][static_cast<std::size_t>(candidate)] != 1) {
            return -1;
        }
        for (const Choice other : conflicts_[label][static_cast<std::size_t>(candidate)]) {
            if (chosen_[static_cast<std::size_t>(other.label)] == other.candidate) {
                return other.label;
            }
        }
        return -1;
    }

    // Moves the label to a place of its own cost below `limit` that overlaps no placed label,
    // or that overlaps one, which then moves on in the same way, at most `length` times.
    bool MoveAlong(std::size_t label, int length, std::int64_t limit) {
        const int now = chosen_[label];
        std::vector<std::pair<std::int64_t, int>> order;
        for (int c = 0; c < static_cast<int>(candidates_[label].size()); ++c) {
            if (const std::int64_t cost = At({static_cast<int>(label), c}).cost;
                c != now && cost < limit) {
                order.emplace_back(cost, c);
            }
        }
        std::sort(order.begin(), order.end());
        for (const auto& [cost, c] : order) {
            if (pressure_[label][static_cast<std::size_t>(c)] == 0) {
                Move(label, c);
                return true;
            }
        }
        if (length == 0) {
            return false;
        }
        int tried = 0;
        for (const auto& [cost, c] : order) {
            const int blocker = OnlyBlocker(label, c);
            if (blocker < 0 || inChain_[static_cast<std::size_t>(blocker)]) {
                continue;
            }
            if (++tried > kChainBranches) {
                break;
            }
            Move(label, c);
            inChain_[label] = true;
            const bool moved = MoveAlong(static_cast<std::size_t>(blocker), length - 1,
                                         LimitFor(static_cast<std::size_t>(blocker)));
            inChain_[label] = false;
            if (moved) {
                return true;
            }
            Move(label, now);
        }
        return false;
    }

    // A label in a chain of moves keeps clear of other discs when it is clear of them now; any
    // place on the screen will do otherwise.
    std::int64_t LimitFor(std::size_t label) const {
        return Placed(label).covering ? kOffScreen : kCoveringLabel;
    }

    // Chains of moves for each label that overlaps another or lies over a disc: the label takes
    // a place that would overlap one other label, which gives way along a chain; kept when the
    // total cost falls.
    bool ChainOnce() {
        bool improved = false;
        inChain_.assign(requests_.size(), false);
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            const int now = chosen_[i];
            const bool overlapping = pressure_[i][static_cast<std::size_t>(now)] > 0;
            if (!overlapping && !Placed(i).covering) {
                continue;
            }
            const std::int64_t limit = overlapping ? kOffScreen : kCoveringLabel;
            const std::int64_t before = Total();
            const std::vector<int> saved = chosen_;
            inChain_[i] = true;
            for (int c = 0; c < static_cast<int>(candidates_[i].size()); ++c) {
                if (c == now || At({static_cast<int>(i), c}).cost >= limit) {
                    continue;
                }
                const int blocker = OnlyBlocker(i, c);
                if (blocker < 0) {
                    continue;
                }
                Move(i, c);
                const auto j = static_cast<std::size_t>(blocker);
                if (MoveAlong(j, kChainLength - 1, LimitFor(j)) && Total() < before) {
                    improved = true;
                    break;
                }
                Adopt(saved);
            }
            inChain_[i] = false;
        }
        return improved;
    }

    std::span<const LabelRequest> requests_;
    std::span<const LabelDisc> discs_;
    std::span<const Segment> segments_;
    LabelScreen screen_;
    std::vector<std::vector<Candidate>> candidates_;
    std::vector<std::int64_t> cheapest_;  // per label: its lowest own cost
    int unclean_ = 0;
    std::vector<std::vector<std::vector<Choice>>> conflicts_;  // per label, per candidate
    std::vector<std::vector<int>> pressure_;  // per label, per candidate: placed labels it overlaps
    std::vector<int> chosen_;
    std::vector<char> present_;  // not vector<bool>: read in the search's innermost loop
    // Per label: per candidate and neighbour (candidate * neighbours + k), its side of the line.
    std::vector<std::vector<std::int8_t>> sides_;
    std::vector<std::vector<int>> back_;  // per label and neighbour: the way back, or -1
    std::vector<bool> inChain_;
};

}  // namespace

std::u16string AbbreviateName(std::u16string_view name) {
    std::u16string result;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find(u' ', start), name.size());
        const std::u16string_view word = name.substr(start, end - start);
        const std::u16string_view shortForm = ShortFormOf(word);
        if (shortForm.empty()) {
            result += word;
        } else {
            result += shortForm;
            if (Upper(word.front()) == word.front()) {
                result[result.size() - shortForm.size()] = Upper(shortForm.front());
            }
        }
        if (end < name.size()) {
            result += u' ';
        }
        start = end + 1;
    }
    return result;
}

LabelOutcome PlaceLabels(std::span<const LabelRequest> requests, std::span<const LabelDisc> discs,
                         std::span<const Segment> segments, const LabelScreen& screen,
                         int mostUnclean) {
    Placer placer(requests, discs, segments, screen);
    // No more labels than there are can be unclean.
    const bool bounded = mostUnclean < static_cast<int>(requests.size());
    if (placer.Unclean() <= mostUnclean && (!bounded || placer.LeastUnclean() <= mostUnclean)) {
        placer.Run();
    }
    return placer.Outcome();
}

}  // namespace qv::import
