#include "allocation_meter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> current{0};
std::atomic<std::size_t> peak{0};

void* Allocate(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (!memory) {
        throw std::bad_alloc();
    }
    const std::size_t now = current += malloc_usable_size(memory);
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return memory;
}

void Free(void* memory) noexcept {
    if (memory) {
        current -= malloc_usable_size(memory);
        std::free(memory);
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    Free(memory);
}
void operator delete[](void* memory) noexcept {
    Free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    Free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    Free(memory);
}

namespace qv::bench {

std::size_t AllocationMeter::Current() {
    return current.load();
}
std::size_t AllocationMeter::Peak() {
    return peak.load();
}
void AllocationMeter::ResetPeak() {
    peak.store(current.load());
}

}  // namespace qv::bench
