#include "schematic_ports.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

namespace qv::import::schematic {

namespace {

double Turn(double heading, int port) {
    const double turn =
        std::fmod(std::abs(heading - port * std::numbers::pi / 4), 2 * std::numbers::pi);
    return std::min(turn, 2 * std::numbers::pi - turn);
}

// Of the ways to give the runs distinct ports in their headings' order round the station, the
// one `cost` (of the ports by run) weighs least; the first of equal ones.
template <typename Cost>
std::vector<int> CheapestInOrder(std::span<const double> headings, Cost cost) {
    const std::size_t count = headings.size();
    if (count == 0 || count > 8) {
        return {};
    }
    std::vector<std::size_t> round(count);
    std::iota(round.begin(), round.end(), std::size_t{0});
    std::stable_sort(round.begin(), round.end(),
                     [&](std::size_t a, std::size_t b) { return headings[a] < headings[b]; });
    std::vector<int> best(count, 0);
    std::vector<int> ports(count, 0);
    double least = std::numeric_limits<double>::infinity();
    for (unsigned mask = 0; mask < 256; ++mask) {
        if (std::popcount(mask) != static_cast<int>(count)) {
            continue;
        }
        std::vector<int> taken;
        for (int port = 0; port < 8; ++port) {
            if ((mask >> port) & 1U) {
                taken.push_back(port);
            }
        }
        for (std::size_t shift = 0; shift < count; ++shift) {
            for (std::size_t j = 0; j < count; ++j) {
                ports[round[j]] = taken[(j + shift) % count];
            }
            if (const double total = cost(ports); total < least - 1e-9) {
                least = total;
                best = ports;
            }
        }
    }
    return best;
}

}  // namespace

std::vector<int> PortsInOrder(std::span<const double> headings) {
    return CheapestInOrder(headings, [&](const std::vector<int>& ports) {
        double total = 0;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            total += Turn(headings[i], ports[i]);
        }
        return total;
    });
}

std::vector<int> PortsInOrderForLines(std::span<const double> headings,
                                      std::span<const std::vector<int>> lines,
                                      const TurnCosts& turns) {
    // A sharp turn outweighs any other choice.
    constexpr double kSharp = 1e9;
    constexpr int kSharpChange = 3;
    const double perRadian = turns.otherPort / (std::numbers::pi / 4);
    return CheapestInOrder(headings, [&](const std::vector<int>& ports) {
        double total = 0;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            total += Turn(headings[i], ports[i]) * perRadian;
            for (std::size_t j = i + 1; j < ports.size(); ++j) {
                const std::int64_t shared = CountShared(lines[i], lines[j]);
                const int change = Change(Opposite(ports[i]), ports[j]);
                total += static_cast<double>(shared) *
                         (change >= kSharpChange ? kSharp
                                                 : turns.bend[static_cast<std::size_t>(change)]);
            }
        }
        return total;
    });
}

bool InCyclicOrder(const std::map<int, double>& headingByPort) {
    if (headingByPort.size() < 3) {
        return true;
    }
    int descents = 0;
    for (auto it = headingByPort.begin(); it != headingByPort.end(); ++it) {
        const auto next =
            std::next(it) == headingByPort.end() ? headingByPort.begin() : std::next(it);
        descents += next->second < it->second;
    }
    return descents <= 1;
}

void ReservePorts(std::vector<Run>& runs, const std::function<double(int, int)>& heading) {
    std::map<int, std::vector<std::pair<std::size_t, int>>> endsAt;  // place: run, end
    for (std::size_t r = 0; r < runs.size(); ++r) {
        endsAt[runs[r].places.front()].emplace_back(r, 0);
        endsAt[runs[r].places.back()].emplace_back(r, 1);
    }
    for (const auto& [place, ends] : endsAt) {
        std::vector<double> headings;
        for (const auto& [r, end] : ends) {
            const std::vector<int>& places = runs[r].places;
            headings.push_back(end == 0 ? heading(place, places[1])
                                        : heading(place, places[places.size() - 2]));
        }
        const std::vector<int> ports = PortsInOrder(headings);
        for (std::size_t i = 0; i < ports.size(); ++i) {
            runs[ends[i].first].ports[static_cast<std::size_t>(ends[i].second)] = ports[i];
        }
    }
}

}  // namespace qv::import::schematic
