#include "import/line_splitting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>

namespace qv::import {
namespace {

std::vector<SourceLink> Links(const std::vector<std::pair<int, int>>& pairs) {
    std::vector<SourceLink> links;
    for (const auto& [from, to] : pairs) {
        links.push_back({from, to, std::nullopt});
    }
    return links;
}

// Each link in exactly one chain, and each step of a chain is the link it names.
void ExpectEveryLinkOnce(const std::vector<SourceLink>& links, const SplitLine& split) {
    std::vector<int> seen;
    for (const Chain& chain : split.chains) {
        const std::size_t steps = chain.isRing ? chain.stations.size() : chain.stations.size() - 1;
        ASSERT_EQ(chain.links.size(), steps);
        for (std::size_t i = 0; i < steps; ++i) {
            const SourceLink& link = links[static_cast<std::size_t>(chain.links[i])];
            const int a = chain.stations[i];
            const int b = chain.stations[(i + 1) % chain.stations.size()];
            EXPECT_TRUE((link.from == a && link.to == b) || (link.from == b && link.to == a))
                << "step " << i << " of a chain does not follow its link";
            seen.push_back(chain.links[i]);
        }
    }
    std::sort(seen.begin(), seen.end());
    std::vector<int> all(links.size());
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(seen, all);
}

// At every station that several chains reach, the chain listed first ends there, so that a step
// from its last station (run time 0) to any later chain counts nothing.
void ExpectForkRule(const SplitLine& split) {
    std::map<int, int> chainsAt;
    for (const Chain& chain : split.chains) {
        for (const int station : chain.stations) {
            ++chainsAt[station];
        }
    }
    std::map<int, bool> first;
    for (const Chain& chain : split.chains) {
        for (std::size_t i = 0; i < chain.stations.size(); ++i) {
            const int station = chain.stations[i];
            if (chainsAt[station] < 2 || first.contains(station)) {
                continue;
            }
            first[station] = true;
            const bool costly = std::find(split.costlyForks.begin(), split.costlyForks.end(),
                                          station) != split.costlyForks.end();
            EXPECT_TRUE(costly || (!chain.isRing && i + 1 == chain.stations.size()))
                << "station " << station << " is first reached in the middle of a chain";
        }
    }
}

// A chain stays one chain in its own order; a closed loop is one ring from the first link on.
TEST(LineSplitting, AChainOrALoopIsOneChain) {
    const std::tuple<std::vector<SourceLink>, std::vector<int>, bool> cases[] = {
        {Links({{5, 6}, {6, 7}, {7, 8}}), {5, 6, 7, 8}, false},
        {Links({{1, 2}, {2, 3}}), {1, 2, 3}, false},
        {Links({{1, 2}, {2, 3}, {3, 4}, {4, 1}}), {1, 2, 3, 4}, true},
        {Links({{1, 2}, {2, 3}, {3, 1}}), {1, 2, 3}, true}};
    for (const auto& [links, stations, ring] : cases) {
        const SplitLine split = SplitIntoChains(links);
        ASSERT_EQ(split.chains.size(), 1u);
        EXPECT_EQ(split.chains[0].stations, stations);
        EXPECT_EQ(split.chains[0].isRing, ring) << links.size();
        ExpectEveryLinkOnce(links, split);
    }
}

TEST(LineSplitting, ABranchComesFirstAndEndsAtTheFork) {
    // Trunk 0-1-2-3-4, branch 2-5-6: the branch is shorter and is listed first, towards 2.
    const std::vector<SourceLink> links = Links({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {2, 5}, {5, 6}});
    const SplitLine split = SplitIntoChains(links);
    ASSERT_EQ(split.chains.size(), 2u);
    EXPECT_EQ(split.chains[0].stations, (std::vector<int>{6, 5, 2}));
    EXPECT_EQ(split.chains[1].stations, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(split.costlyForks.empty());
    ExpectEveryLinkOnce(links, split);
}

TEST(LineSplitting, LoopsAndMeshesKeepEveryLinkAndNameAForkOnlyWhereNoOrderKeepsTheRule) {
    std::vector<SourceLink> mesh;
    for (int a = 0; a < 9; ++a) {
        for (int b = a + 1; b < 9; ++b) {
            mesh.push_back({a, b, std::nullopt});
        }
    }
    // Two central branches between two forks, a loop hung at the end 5 and a short spur.
    const std::vector<std::pair<int, int>> loops = {{0, 1}, {1, 2}, {2, 3}, {3, 4},
                                                    {4, 5}, {2, 6}, {6, 7}, {7, 4},
                                                    {5, 8}, {8, 9}, {9, 5}, {1, 10}};
    const std::pair<std::vector<SourceLink>, bool> cases[] = {
        {Links(loops), false},
        // Two forks joined by three ways: no order keeps the rule.
        {Links({{0, 1}, {1, 2}, {2, 3}, {0, 4}, {4, 3}, {0, 3}}), true},
        {mesh, true},
    };
    for (const auto& [links, costly] : cases) {
        SCOPED_TRACE(links.size());
        const SplitLine split = SplitIntoChains(links);
        ExpectEveryLinkOnce(links, split);
        ExpectForkRule(split);
        EXPECT_EQ(split.costlyForks.empty(), !costly);
    }
}

}  // namespace
}  // namespace qv::import
