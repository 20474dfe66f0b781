#include <gtest/gtest.h>

#include "kit/foundation/UserDefaults.h"
#include "support/AllocationCounter.h"
#include "support/TintOverlayTest.h"
#include "support/WindowListEntries.h"

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

    AllocationCounter::start();
    world().advance(2.0);  // ten idle layout passes
    EXPECT_EQ(AllocationCounter::stop(), 0u);
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
        AllocationCounter::start();
        controller().updateMenuBarVisibilityAndColorsKey(&controller());
        return AllocationCounter::stop();
    };
    launch();
    allocationsOfACheck(0);  // the first check settles the desktop key
    EXPECT_EQ(allocationsOfACheck(200), allocationsOfACheck(20));
}
