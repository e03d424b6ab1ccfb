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

// The costs of a label's place: overlapping another label is worst, then hiding another
// station's disc, then using a shorter form of the name, then crossing lines; a small cost per
// step down the list of places keeps the usual ones first.
constexpr std::int64_t kOffScreen = 1'000'000'000;
constexpr std::int64_t kOverlap = 1000;
constexpr std::int64_t kCoveredDisc = 50;
constexpr std::int64_t kAbbreviated = 40;
constexpr std::int64_t kCrossedLine = 10;
constexpr int kGreedyPasses = 3;
constexpr std::size_t kPlaceCount = 8;  // places tried for each form of a name
constexpr int kMostImprovingRounds = 20;
constexpr std::int64_t kWanderStepsPerLabel = 5000;
constexpr std::int64_t kWanderThreshold = 1000;
constexpr std::uint32_t kWanderSeed = 20240531;
constexpr double kLabelGap = 6;
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

// The places a label may take, best first: level with its stations, above or below them, each
// to the right or to the left, then centred above and below.
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
    };
    const Spot spots[] = {{rightX, levelY, 1},   {leftX, levelY, 2},   {rightX, aboveY, 1},
                          {leftX, aboveY, 2},    {rightX, belowY, 1},  {leftX, belowY, 2},
                          {centredX, aboveY, 1}, {centredX, belowY, 1}};
    std::vector<Candidate> candidates;
    for (const Spot& spot : spots) {
        Candidate candidate;
        candidate.label = {std::u16string(text), spot.x, spot.y, spot.align};
        const double anchorX = s * spot.x;
        const double bottom = s * spot.y;
        candidate.box = {spot.align == 1 ? anchorX : anchorX - width, bottom - kLabelHeight,
                         spot.align == 1 ? anchorX + width : anchorX, bottom};
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

bool OnScreen(const Box& box, const LabelScreen& screen) {
    return box.left >= 0 && box.right <= screen.width * screen.scale && box.top >= screen.topBar &&
           box.bottom <= screen.height * screen.scale - screen.bottomBar;
}

Box DiscBox(std::pair<int, int> centre, const LabelScreen& screen) {
    const double s = screen.scale;
    const double r = screen.stationRadius * s;
    return {s * centre.first - r, s * centre.second - r, s * centre.first + r,
            s * centre.second + r};
}

// Whether the segment passes through the box; touching an edge or a corner is no crossing.
bool Crosses(const Segment& segment, const Box& box, double scale) {
    const double x0 = segment.from.first * scale;
    const double y0 = segment.from.second * scale;
    const std::optional<SegmentSpan> span =
        ClipSegment(x0, y0, segment.to.first * scale - x0, segment.to.second * scale - y0,
                    {box.left, box.top, box.right, box.bottom});
    return span && span->enter < span->leave;
}

bool Names(const LabelRequest& request, std::pair<int, int> disc) {
    return disc.first >= request.minX && disc.first <= request.maxX &&
           disc.second >= request.minY && disc.second <= request.maxY;
}

// A candidate of one label, by label and place in that label's list.
struct Choice {
    int label = 0;
    int candidate = 0;
    auto operator<=>(const Choice&) const = default;
};

class Placer {
  public:
    Placer(std::span<const LabelRequest> requests, std::span<const std::pair<int, int>> discs,
           std::span<const Segment> segments, const LabelScreen& screen)
        : requests_(requests),
          discs_(discs),
          segments_(segments),
          screen_(screen),
          candidates_(requests.size()),
          chosen_(requests.size(), 0),
          present_(requests.size(), false) {
        for (std::size_t i = 0; i < requests.size(); ++i) {
            MakeCandidates(i);
        }
        FindConflicts();
    }

    void Run() {
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
            outcome.coveredDiscs += CoveredDiscs(i, placed.box) > 0;
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

    // The whole name and its abbreviated form at every place; a name too long for the screen
    // keeps as much of its shorter form as fits, ended by a full stop.
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
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            Candidate& candidate = candidates[i];
            if (!OnScreen(candidate.box, screen_)) {
                candidate.cost = kOffScreen;
                continue;
            }
            candidate.cost += static_cast<std::int64_t>(i % kPlaceCount) +
                              kCoveredDisc * CoveredDiscs(index, candidate.box);
            for (const Segment& segment : segments_) {
                candidate.cost += Crosses(segment, candidate.box, screen_.scale) ? kCrossedLine : 0;
            }
        }
    }

    // For every candidate, the candidates of other labels that come closer than the gap.
    void FindConflicts() {
        std::map<std::pair<int, int>, std::vector<Choice>> cells;
        const auto cellsOf = [](const Box& box, auto&& visit) {
            for (int cx = FloorDiv(box.left, kCell); cx <= FloorDiv(box.right, kCell); ++cx) {
                for (int cy = FloorDiv(box.top, kCell); cy <= FloorDiv(box.bottom, kCell); ++cy) {
                    visit(std::make_pair(cx, cy));
                }
            }
        };
        conflicts_.resize(requests_.size());
        pressure_.resize(requests_.size());
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            conflicts_[i].resize(candidates_[i].size());
            pressure_[i].assign(candidates_[i].size(), 0);
            for (std::size_t c = 0; c < candidates_[i].size(); ++c) {
                const Choice choice{static_cast<int>(i), static_cast<int>(c)};
                cellsOf(candidates_[i][c].box.Spaced(),
                        [&](std::pair<int, int> cell) { cells[cell].push_back(choice); });
            }
        }
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            for (std::size_t c = 0; c < candidates_[i].size(); ++c) {
                const Box box = candidates_[i][c].box.Spaced();
                std::vector<Choice>& found = conflicts_[i][c];
                cellsOf(box, [&](std::pair<int, int> cell) {
                    for (const Choice other : cells[cell]) {
                        if (other.label != static_cast<int>(i) &&
                            box.Overlaps(At(other).box.Spaced())) {
                            found.push_back(other);
                        }
                    }
                });
                std::sort(found.begin(), found.end());
                found.erase(std::unique(found.begin(), found.end()), found.end());
            }
        }
    }

    bool Conflict(Choice a, Choice b) const {
        return a.label != b.label && At(a).box.Spaced().Overlaps(At(b).box.Spaced());
    }

    // The candidate's cost with the labels placed now, leaving out one label.
    std::int64_t CostHere(std::size_t label, int candidate, int ignored = -1) const {
        const Choice here{static_cast<int>(label), candidate};
        int overlapping = pressure_[label][static_cast<std::size_t>(candidate)];
        if (ignored >= 0 && present_[static_cast<std::size_t>(ignored)]) {
            overlapping -= Conflict(here, {ignored, chosen_[static_cast<std::size_t>(ignored)]});
        }
        return At(here).cost + kOverlap * overlapping;
    }

    // Puts a label at its chosen place, or takes it away, keeping count of the placed labels
    // that each candidate would overlap.
    void Press(std::size_t label, int change) {
        for (const Choice other : conflicts_[label][static_cast<std::size_t>(chosen_[label])]) {
            pressure_[static_cast<std::size_t>(other.label)]
                     [static_cast<std::size_t>(other.candidate)] += change;
        }
        present_[label] = change > 0;
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
        for (int round = 0; round < kMostImprovingRounds && ImproveOnce(); ++round) {
        }
    }

    std::int64_t Total() const {
        std::int64_t total = 0;
        for (std::size_t i = 0; i < requests_.size(); ++i) {
            // Each overlapping pair is counted from both sides.
            total +=
                2 * Placed(i).cost + kOverlap * pressure_[i][static_cast<std::size_t>(chosen_[i])];
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
                for (const Choice blocking : conflicts_[i][static_cast<std::size_t>(c)]) {
                    const auto j = static_cast<std::size_t>(blocking.label);
                    if (chosen_[j] != blocking.candidate) {
                        continue;
                    }
                    const std::int64_t pairBefore = before + CostHere(j, chosen_[j], label);
                    for (int d = 0; d < static_cast<int>(candidates_[j].size()); ++d) {
                        const std::int64_t after =
                            CostHere(i, c, blocking.label) + CostHere(j, d, label) +
                            kOverlap * Conflict({label, c}, {blocking.label, d});
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

    int CoveredDiscs(std::size_t index, const Box& box) const {
        int covered = 0;
        for (const auto& disc : discs_) {
            covered += !Names(requests_[index], disc) && box.Overlaps(DiscBox(disc, screen_));
        }
        return covered;
    }

    std::span<const LabelRequest> requests_;
    std::span<const std::pair<int, int>> discs_;
    std::span<const Segment> segments_;
    LabelScreen screen_;
    std::vector<std::vector<Candidate>> candidates_;
    std::vector<std::vector<std::vector<Choice>>> conflicts_;  // per label, per candidate
    std::vector<std::vector<int>> pressure_;  // per label, per candidate: placed labels it overlaps
    std::vector<int> chosen_;
    std::vector<bool> present_;
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

LabelOutcome PlaceLabels(std::span<const LabelRequest> requests,
                         std::span<const std::pair<int, int>> discs,
                         std::span<const Segment> segments, const LabelScreen& screen) {
    Placer placer(requests, discs, segments, screen);
    placer.Run();
    return placer.Outcome();
}

}  // namespace qv::import
