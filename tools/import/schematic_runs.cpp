#include "schematic_runs.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace qv::import::schematic {

namespace {

void FindEdges(const SchematicRequest& request, RunNetwork& network) {
    std::map<std::pair<int, int>, int> edgeOf;
    network.edgesAt.assign(request.places.size(), {});
    for (std::size_t c = 0; c < request.chains.size(); ++c) {
        const PlaceChain& chain = request.chains[c];
        const std::size_t n = chain.places.size();
        const std::size_t links = chain.isRing && n > 2 ? n : n - 1;
        for (std::size_t i = 0; i < links; ++i) {
            const int from = chain.places[i];
            const int to = chain.places[(i + 1) % n];
            if (from == to) {
                continue;
            }
            const auto key = std::minmax(from, to);
            auto [found, added] = edgeOf.emplace(key, static_cast<int>(network.edges.size()));
            if (added) {
                network.edges.push_back({key.first, key.second, {}});
                network.edgesAt[static_cast<std::size_t>(key.first)].push_back(found->second);
                network.edgesAt[static_cast<std::size_t>(key.second)].push_back(found->second);
            }
            std::vector<int>& chains =
                network.edges[static_cast<std::size_t>(found->second)].chains;
            if (std::find(chains.begin(), chains.end(), static_cast<int>(c)) == chains.end()) {
                chains.push_back(static_cast<int>(c));
            }
        }
    }
    for (PlaceEdge& edge : network.edges) {
        std::sort(edge.chains.begin(), edge.chains.end());
    }
}

}  // namespace

RunNetwork FindRuns(const SchematicRequest& request) {
    RunNetwork network;
    FindEdges(request, network);
    const std::vector<PlaceEdge>& edges = network.edges;
    const std::vector<std::vector<int>>& edgesAt = network.edgesAt;
    std::vector<bool> junction(request.places.size(), false);
    const auto isJunction = [&](int place) {
        const std::vector<int>& at = edgesAt[static_cast<std::size_t>(place)];
        return at.size() != 2 ||
               edges[static_cast<std::size_t>(at[0])].chains !=
                   edges[static_cast<std::size_t>(at[1])].chains ||
               junction[static_cast<std::size_t>(place)];
    };
    std::vector<Run>& runs = network.runs;
    for (bool again = true; again;) {
        again = false;
        runs.clear();
        std::vector<bool> used(edges.size(), false);
        const auto walk = [&](int start, int firstEdge) {
            Run run;
            run.places.push_back(start);
            int here = start;
            int edge = firstEdge;
            while (true) {
                used[static_cast<std::size_t>(edge)] = true;
                const PlaceEdge& e = edges[static_cast<std::size_t>(edge)];
                run.chains = e.chains;
                here = e.a == here ? e.b : e.a;
                run.places.push_back(here);
                if (isJunction(here)) {
                    break;
                }
                const std::vector<int>& at = edgesAt[static_cast<std::size_t>(here)];
                edge = at[0] == edge ? at[1] : at[0];
            }
            return run;
        };
        for (std::size_t p = 0; p < request.places.size(); ++p) {
            if (!isJunction(static_cast<int>(p)) || edgesAt[p].empty()) {
                continue;
            }
            for (const int edge : edgesAt[p]) {
                if (!used[static_cast<std::size_t>(edge)]) {
                    runs.push_back(walk(static_cast<int>(p), edge));
                }
            }
        }
        for (std::size_t e = 0; e < edges.size(); ++e) {
            if (!used[e]) {
                junction[static_cast<std::size_t>(edges[e].a)] = true;
                again = true;
                break;
            }
        }
        std::set<std::pair<int, int>> ends;
        for (const Run& run : runs) {
            const auto key = std::minmax(run.places.front(), run.places.back());
            if ((key.first == key.second || !ends.insert(key).second) && run.places.size() > 2) {
                junction[static_cast<std::size_t>(run.places[run.places.size() / 2])] = true;
                again = true;
            }
        }
    }
    return network;
}

std::vector<std::size_t> DefaultOrder(const RunNetwork& network) {
    std::vector<std::size_t> order(network.runs.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    const auto degree = [&](int place) {
        return static_cast<int>(network.edgesAt[static_cast<std::size_t>(place)].size());
    };
    const auto key = [&](const Run& r) {
        return std::make_tuple(r.chains.size(), degree(r.places.front()) + degree(r.places.back()),
                               r.places.size());
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return key(network.runs[x]) > key(network.runs[y]);
    });
    return order;
}

}  // namespace qv::import::schematic
