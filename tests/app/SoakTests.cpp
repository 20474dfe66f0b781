#include <gtest/gtest.h>

#include <random>

#include "about/KRAboutPanelManager.h"
#include "about/KRAdButtonWindow.h"
#include "app/MainInterfaceFile.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/Panel.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/StandardAboutPanel.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "support/TintOverlayTest.h"
#include "tint/KRTintWindow.h"
#include "update/KRSparkleWrapper.h"
#include "update/SUAppcast.h"

namespace {

// Every stored update record is a dictionary whose versions, when present, are strings.
bool updateRecordIsSound() {
    const std::optional<kit::PropertyList> stored =
        kit::UserDefaults::standard().objectForKey("KRSparkleWrapperStatus");
    if (!stored) {
        return true;
    }
    const kit::PropertyList::Dictionary* record = stored->dictionary();
    for (const char* key : {"Current Version", "Update Version"}) {
        if (!record || (record->count(key) && !record->at(key).string())) {
            return false;
        }
    }
    return true;
}

}  // namespace

class SoakTest : public TintOverlayTest {
protected:
    SoakTest() { registerInterfaceFiles(); }

    std::mt19937 random{20261206};
    double chance(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    }
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    kit::Color anyColor() { return kit::Color::sRGB(chance(0, 1), chance(0, 1), chance(0, 1), chance(0, 1)); }

    KRAdButtonWindow& settingsWindow() {
        return static_cast<KRAdButtonWindow&>(*controller().settingsOutlets().window);
    }
    std::size_t shownPopovers() {
        kit::Popover* popover = settingsWindow().adPopover();
        return popover && popover->isShown() ? 1 : 0;
    }
    static std::size_t aboutPanels() {
        std::size_t panels = 0;
        for (kit::Window* window : kit::Application::shared().windows()) {
            panels += window == kit::StandardAboutPanel::existing();
        }
        return panels;
    }

    void trackingEvent() {
        switch (pick(9)) {
            case 0:
                world().setActiveSpace(1 + pick(3));
                postSpaceChange();
                break;
            case 1:
                kit::NotificationCenter::workspaceCenter().post(
                    kit::WorkspaceDidActivateApplicationNotification, &_sender);
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
                KRTintWindow::setTopColor(anyColor());
                if (controller().tintWindow()) {
                    controller().tintWindow()->contentView()->setNeedsDisplay(true);
                }
                break;
        }
    }

    // The settings window's sliders and colour wells, each with or without Shift held.
    void settingsAction() {
        const KRMainController::SettingsOutlets o = controller().settingsOutlets();
        world().setModifierFlags(pick(2) ? kit::EventModifierFlagShift : 0);
        switch (pick(5)) {
            case 0:
                o.idleAlphaSlider->moveKnob(chance(0, 1));
                break;
            case 1:
                o.hoverAlphaSlider->moveKnob(chance(0, 1));
                break;
            default:
                (pick(3) == 0 ? o.topColorWell
                 : pick(2)    ? o.centerColorWell
                              : o.bottomColorWell)
                    ->pickColor(anyColor());
                break;
        }
        world().setModifierFlags(0);
    }

    // What the updater reports at the end of a check: the feed loaded, then an update found or none.
    void updateCallback() {
        KRSparkleWrapper& wrapper = KRSparkleWrapper::sharedSparkleWrapper();
        switch (pick(3)) {
            case 0: {
                std::string error;
                wrapper.updaterDidFinishLoadingAppcast(
                    wrapper.updater(), *SUAppcast::parse("<rss><channel></channel></rss>", error));
                break;
            }
            case 1: {
                SUAppcastItem item;
                item.versionString = std::to_string(100 + pick(100));
                item.displayVersionString = "1." + std::to_string(pick(9));
                item.newestSupportedUpdate = pick(4) > 0;
                wrapper.updaterDidFindValidUpdate(wrapper.updater(), item, nullptr);
                break;
            }
            case 2:
                wrapper.updaterDidNotFindUpdate(wrapper.updater());
                break;
        }
    }

    void aboutOrPopover() {
        switch (pick(4)) {
            case 0:
                KRAboutPanelManager::aboutPanelManager().orderFrontStandardAboutPanel(nullptr);
                break;
            case 1:
                if (kit::Panel* panel = kit::StandardAboutPanel::existing()) {
                    panel->close();
                }
                break;
            case 2:
                settingsWindow().adButton()->performClick(nullptr);  // "Hi!" or "OK"
                break;
            case 3:
                if (settingsWindow().isVisible()) {
                    settingsWindow().close();
                } else {
                    settingsWindow().makeKeyAndOrderFront(nullptr);
                }
                break;
        }
    }

private:
    kit::Object _sender;
};

// A simulated week of seeded random events across tracking, settings, updates, About and the popover. After
// every event the loops must be intact (one pending check, a layout pass and a tint window exactly while the
// bar is visible), there is at most one About panel and one shown popover, and the update record stays
// sound. At the end, nothing has piled up: windows, pending calls.
TEST_F(SoakTest, AWeekOfRandomEventsNeverBreaksTheLoopsNorPilesUp) {
    showMenuBar();
    launch(false);
    const std::size_t windowsAtStart = kit::Application::shared().windows().size();
    constexpr double week = 7 * 24 * 60 * 60;
    std::size_t events = 0;
    std::size_t shownStates = 0;
    std::size_t mostPendingCalls = 0;
    std::size_t aboutShownStates = 0;
    std::size_t popoverShownStates = 0;
    while (world().now() < week) {
        world().advance(chance(0.0, 360.0));
        const int kind = pick(20);
        if (kind < 14) {
            trackingEvent();
        } else if (kind < 17) {
            settingsAction();
        } else if (kind < 18) {
            updateCallback();
        } else {
            aboutOrPopover();
        }
        ++events;
        const bool visible = controller().isMenuBarVisible();
        shownStates += visible;
        aboutShownStates += aboutPanels() && kit::StandardAboutPanel::existing()->isVisible();
        popoverShownStates += shownPopovers();
        mostPendingCalls = std::max(mostPendingCalls, kit::RunLoop::main().pendingCalls().size());
        ASSERT_EQ(pendingChecks(), 1u) << "after event " << events << " at " << world().now();
        ASSERT_EQ(pendingLayoutPasses(), visible ? 1u : 0u)
            << "after event " << events << " at " << world().now();
        ASSERT_EQ(controller().tintWindow() != nullptr, visible) << "after event " << events;
        ASSERT_LE(aboutPanels(), 1u) << "after event " << events;
        ASSERT_LE(shownPopovers(), 1u) << "after event " << events;
        ASSERT_TRUE(updateRecordIsSound()) << "after event " << events;
    }
    EXPECT_GT(events, 3000u);
    EXPECT_GT(shownStates, events / 4) << "the week spends real time with the bar shown";
    EXPECT_LT(shownStates, events) << "and some with it hidden";
    EXPECT_GT(aboutShownStates, 0u);
    EXPECT_GT(popoverShownStates, 0u);
    EXPECT_TRUE(kit::UserDefaults::standard().objectForKey("KRSparkleWrapperStatus"))
        << "an update was recorded";
    EXPECT_LE(kit::Application::shared().windows().size(), windowsAtStart + 3)
        << "at most the tint, the About panel and the popover beyond the start";
    EXPECT_LE(mostPendingCalls, 8u);
}
