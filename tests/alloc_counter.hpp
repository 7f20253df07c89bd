// Counts heap allocations made through operator new while a counter is running, for tests
// that a steady state allocates nothing. The replacement operators forward to malloc/free.
#pragma once

#include <cstddef>

// Starts counting from zero.
void StartCountingAllocations();
// Stops counting; returns the number of allocations since the start.
std::size_t StopCountingAllocations();
