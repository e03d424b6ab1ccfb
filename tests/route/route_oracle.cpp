#include "route_oracle.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace qv::testing {

namespace {

using PointList = std::vector<std::int32_t>;

const Station& Point(const NetworkModel& model, std::int64_t index) {
    return *model.Stations()[static_cast<std::size_t>(index)];
}

std::int32_t OracleTransferCount(const NetworkModel& model, std::span<const std::int32_t> path) {
    std::int32_t count = 0;
    std::optional<std::int32_t> current;
    for (const std::int32_t index : path) {
        const Station& point = Point(model, index);
        if (point.kind != 'S') {
            continue;
        }
        if (current && point.line->number != *current) {
            ++count;
        }
        current = point.line->number;
    }
    return count;
}

std::int64_t OracleTravelTime(const NetworkModel& model, const PointList& path) {
    std::int64_t time = 0;
    const Station* previous = nullptr;
    for (const std::int32_t index : path) {
        const Station& point = Point(model, index);
        if (point.kind != 'S') {
            continue;
        }
        if (!previous || point.line->number != previous->line->number) {
            if (model.settings.countWaitTime) {
                time += point.line->waitTime;
            }
            for (const Transfer& t : model.transfers) {
                if (previous && ((t.x1 == previous->x && t.y1 == previous->y && t.x2 == point.x &&
                                  t.y2 == point.y) ||
                                 (t.x1 == point.x && t.y1 == point.y && t.x2 == previous->x &&
                                  t.y2 == previous->y))) {
                    time += t.time;
                    break;
                }
            }
        } else if (previous->index > point.index || point.line->isRing) {
            time += point.runTime;
        } else {
            time += previous->runTime;
        }
        previous = &point;
    }
    return time;
}

}  // namespace

OracleScore OracleMeasure(const NetworkModel& model, const std::vector<std::int32_t>& path) {
    return {OracleTransferCount(model, path), OracleTravelTime(model, path)};
}

bool OracleBetter(const OracleScore& a, const OracleScore& b, std::int32_t algorithm) {
    const auto key = [&](const OracleScore& s) {
        return algorithm == 0 ? std::pair<std::int64_t, std::int64_t>{s.transfers, s.minutes}
                              : std::pair<std::int64_t, std::int64_t>{s.minutes, s.transfers};
    };
    return key(a) < key(b);
}

std::int64_t OracleMaxLength(const NetworkModel& model) {
    const std::int64_t n = model.StationCount();
    const std::int64_t transfers = model.TransferCount();
    return transfers == 0 ? n + 1 : (transfers < 10 ? n * transfers : (2 * n) / 3);
}

std::vector<std::vector<std::uint8_t>> OracleAdjacency(const NetworkModel& model) {
    const auto n = static_cast<std::size_t>(model.StationCount());
    std::vector<std::vector<std::uint8_t>> matrix(n, std::vector<std::uint8_t>(n, 0));
    for (const auto& line : model.Lines()) {
        const std::size_t count = line->stations.size();
        for (std::size_t j = 0; j < count && count >= 2; ++j) {
            const auto at = static_cast<std::size_t>(line->stations[j]->index);
            if (j + 1 < count) {
                matrix[at][at + 1] = 1;
            }
            if (j > 0) {
                matrix[at][at - 1] = 1;
            }
            if (j == count - 1 && line->isRing) {
                const auto first = static_cast<std::size_t>(line->firstStationIndex);
                matrix[at][first] = 1;
                matrix[first][at] = 1;
            }
        }
    }
    // The first station at each end's place; the second sought only when the first is found.
    const auto firstStationAt = [&](std::int32_t x, std::int32_t y) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < n; ++i) {
            const Station& point = Point(model, static_cast<std::int64_t>(i));
            if (point.x == x && point.y == y && point.kind == 'S') {
                return i;
            }
        }
        return std::nullopt;
    };
    for (const Transfer& transfer : model.transfers) {
        const std::optional<std::size_t> k = firstStationAt(transfer.x1, transfer.y1);
        const std::optional<std::size_t> l = k ? firstStationAt(transfer.x2, transfer.y2) : k;
        if (k && l) {
            matrix[*k][*l] = 1;
            matrix[*l][*k] = 1;
        }
    }
    return matrix;
}

