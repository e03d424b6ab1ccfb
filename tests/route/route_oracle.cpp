#include "route_oracle.h"

#include <algorithm>
#include <optional>
#include <span>

namespace qv::testing {

namespace {

using PointList = std::vector<std::int32_t>;

std::int32_t OracleTransferCount(const NetworkModel& model, std::span<const std::int32_t> path,
                                 std::size_t length) {
    std::int32_t count = 0;
    bool haveLine = false;
    std::int32_t current = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const Station& point = *model.Stations()[static_cast<std::size_t>(path[i])];
        if (point.kind != 'S') {
            continue;
        }
        if (!haveLine) {
            haveLine = true;
            current = point.line->number;
        } else if (point.line->number != current) {
            ++count;
            current = point.line->number;
        }
    }
    return count;
}

std::int64_t OracleTravelTime(const NetworkModel& model, const PointList& path) {
    std::int64_t time = 0;
    const Station* previous = nullptr;
    std::int32_t current = 0;
    for (const std::int32_t index : path) {
        const Station& point = *model.Stations()[static_cast<std::size_t>(index)];
        if (point.kind != 'S') {
            continue;
        }
        if (!previous) {
            if (model.settings.countWaitTime) {
                time += point.line->waitTime;
            }
            current = point.line->number;
        } else if (point.line->number != current) {
            if (model.settings.countWaitTime) {
                time += point.line->waitTime;
            }
            for (const Transfer& t : model.transfers) {
                if ((t.x1 == previous->x && t.y1 == previous->y && t.x2 == point.x &&
                     t.y2 == point.y) ||
                    (t.x1 == point.x && t.y1 == point.y && t.x2 == previous->x &&
                     t.y2 == previous->y)) {
                    time += t.time;
                    break;
                }
            }
            current = point.line->number;
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
    return {OracleTransferCount(model, path, path.size()), OracleTravelTime(model, path)};
}

bool OracleBetter(const OracleScore& a, const OracleScore& b, std::int32_t algorithm) {
    const bool byTransfers = algorithm == 0;
    const std::int64_t first[] = {byTransfers ? a.transfers : a.minutes,
                                  byTransfers ? b.transfers : b.minutes};
    const std::int64_t second[] = {byTransfers ? a.minutes : a.transfers,
                                   byTransfers ? b.minutes : b.transfers};
    return first[0] != first[1] ? first[0] < first[1] : second[0] < second[1];
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
        const std::int32_t count = line->StationCount();
        for (std::int32_t j = 0; j < count; ++j) {
            const auto at =
                static_cast<std::size_t>(line->stations[static_cast<std::size_t>(j)]->index);
            if (count < 2) {
                continue;
            }
            if (j == 0) {
                matrix[at][at + 1] = 1;
            } else if (j == count - 1) {
                matrix[at][at - 1] = 1;
                if (line->isRing) {
                    const auto first = static_cast<std::size_t>(line->firstStationIndex);
                    matrix[at][first] = 1;
                    matrix[first][at] = 1;
                }
            } else {
                matrix[at][at + 1] = 1;
                matrix[at][at - 1] = 1;
            }
        }
    }
    for (const Transfer& transfer : model.transfers) {
        std::optional<std::size_t> k;
        std::optional<std::size_t> l;
        for (std::size_t i = 0; i < n && !k; ++i) {
            const Station& point = *model.Stations()[i];
            if (point.x == transfer.x1 && point.y == transfer.y1 && point.kind == 'S') {
                k = i;
            }
        }
        for (std::size_t i = 0; i < n && k && !l; ++i) {
            const Station& point = *model.Stations()[i];
            if (point.x == transfer.x2 && point.y == transfer.y2 && point.kind == 'S') {
                l = i;
            }
        }
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

    // A path as the procedure lays it out: entry 0 the point count, then the points; the first
    // path has room for maxLength + 1 entries (at least two), every later one for n + 1.
    using Path = std::vector<std::int32_t>;
    std::vector<Path> table(
        static_cast<std::size_t>(slotCount));  // an empty vector is an empty slot
    table[0] = Path(static_cast<std::size_t>(std::max<std::int64_t>(maxLength + 1, 2)), 0);
    table[0][0] = 1;
    table[0][1] = departure;
    std::int64_t pathCount = 1;
    bool changed = false;

    const auto points = [](const Path& path) {
        return std::vector<std::int32_t>(path.begin() + 1, path.begin() + 1 + path[0]);
    };
    const auto contains = [](const Path& path, std::int32_t s) {
        for (std::int32_t k = 1; k <= path[0]; ++k) {
            if (path[static_cast<std::size_t>(k)] == s) {
                return true;
            }
        }
        return false;
    };

    do {
        changed = false;
        std::int32_t arrivals = 0;
        const std::int64_t passEnd = pathCount;
        for (std::int64_t i = 0; i < passEnd; ++i) {
            Path& path = table[static_cast<std::size_t>(i)];
            if (path.empty()) {
                continue;
            }
            if (path[static_cast<std::size_t>(path[0])] == destination) {
                ++arrivals;
                if (arrivals > 100) {
                    seen.arrivalsCut = true;
                    break;
                }
                continue;
            }
            // Sweeps over this path.
            while (true) {
                const std::int32_t length = path[0];
                const std::int32_t last = path[static_cast<std::size_t>(length)];
                if (length >= maxLength - 1) {
                    break;
                }
                bool extended = false;
                bool finished = false;
                for (std::int32_t s = 0; s < n; ++s) {
                    if (model.Stations()[static_cast<std::size_t>(s)]->kind == 'F' ||
                        matrix[static_cast<std::size_t>(last)][static_cast<std::size_t>(s)] != 1 ||
                        contains(path, s)) {
                        continue;
                    }
                    if (OracleTransferCount(model, std::span(path).subspan(1),
                                            static_cast<std::size_t>(length)) >
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
                        Path copy(static_cast<std::size_t>(n) + 1, 0);
                        std::copy(path.begin() + 1, path.begin() + 1 + length, copy.begin() + 1);
                        copy[0] = length + 1;
                        copy[static_cast<std::size_t>(length) + 1] = s;
                        table[static_cast<std::size_t>(pathCount)] = std::move(copy);
                        ++pathCount;
                        changed = true;
                    }
                }
                if (!extended || finished) {
                    break;
                }
            }
            if (path[static_cast<std::size_t>(path[0])] != destination) {
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
    for (std::int64_t i = 0; i < pathCount; ++i) {
        const Path& path = table[static_cast<std::size_t>(i)];
        if (path.empty() || path[static_cast<std::size_t>(path[0])] != destination) {
            continue;
        }
        std::int64_t score = 0;
        if (algorithm == 0) {
            score = OracleTransferCount(model, points(path), static_cast<std::size_t>(path[0]));
        } else if (algorithm == 1) {
            score = OracleTravelTime(model, points(path));
        } else {
            continue;
        }
        if (score < best) {
            best = score;
            chosen = i;
        }
    }
    return chosen ? points(table[static_cast<std::size_t>(*chosen)]) : std::vector<std::int32_t>{};
}

}  // namespace qv::testing
