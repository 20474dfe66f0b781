#include <gtest/gtest.h>

#include <random>

#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "support/TintOverlayTest.h"
#include "support/WindowListEntries.h"
#include "tint/KRTintWindow.h"

class SoakTest : public TintOverlayTest {};

// A simulated day of seeded random events. After every event the loops must be intact: one pending
// check, no layout pass while the bar is hidden and one while it is visible, and a tint window exactly
// while the bar is visible.
TEST_F(SoakTest, ADayOfRandomEventsNeverBreaksTheLoops) {
    std::mt19937 random(20261206);
    auto chance = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };

    showMenuBar();
    launch(false);
    constexpr double day = 24 * 60 * 60;
    std::size_t events = 0;
    std::size_t shownStates = 0;
    kit::Object sender;
    while (world().now() < day) {
        world().advance(chance(0.0, 20.0));
        switch (pick(9)) {
            case 0:
                world().setActiveSpace(1 + pick(3));
                kit::NotificationCenter::workspaceCenter().post(
                    kit::WorkspaceActiveSpaceDidChangeNotification, &sender);
                break;
            case 1:
                kit::NotificationCenter::workspaceCenter().post(
                    kit::WorkspaceDidActivateApplicationNotification, &sender);
                break;
            case 2: {
                const double width = 800 + pick(4) * 400;
                std::vector<kit::ScreenDescription> screens;
                if (pick(10) > 0) {
                    screens.push_back(headless::HeadlessHost::plainScreen(width, width * 0.625));
                }
                world().setScreens(screens);
                kit::Notification notification("NSApplicationDidChangeScreenParametersNotification", nullptr);
                controller().applicationDidChangeScreenParameters(&notification);
                break;
            }
            case 3:
                if (pick(3) == 0) {
                    hideMenuBar();
                } else if (pick(5) == 0) {
                    world().setWindowList(std::nullopt);
                } else {
                    showMenuBar(pick(4) == 0 ? 0.0 : 20.0 + pick(20));
                }
                break;
            case 4:
                world().setMouseLocation({chance(-10, 2000), chance(-10, 1300)});
                break;
            case 5:
                world().setDesktopImageURL(
                    0, pick(4) == 0 ? std::nullopt
                                    : std::optional<std::string>("file:///p" + std::to_string(pick(5))));
                break;
            case 6:
                kit::UserDefaults::standard().setDouble(chance(0, 1), pick(2) ? "Idle Alpha" : "Hover Alpha");
                break;
            case 7: {
                const kit::PropertyList intervals[] = {0.05,  0.5,   2.0,
                                                       "abc", "1.5", kit::PropertyList::Data{1}};
                kit::UserDefaults::standard().setObject(intervals[pick(6)], "Menu Bar State Check Interval");
                break;
            }
            case 8:
                KRTintWindow::setTopColor(
                    kit::Color::sRGB(chance(0, 1), chance(0, 1), chance(0, 1), chance(0, 1)));
                if (controller().tintWindow()) {
                    controller().tintWindow()->contentView()->setNeedsDisplay(true);
                }
                break;
        }
        ++events;
        const bool visible = controller().isMenuBarVisible();
        shownStates += visible;
        ASSERT_EQ(pendingChecks(), 1u) << "after event " << events << " at " << world().now();
        ASSERT_EQ(pendingLayoutPasses(), visible ? 1u : 0u)
            << "after event " << events << " at " << world().now();
        ASSERT_EQ(controller().tintWindow() != nullptr, visible) << "after event " << events;
    }
    EXPECT_GT(events, 8000u);
    EXPECT_GT(shownStates, events / 4) << "the day spends real time with the bar shown";
    EXPECT_LT(shownStates, events) << "and some with it hidden";
}
