#include "bent_projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv::import {

namespace {

// Exponents tried for the distances from the centre: 1, 0.95, ... 0.4.
constexpr int kBendSteps = 12;
constexpr double kBendStep = 0.05;
constexpr double kMostStretch = 1.6;
constexpr double kNearlyAsGood = 1.15;

// How many pairs of places lie closer than the spreading will want them; the spreading
// moves a few tight pairs well, but a centre where many crowd needs bending.
double Crowding(const std::vector<PlanePoint>& centres, const std::vector<double>& radii, int gap) {
    int tooClose = 0;
    for (std::size_t a = 0; a < centres.size(); ++a) {
        for (std::size_t b = a + 1; b < centres.size(); ++b) {
            tooClose += std::hypot(centres[a].x - centres[b].x, centres[a].y - centres[b].y) <
                        radii[a] + radii[b] + gap;
        }
    }
    return tooClose;
}

}  // namespace

BentProjection ProjectBent(const std::vector<GeoPosition>& positions,
                           const std::vector<double>& radii, const ScreenBox& box, double margin,
                           std::optional<double> givenExponent, int gap) {
    const double acceptable = static_cast<double>(positions.size()) / 10;
    struct Trial {
        double exponent;
        double stretch;
        double crowding;
    };
    std::vector<Trial> trials;
    for (int step = 0; step <= kBendSteps; ++step) {
        const double exponent = givenExponent.value_or(1 - step * kBendStep);
        const double crowding =
            Crowding(FitToBox(ProjectToPlane(positions, exponent), box, margin), radii, gap);
        trials.push_back({exponent, 1, crowding});
        if (crowding <= acceptable || givenExponent) {
            break;
        }
    }
    if (trials.back().crowding > acceptable) {
        for (const Trial plain : std::vector<Trial>(trials)) {
            const double crowding = Crowding(
                FitToBox(ProjectToPlane(positions, plain.exponent), box, margin, kMostStretch),
                radii, gap);
            trials.push_back({plain.exponent, kMostStretch, crowding});
        }
    }
    double least = std::numeric_limits<double>::infinity();
    for (const Trial& trial : trials) {
        least = std::min(least, trial.crowding);
    }
    const Trial* chosen = &trials.back();
    for (const Trial& trial : trials) {
        if (trial.crowding <= std::max(acceptable, least * kNearlyAsGood) &&
            (trial.exponent > chosen->exponent ||
             (trial.exponent == chosen->exponent && trial.crowding < chosen->crowding))) {
            chosen = &trial;
        }
    }
    if (chosen->crowding > std::max(acceptable, least * kNearlyAsGood)) {
        chosen = &trials.front();
    }
    return {.centres =
                FitToBox(ProjectToPlane(positions, chosen->exponent), box, margin, chosen->stretch),
            .exponent = chosen->exponent,
            .stretched = chosen->stretch != 1};
}

}  // namespace qv::import
