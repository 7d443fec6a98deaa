#include "support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<uint64_t> allocations{0};
std::atomic<uint64_t> largest{0};
} // namespace

// GCC takes the free() in a replaced operator delete for a mismatch; it is
// the pairing the replacement makes.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    // Counted before it is tried: a request the heap refuses still counts.
    uint64_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace mirefell::testing
{

uint64_t AllocationCount()
{
    return allocations.load(std::memory_order_relaxed);
}

uint64_t LargestAllocation()
{
    return largest.load(std::memory_order_relaxed);
}

void ResetLargestAllocation()
{
    largest.store(0, std::memory_order_relaxed);
}

} // namespace mirefell::testing
