#pragma once

#include <cstddef>

// Counts the program's allocations between start() and stop(). Its source replaces the global operator
// new, so only the programs that measure allocations link it (awning_allocation_counter).
class AllocationCounter {
public:
    static void start();
    // The allocations since start().
    static std::size_t stop();
};
