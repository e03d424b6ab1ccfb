#pragma once

#include <cstddef>

namespace qv::bench {

// Counts the bytes the program holds on the heap, through replaced global new and delete.
struct AllocationMeter {
    static std::size_t Current();
    static std::size_t Peak();
    static void ResetPeak();
};

}  // namespace qv::bench
