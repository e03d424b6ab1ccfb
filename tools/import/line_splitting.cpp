#include "line_splitting.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

namespace qv::import {

namespace {

struct Step {
    int neighbour = 0;
    int link = 0;
};

using Adjacency = std::map<int, std::vector<Step>>;

// The longest simple path from `start` over unused links; ties go to the path whose links,
// compared in order, have the lower indices. The search is exhaustive for the tree-like lines of
// real networks and stops at a bound of steps for a line knitted like a mesh, which keeps the
// best path found by then.
class LongestPath {
  public:
    LongestPath(const Adjacency& adjacency, const std::vector<bool>& used)
        : adjacency_(adjacency), used_(used) {}

    static bool Better(const Chain& a, const Chain& b) {
        if (a.links.size() != b.links.size()) {
            return a.links.size() > b.links.size();
        }
        return a.links < b.links;
    }

    Chain From(int start) {
        best_ = {{start}, {}, false};
        current_ = best_;
        visited_ = {start};
        steps_ = 0;
        Walk(start);
        return best_;
    }

  private:
    static constexpr int kMostSteps = 20000;

    void Walk(int node) {
        if (Better(current_, best_)) {
            best_ = current_;
        }
        for (const Step& step : adjacency_.at(node)) {
            if (used_[static_cast<std::size_t>(step.link)] || visited_.contains(step.neighbour) ||
                ++steps_ > kMostSteps) {
                continue;
            }
            visited_.insert(step.neighbour);
            current_.stations.push_back(step.neighbour);
            current_.links.push_back(step.link);
            Walk(step.neighbour);
            current_.links.pop_back();
            current_.stations.pop_back();
            visited_.erase(step.neighbour);
        }
    }

    const Adjacency& adjacency_;
    const std::vector<bool>& used_;
    Chain best_;
    Chain current_;
    std::set<int> visited_;
    int steps_ = 0;
};

bool IsSimpleLoop(const std::vector<int>& componentLinks, const Adjacency& adjacency,
                  const std::set<int>& nodes) {
    if (componentLinks.size() != nodes.size() || nodes.size() < 3) {
        return false;
    }
    return std::all_of(nodes.begin(), nodes.end(),
                       [&adjacency](int node) { return adjacency.at(node).size() == 2; });
}

Chain RingFrom(std::span<const SourceLink> links, int firstLink, const Adjacency& adjacency) {
    Chain ring;
    ring.isRing = true;
    const int start = links[static_cast<std::size_t>(firstLink)].from;
    int node = start;
    int through = -1;
    int next = firstLink;
    do {
        ring.stations.push_back(node);
        ring.links.push_back(next);
        const SourceLink& link = links[static_cast<std::size_t>(next)];
        node = link.from == node ? link.to : link.from;
        through = next;
        for (const Step& step : adjacency.at(node)) {
            if (step.link != through) {
                next = step.link;
            }
        }
    } while (node != start);
    return ring;
}

std::vector<Chain> Decompose(const std::vector<int>& componentLinks, const Adjacency& adjacency,
                             std::vector<bool>& used) {
    std::vector<Chain> chains;
    const auto unusedDegree = [&](int node) {
        return std::count_if(
            adjacency.at(node).begin(), adjacency.at(node).end(),
            [&used](const Step& step) { return !used[static_cast<std::size_t>(step.link)]; });
    };
    const auto anyUnused = [&] {
        return std::any_of(componentLinks.begin(), componentLinks.end(),
                           [&used](int link) { return !used[static_cast<std::size_t>(link)]; });
    };
    while (anyUnused()) {
        std::vector<int> starts;
        for (const auto& [node, steps] : adjacency) {
            if (unusedDegree(node) == 1) {
                starts.push_back(node);
            }
        }
        if (starts.empty()) {
            for (const auto& [node, steps] : adjacency) {
                if (unusedDegree(node) > 0) {
                    starts.push_back(node);
                }
            }
        }
        LongestPath search(adjacency, used);
        Chain best;
        for (const int start : starts) {
            Chain candidate = search.From(start);
            if (best.stations.empty() || LongestPath::Better(candidate, best)) {
                best = std::move(candidate);
            }
        }
        for (const int link : best.links) {
            used[static_cast<std::size_t>(link)] = true;
        }
        chains.push_back(std::move(best));
    }
    return chains;
}

void Reverse(Chain& chain) {
    std::reverse(chain.stations.begin(), chain.stations.end());
    std::reverse(chain.links.begin(), chain.links.end());
}

// Orders and orients the chains so that the first chain to reach a fork station ends there.
SplitLine Arrange(std::vector<Chain> pending) {
    SplitLine result;
    std::set<int> reached;
    while (!pending.empty()) {
        std::map<int, int> uses;
        for (const auto* list : {&result.chains, &pending}) {
            for (const Chain& chain : *list) {
                for (const int station : chain.stations) {
                    ++uses[station];
                }
            }
        }
        const auto unreachedForks = [&](const Chain& chain, std::size_t from, std::size_t to) {
            std::vector<std::size_t> positions;
            for (std::size_t i = from; i <= to; ++i) {
                const int station = chain.stations[i];
                if (uses[station] > 1 && !reached.contains(station)) {
                    positions.push_back(i);
                }
            }
            return positions;
        };

        std::size_t chosen = pending.size();
        for (std::size_t i = 0; i < pending.size() && chosen == pending.size(); ++i) {
            Chain& chain = pending[i];
            const std::vector<std::size_t> forks =
                unreachedForks(chain, 0, chain.stations.size() - 1);
            if (forks.empty()) {
                chosen = i;
            } else if (forks.size() == 1 && !chain.isRing &&
                       (forks[0] == 0 || forks[0] + 1 == chain.stations.size())) {
                if (forks[0] == 0) {
                    Reverse(chain);
                }
                chosen = i;
            }
        }

        if (chosen == pending.size()) {
            // Nothing can go next as it is: cut a chain at an unreached fork so that one piece
            // reaches no other unreached fork.
            bool cut = false;
            for (std::size_t i = 0; i < pending.size() && !cut; ++i) {
                const Chain chain = pending[i];
                const std::size_t last = chain.stations.size() - 1;
                for (std::size_t at = 1; at < last && !cut; ++at) {
                    const int station = chain.stations[at];
                    if (uses[station] < 2 || reached.contains(station) || chain.isRing) {
                        continue;
                    }
                    if (unreachedForks(chain, 0, at).size() == 1 ||
                        unreachedForks(chain, at, last).size() == 1) {
                        Chain head{{chain.stations.begin(),
                                    chain.stations.begin() + static_cast<std::ptrdiff_t>(at) + 1},
                                   {chain.links.begin(),
                                    chain.links.begin() + static_cast<std::ptrdiff_t>(at)},
                                   false};
                        Chain tail{{chain.stations.begin() + static_cast<std::ptrdiff_t>(at),
                                    chain.stations.end()},
                                   {chain.links.begin() + static_cast<std::ptrdiff_t>(at),
                                    chain.links.end()},
                                   false};
                        pending[i] = std::move(head);
                        pending.insert(pending.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                       std::move(tail));
                        cut = true;
                    }
                }
            }
            if (cut) {
                continue;
            }
            // No order keeps the rule (a line with more loops than ends): take the first chain
            // and remember its unreached forks.
            chosen = 0;
            for (const std::size_t position :
                 unreachedForks(pending[0], 0, pending[0].stations.size() - 1)) {
                if (position + 1 != pending[0].stations.size() || pending[0].isRing) {
                    result.costlyForks.push_back(pending[0].stations[position]);
                }
            }
        }

        for (const int station : pending[chosen].stations) {
            reached.insert(station);
        }
        result.chains.push_back(std::move(pending[chosen]));
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(chosen));
    }
    return result;
}

}  // namespace

