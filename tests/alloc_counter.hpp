// Counts heap allocations while a counter is running, for tests that a steady state allocates
// nothing.
#pragma once

#include <cstddef>

// Starts counting from zero; false when no counter could be installed.
bool StartCountingAllocations();
// Stops counting; returns the number of allocations since the start.
std::size_t StopCountingAllocations();
