#include "schematic_queue.h"

#include <algorithm>
#include <functional>

namespace qv::import::schematic {

void BoundQueue::Clear() {
    for (const std::uint64_t bound : filled_) {
        buckets_[bound].clear();
    }
    filled_.clear();
    overflow_.clear();
    least_ = 0;
    size_ = 0;
}

void BoundQueue::Push(std::uint64_t bound, std::uint64_t state) {
    if (size_ == 0 || bound < least_) {
        least_ = std::min(bound, kBuckets);
    }
    ++size_;
    if (bound >= kBuckets) {
        overflow_.push_back((bound << kStateBits) | state);
        std::push_heap(overflow_.begin(), overflow_.end(), std::greater<>{});
        return;
    }
    if (bound >= buckets_.size()) {
        buckets_.resize(bound + 1);
    }
    std::vector<std::uint64_t>& bucket = buckets_[bound];
    if (bucket.empty()) {
        filled_.push_back(bound);
    }
    bucket.push_back(state);
    std::push_heap(bucket.begin(), bucket.end(), std::greater<>{});
}

std::pair<std::uint64_t, std::uint64_t> BoundQueue::Pop() {
    --size_;
    while (least_ < buckets_.size() && buckets_[least_].empty()) {
        ++least_;
    }
    if (least_ < buckets_.size()) {
        std::vector<std::uint64_t>& bucket = buckets_[least_];
        std::pop_heap(bucket.begin(), bucket.end(), std::greater<>{});
        const std::uint64_t state = bucket.back();
        bucket.pop_back();
        return {least_, state};
    }
    std::pop_heap(overflow_.begin(), overflow_.end(), std::greater<>{});
    const std::uint64_t key = overflow_.back();
    overflow_.pop_back();
    return {key >> kStateBits, key & ((std::uint64_t{1} << kStateBits) - 1)};
}

}  // namespace qv::import::schematic
