#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "kit/foundation/UserDefaults.h"
#include "support/TintOverlayTest.h"
#include "support/WindowListEntries.h"

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

// Window lists are shared, not copied entry by entry, and no key is allocated per entry: a long list
// costs a check no more allocations than a short one.
TEST_F(IdleLayoutPassTest, ACheckAllocatesNoMoreForALongerWindowList) {
    auto allocationsOfACheck = [this](int entries) {
        kit::PropertyList::Array windows;
        for (int index = 0; index < entries; ++index) {
            windows.push_back(applicationWindowEntry("App", kit::Rect(10.0 * index, 40, 800, 600)));
        }
        windows.push_back(menuBarEntry(24));
        world().setWindowList(windows);
        allocations = 0;
        counting = true;
        controller().updateMenuBarVisibilityAndColorsKey(&controller());
        counting = false;
        return allocations.load();
    };
    launch();
    allocationsOfACheck(0);  // the first check settles the desktop key
    EXPECT_EQ(allocationsOfACheck(200), allocationsOfACheck(20));
}
