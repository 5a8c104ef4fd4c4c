#pragma once
// Counts heap allocations made through operator new on this thread.

#include <cstdint>

uint64_t heap_allocations();
