#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "kit/foundation/UserDefaults.h"
#include "support/TintOverlayTest.h"

// Counts every allocation of this test program while counting is on.
namespace {
std::atomic<bool> counting{false};
std::atomic<std::size_t> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (counting) {
        ++allocations;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
// The replacement operator new above hands out malloc's memory, so free is its matching release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop

class IdleLayoutPassTest : public TintOverlayTest {};

TEST_F(IdleLayoutPassTest, AnIdlePassAllocatesNothingAndRedrawsNothing) {
    // Checks far apart, so the measured stretch holds layout passes only.
    kit::UserDefaults::standard().setDouble(1000.0, "Menu Bar State Check Interval");
    kit::UserDefaults::standard().setDouble(0.35, "Idle Alpha");
    showMenuBar();
    world().setMouseLocation({700, 300});
    launch();
    world().advance(1.0);  // first display and steady state
    world().clearWindowEvents();

    counting = true;
    world().advance(2.0);  // ten idle layout passes
    counting = false;

    EXPECT_EQ(allocations.load(), 0u);
    EXPECT_TRUE(world().windowEvents().empty()) << "no redraw, no frame, level or opacity change";
    EXPECT_EQ(pendingLayoutPasses(), 1u);
}
