#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The route search's queue of states.
namespace qv::import::schematic {

// States by bound, the least bound first and among equal bounds the least state: a bucket per
// bound, each a small heap of states. Bounds stay below 2^28 and states below 2^36. A search's
// bounds grow from one state taken to the next and lie within a few hundred of each other, where
// one heap of all the states spent a fifth of the search sifting.
class BoundQueue {
  public:
    void Clear();
    bool Empty() const { return size_ == 0; }
    void Push(std::uint64_t bound, std::uint64_t state);
    // The least bound and state, taken off the queue; the queue must not be empty.
    std::pair<std::uint64_t, std::uint64_t> Pop();

  private:
    // Bounds from here on share one heap keyed by bound and state.
    static constexpr std::uint64_t kBuckets = std::uint64_t{1} << 20;
    static constexpr int kStateBits = 36;

    std::vector<std::vector<std::uint64_t>> buckets_;  // per bound: its states, a min-heap
    std::vector<std::uint64_t> filled_;                // bounds whose buckets took states
    std::vector<std::uint64_t> overflow_;              // bound << kStateBits | state, a min-heap
    std::uint64_t least_ = 0;                          // no bucket below holds a state
    std::size_t size_ = 0;
};

}  // namespace qv::import::schematic
