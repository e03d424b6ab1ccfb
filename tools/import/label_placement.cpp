#include "label_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv::import {

namespace {

struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    bool Overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

struct Candidate {
    PlacedLabel label;
    Box box;
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

// The six places a label may take, best first.
std::vector<Candidate> Candidates(const LabelRequest& request, std::u16string_view text,
                                  const LabelScreen& screen) {
    const int s = screen.scale;
    const int r = screen.stationRadius;
    const double width = TextWidth(text.size());
    const int rightX = CeilDiv(s * (request.maxX + r) + 2, s);
    const int leftX = FloorDiv(s * (request.minX - r) - 2, s);
    const double centreY = s * (request.minY + request.maxY) / 2.0;
    const int levelY = static_cast<int>(std::lround((centreY + kLabelHeight / 2.0) / s));
    const int aboveY = FloorDiv(s * (request.minY - r), s);
    const int belowY = CeilDiv(s * (request.maxY + r) + kLabelHeight, s);
    std::vector<Candidate> candidates;
    for (const int y : {levelY, aboveY, belowY}) {
        for (const int align : {1, 2}) {
            Candidate candidate;
            candidate.label = {std::u16string(text), align == 1 ? rightX : leftX, y, align};
            const double anchorX = s * candidate.label.labelX;
            const double bottom = s * y;
            candidate.box = {align == 1 ? anchorX : anchorX - width, bottom - kLabelHeight,
                             align == 1 ? anchorX + width : anchorX, bottom};
            candidates.push_back(std::move(candidate));
        }
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

// Whether the segment passes through the box (Liang and Barsky's clipping).
bool Crosses(const Segment& segment, const Box& box, double scale) {
    const double x0 = segment.from.first * scale;
    const double y0 = segment.from.second * scale;
    const double dx = segment.to.first * scale - x0;
    const double dy = segment.to.second * scale - y0;
    double enter = 0;
    double leave = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    return enter < leave;
}

bool Names(const LabelRequest& request, std::pair<int, int> disc) {
    return disc.first >= request.minX && disc.first <= request.maxX &&
           disc.second >= request.minY && disc.second <= request.maxY;
}

class Placer {
  public:
    Placer(std::span<const LabelRequest> requests, std::span<const std::pair<int, int>> discs,
           std::span<const Segment> segments, const LabelScreen& screen)
        : requests_(requests),
          discs_(discs),
          segments_(segments),
          screen_(screen),
          placed_(requests.size()),
          present_(requests.size(), false) {}

    void Place(std::size_t index) {
        present_[index] = false;
        const LabelRequest& request = requests_[index];
        std::u16string text = request.text;
        std::vector<Candidate> candidates = Candidates(request, text, screen_);
        // Too long for either side: keep as much of the name as fits, ended by a full stop.
        for (std::size_t keep = request.text.size() - 1;
             keep >= 2 &&
             std::none_of(candidates.begin(), candidates.end(),
                          [this](const Candidate& c) { return OnScreen(c.box, screen_); });
             --keep) {
            text = request.text.substr(0, keep) + u".";
            candidates = Candidates(request, text, screen_);
        }
        double bestCost = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const double cost = Cost(index, candidates[i]) + static_cast<double>(i);
            if (cost < bestCost) {
                bestCost = cost;
                placed_[index] = candidates[i];
            }
        }
        present_[index] = true;
    }

    LabelOutcome Outcome() const {
        LabelOutcome outcome;
        for (std::size_t i = 0; i < placed_.size(); ++i) {
            outcome.labels.push_back(placed_[i].label);
            outcome.shortened += placed_[i].label.text != requests_[i].text;
            for (std::size_t j = i + 1; j < placed_.size(); ++j) {
                outcome.overlaps += placed_[i].box.Overlaps(placed_[j].box);
            }
            outcome.coveredDiscs += CoveredDiscs(i, placed_[i].box) > 0;
        }
        return outcome;
    }

  private:
    int CoveredDiscs(std::size_t index, const Box& box) const {
        int covered = 0;
        for (const auto& disc : discs_) {
            covered += !Names(requests_[index], disc) && box.Overlaps(DiscBox(disc, screen_));
        }
        return covered;
    }

    double Cost(std::size_t index, const Candidate& candidate) const {
        if (!OnScreen(candidate.box, screen_)) {
            return 1e9;
        }
        double cost = 0;
        for (std::size_t other = 0; other < placed_.size(); ++other) {
            if (other != index && present_[other] && candidate.box.Overlaps(placed_[other].box)) {
                cost += 1000;
            }
        }
        for (const Segment& segment : segments_) {
            cost += Crosses(segment, candidate.box, screen_.scale) ? 10 : 0;
        }
        return cost + 50.0 * CoveredDiscs(index, candidate.box);
    }

    std::span<const LabelRequest> requests_;
    std::span<const std::pair<int, int>> discs_;
    std::span<const Segment> segments_;
    LabelScreen screen_;
    std::vector<Candidate> placed_;
    std::vector<bool> present_;
};

}  // namespace

LabelOutcome PlaceLabels(std::span<const LabelRequest> requests,
                         std::span<const std::pair<int, int>> discs,
                         std::span<const Segment> segments, const LabelScreen& screen) {
    Placer placer(requests, discs, segments, screen);
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t i = 0; i < requests.size(); ++i) {
            placer.Place(i);
        }
    }
    return placer.Outcome();
}

}  // namespace qv::import
