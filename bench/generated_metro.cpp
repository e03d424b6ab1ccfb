#include "generated_metro.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <set>
#include <utility>

namespace qv::bench {

namespace {

struct Candidate {
    std::int64_t distance;
    const Station* a;
    const Station* b;
};

std::int64_t SquaredDistance(const Station& a, const Station& b) {
    const std::int64_t dx = a.x - b.x;
    const std::int64_t dy = a.y - b.y;
    return dx * dx + dy * dy;
}

}  // namespace

std::unique_ptr<NetworkModel> MakeGeneratedMetro(std::int32_t points, std::int32_t transfers,
                                                 std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto between = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    auto model = std::make_unique<NetworkModel>();
    // Lines run as diameters at spread angles, so that every two of them cross near the centre.
    const std::int32_t lineCount = std::clamp(points / 25, 3, 12);
    std::set<std::pair<std::int32_t, std::int32_t>> used;
    for (std::int32_t line = 0; line < lineCount; ++line) {
        const std::int32_t length = points / lineCount + (line < points % lineCount ? 1 : 0);
        Line& added = model->AddLine(line + 1, u"Линия", 0, false, length, between(1, 4));
        const double angle = std::numbers::pi * line / lineCount;
        const double step = 8.0;
        const double offsetX = between(-6, 6);
        const double offsetY = between(-6, 6);
        for (std::int32_t i = 0; i < length; ++i) {
            const double along = (i - length / 2.0) * step;
            auto x = static_cast<std::int32_t>(std::lround(offsetX + along * std::cos(angle)));
            auto y = static_cast<std::int32_t>(std::lround(offsetY + along * std::sin(angle)));
            while (!used.insert({x, y}).second) {
                ++x;
            }
            added.AddStation({.name = u"Станция",
                              .runTime = between(1, 4),
                              .kind = between(1, 10) == 1 && i > 0 && i + 1 < length
                                          ? kShapePointKind
                                          : kStationKind,
                              .x = x,
                              .y = y});
        }
    }
    model->BuildStationIndex();

    // The closest stations of each pair of lines first, lines 1 and 2 before all; then the
    // closest remaining pairs.
    std::vector<Candidate> byLines;
    std::vector<Candidate> others;
    const auto& lines = model->Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            std::vector<Candidate> pairs;
            for (const auto& a : lines[i]->stations) {
                for (const auto& b : lines[j]->stations) {
                    if (a->IsStation() && b->IsStation()) {
                        pairs.push_back({SquaredDistance(*a, *b), a.get(), b.get()});
                    }
                }
            }
            std::sort(pairs.begin(), pairs.end(),
                      [](const auto& l, const auto& r) { return l.distance < r.distance; });
            byLines.push_back(pairs.front());
            others.insert(others.end(), pairs.begin() + 1,
                          pairs.begin() + std::min<std::ptrdiff_t>(4, pairs.size()));
        }
    }
    std::stable_sort(byLines.begin() + 1, byLines.end(),
                     [](const auto& l, const auto& r) { return l.distance < r.distance; });
    std::sort(others.begin(), others.end(),
              [](const auto& l, const auto& r) { return l.distance < r.distance; });
    byLines.insert(byLines.end(), others.begin(), others.end());
    for (std::int32_t i = 0; i < transfers && i < static_cast<std::int32_t>(byLines.size()); ++i) {
        const Candidate& c = byLines[static_cast<std::size_t>(i)];
        model->transfers.push_back({c.a->x, c.a->y, c.b->x, c.b->y, between(2, 5)});
    }
    model->BuildAdjacency();
    return model;
}

}  // namespace qv::bench

namespace qv::bench {

std::unique_ptr<NetworkModel> MakeGridMetro(std::int32_t rows, std::int32_t columns) {
    auto model = std::make_unique<NetworkModel>();
    constexpr std::int32_t kSpacing = 10;
    for (std::int32_t row = 0; row < rows; ++row) {
        Line& line = model->AddLine(row, u"Ряд", 0x0000FF, false, columns, 2);
        for (std::int32_t column = 0; column < columns; ++column) {
            line.AddStation(
                {.name = u"Р", .runTime = 2, .x = column * kSpacing, .y = row * kSpacing});
        }
    }
    // Columns stand one unit off the rows, so that each crossing is a transfer between two points.
    for (std::int32_t column = 0; column < columns; ++column) {
        Line& line = model->AddLine(rows + column, u"Столбец", 0xFF0000, false, rows, 2);
        for (std::int32_t row = 0; row < rows; ++row) {
            line.AddStation(
                {.name = u"С", .runTime = 2, .x = column * kSpacing + 1, .y = row * kSpacing + 1});
            model->transfers.push_back(
                {column * kSpacing, row * kSpacing, column * kSpacing + 1, row * kSpacing + 1, 1});
        }
    }
    model->BuildStationIndex();
    model->BuildAdjacency();
    return model;
}

}  // namespace qv::bench

namespace qv::bench {

std::unique_ptr<NetworkModel> MakeLadderMetro(std::int32_t lines, std::int32_t stations) {
    auto model = std::make_unique<NetworkModel>();
    constexpr std::int32_t kSpacing = 10;
    for (std::int32_t row = 0; row < lines; ++row) {
        Line& line = model->AddLine(row + 1, u"Линия", 0x00FF00, false, stations, 2);
        for (std::int32_t column = 0; column < stations; ++column) {
            line.AddStation(
                {.name = u"Л", .runTime = 2, .x = column * kSpacing, .y = row * kSpacing});
        }
    }
    for (std::int32_t row = 0; row + 2 < lines; ++row) {
        for (const std::int32_t column : {2, stations - 3}) {
            model->transfers.push_back(
                {column * kSpacing, row * kSpacing, column * kSpacing, (row + 1) * kSpacing, 3});
        }
    }
    model->BuildStationIndex();
    model->BuildAdjacency();
    return model;
}

}  // namespace qv::bench
