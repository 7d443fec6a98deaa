// Counts heap allocations through the global operator new, for the tests and
// benchmarks that prove a steady-state step allocates nothing. Linking this
// file replaces the global allocation functions of the whole executable; it
// is pulled in only where AllocationCount is used.
#pragma once

#include <cstdint>

namespace mirefell::testing
{

// Allocations made through operator new since the program started.
uint64_t AllocationCount();
// The largest single request to operator new (in bytes) since the program
// started or the last ResetLargestAllocation, whether the heap granted it
// or not.
uint64_t LargestAllocation();
void ResetLargestAllocation();

} // namespace mirefell::testing