SplitLine SplitIntoChains(std::span<const SourceLink> links) {
    // Components by their lowest link, so that the map keeps the data's order.
    std::map<int, int> root;
    const auto find = [&root](int node) {
        while (root[node] != node) {
            node = root[node] = root[root[node]];
        }
        return node;
    };
    Adjacency adjacency;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const SourceLink& link = links[i];
        for (const int node : {link.from, link.to}) {
            if (!root.contains(node)) {
                root[node] = node;
            }
        }
        root[find(link.from)] = find(link.to);
        adjacency[link.from].push_back({link.to, static_cast<int>(i)});
        adjacency[link.to].push_back({link.from, static_cast<int>(i)});
    }
    std::map<int, std::vector<int>> componentLinks;  // keyed by the component's first link
    std::map<int, int> firstLinkOf;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const int component = find(links[i].from);
        if (!firstLinkOf.contains(component)) {
            firstLinkOf[component] = static_cast<int>(i);
        }
        componentLinks[firstLinkOf[component]].push_back(static_cast<int>(i));
    }

    std::vector<bool> used(links.size(), false);
    std::vector<Chain> chains;
    for (const auto& [firstLink, members] : componentLinks) {
        std::set<int> nodes;
        Adjacency local;
        for (const int link : members) {
            for (const int node : {links[static_cast<std::size_t>(link)].from,
                                   links[static_cast<std::size_t>(link)].to}) {
                nodes.insert(node);
                local[node] = adjacency.at(node);
            }
        }
        if (IsSimpleLoop(members, local, nodes)) {
            chains.push_back(RingFrom(links, firstLink, local));
            continue;
        }
        for (Chain& chain : Decompose(members, local, used)) {
            chains.push_back(std::move(chain));
        }
    }
    return Arrange(std::move(chains));
}

}  // namespace qv::import