std::vector<std::int32_t> OracleSearchRoute(const NetworkModel& model, std::int32_t departure,
                                            std::int32_t destination, OracleEvents* events) {
    OracleEvents seen;
    const std::int32_t n = model.StationCount();
    const auto matrix = OracleAdjacency(model);
    const std::int64_t maxLength = OracleMaxLength(model);
    const std::int64_t slotCount = 100 * std::int64_t{n};

    // Entry 0 the point count, then the points; an empty vector is an empty slot.
    using Path = std::vector<std::int32_t>;
    std::vector<Path> table(static_cast<std::size_t>(slotCount));
    table[0] = Path(static_cast<std::size_t>(n) + 2, 0);
    table[0][0] = 1;
    table[0][1] = departure;
    std::int64_t pathCount = 1;
    bool changed = false;

    const auto points = [](const Path& path) {
        return std::vector<std::int32_t>(path.begin() + 1, path.begin() + 1 + path[0]);
    };
    const auto last = [](const Path& path) { return path[static_cast<std::size_t>(path[0])]; };

    do {
        changed = false;
        std::int32_t arrivals = 0;
        const std::int64_t passEnd = pathCount;
        for (std::int64_t i = 0; i < passEnd; ++i) {
            Path& path = table[static_cast<std::size_t>(i)];
            if (path.empty()) {
                continue;
            }
            if (last(path) == destination) {
                if (++arrivals > 100) {
                    seen.arrivalsCut = true;
                    break;
                }
                continue;
            }
            while (true) {
                const std::int32_t length = path[0];
                const std::int32_t from = last(path);
                if (length >= maxLength - 1) {
                    break;
                }
                bool extended = false;
                bool finished = false;
                for (std::int32_t s = 0; s < n; ++s) {
                    if (Point(model, s).kind == 'F' ||
                        matrix[static_cast<std::size_t>(from)][static_cast<std::size_t>(s)] != 1 ||
                        std::find(path.begin() + 1, path.begin() + 1 + length, s) !=
                            path.begin() + 1 + length) {
                        continue;
                    }
                    if (OracleTransferCount(model, std::span(path).subspan(1, length)) >
                        model.settings.maxTransfers) {
                        extended = false;
                        break;
                    }
                    if (!extended) {
                        path[0] = length + 1;
                        path[static_cast<std::size_t>(length) + 1] = s;
                        changed = true;
                        extended = true;
                        if (s == destination) {
                            finished = true;
                            break;
                        }
                    } else {
                        if (pathCount >= slotCount - 2) {
                            seen.tableFilled = true;
                            changed = false;
                            extended = false;
                            break;
                        }
                        Path copy = path;
                        copy[0] = length + 1;
                        copy[static_cast<std::size_t>(length) + 1] = s;
                        table[static_cast<std::size_t>(pathCount++)] = std::move(copy);
                        changed = true;
                    }
                }
                if (!extended || finished) {
                    break;
                }
            }
            if (last(path) != destination) {
                path = Path();
            }
        }
    } while (changed);

    if (events) {
        *events = seen;
    }
    const std::int32_t algorithm = model.settings.algorithm;
    std::int64_t best = algorithm == 0 ? 100 * std::int64_t{n} : 9999;
    std::optional<std::int64_t> chosen;
    for (std::int64_t i = 0; i < pathCount && (algorithm == 0 || algorithm == 1); ++i) {
        const Path& path = table[static_cast<std::size_t>(i)];
        if (path.empty() || last(path) != destination) {
            continue;
        }
        const std::int64_t score = algorithm == 0 ? OracleTransferCount(model, points(path))
                                                  : OracleTravelTime(model, points(path));
        if (score < best) {
            best = score;
            chosen = i;
        }
    }
    return chosen ? points(table[static_cast<std::size_t>(*chosen)]) : std::vector<std::int32_t>{};
}

}  // namespace qv::testing
