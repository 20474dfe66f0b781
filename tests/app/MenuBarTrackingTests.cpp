#include <gtest/gtest.h>

#include "kit/appkit/Window.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/quartz/WindowList.h"
#include "support/TintOverlayTest.h"
#include "support/WindowListEntries.h"
#include "tint/CurrentDesktopKey.h"
#include "tint/KRTintWindow.h"

using Kind = headless::WindowEvent::Kind;

namespace {

// A menu bar the window server lists with these bounds.
WindowListEntry barAt(double x, double y, double width, double height) {
    WindowListEntry entry;
    entry.bounds = kit::dictionaryRepresentation(kit::Rect(x, y, width, height));
    return entry;
}

}  // namespace

class MenuBarTrackingTest : public TintOverlayTest {};

// Each entry alone in the list: does the check take it for the primary display's menu bar, and where does the
// tint lie? Desktop panels need not span the screen nor touch its top edge: the tint lies over the bar
// itself.
TEST_F(MenuBarTrackingTest, OnlyTheWindowServersOnScreenMenuBarOverThePrimaryDisplayMatches) {
    struct Case {
        const char* what;
        WindowListEntry entry;
        bool visible;
        double storedHeight;                            // 0: the height stays untouched
        std::optional<kit::Rect> strip = std::nullopt;  // screen coordinates on the 1440x900 primary
    };
    const kit::PropertyList partial = kit::PropertyList::Dictionary{{"X", 0}, {"Y", 0}};
    const kit::PropertyList textual =
        kit::PropertyList::Dictionary{{"X", 0}, {"Y", 0}, {"Width", "1440"}, {"Height", 24}};
    auto entry = [](auto change) {
        WindowListEntry e = barAt(0, 0, 1440, 24);
        change(e);
        return e;
    };
    const Case cases[] = {
        {"plain menu bar", barAt(0, 0, 1440, 24), true, 24, kit::Rect(0, 876, 1440, 24)},
        {"half as wide, centred", barAt(360, 0, 720, 30), true, 30, kit::Rect(360, 870, 720, 30)},
        {"six points below the top edge", barAt(0, 6, 1440, 30), true, 30, kit::Rect(0, 864, 1440, 30)},
        {"any case of the suffix", entry([](WindowListEntry& e) { e.name = "Main MenuBar"; }), true, 24},
        {"owner case matters", entry([](WindowListEntry& e) { e.owner = "window server"; }), false, 0},
        {"no owner", entry([](WindowListEntry& e) { e.owner.reset(); }), false, 0},
        {"suffix must end the name", entry([](WindowListEntry& e) { e.name = "Menubar shadow"; }), false, 0},
        {"no name", entry([](WindowListEntry& e) { e.name.reset(); }), false, 0},
        {"on-screen flag absent", entry([](WindowListEntry& e) { e.onScreen.reset(); }), false, 0},
        {"off screen", entry([](WindowListEntry& e) { e.onScreen = kit::PropertyList(false); }), false, 0},
        {"bounds absent", entry([](WindowListEntry& e) { e.bounds.reset(); }), false, 0},
        {"bounds not convertible", entry([&](WindowListEntry& e) { e.bounds = partial; }), false, 0},
        {"bounds of text", entry([&](WindowListEntry& e) { e.bounds = textual; }), false, 0},
        {"another display's bar touching the edge", barAt(1440, 0, 1920, 24), false, 0},
        {"zero height overlaps nothing", barAt(0, 0, 1440, 0), false, 0},
        {"height at the threshold is hidden but stored", barAt(0, 0, 1440, 1.1920928955078125e-07), false,
         1.1920928955078125e-07},
        {"height just above the threshold", barAt(0, 0, 1440, 2.4e-07), true, 2.4e-07},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        KRMainController controller;
        world().setWindowList(kit::PropertyList::Array{c.entry.toPropertyList()});
        controller.updateMenuBarVisibilityAndColorsKey(nullptr);
        EXPECT_EQ(controller.isMenuBarVisible(), c.visible);
        EXPECT_EQ(controller.menuBarHeight(), c.storedHeight);
        ASSERT_EQ(controller.tintWindow() != nullptr, c.visible);
        if (c.strip) {
            EXPECT_EQ(controller.tintWindow()->frame(), *c.strip);
        }
        EXPECT_EQ(world().lastWindowListOptions(),
                  kit::WindowListOptionOnScreenOnly | kit::WindowListExcludeDesktopElements);
    }
}

TEST_F(MenuBarTrackingTest, TheFirstMatchingEntryWinsAndNoListKeepsTheHeight) {
    world().setWindowList(kit::PropertyList::Array{menuBarEntry(30), menuBarEntry(24)});
    controller().updateMenuBarVisibilityAndColorsKey(nullptr);
    EXPECT_EQ(controller().menuBarHeight(), 30);

    world().setWindowList(std::nullopt);
    controller().updateMenuBarVisibilityAndColorsKey(&controller());
    EXPECT_FALSE(controller().isMenuBarVisible());
    EXPECT_EQ(controller().menuBarHeight(), 30);
    EXPECT_EQ(controller().tintWindow(), nullptr);
}

// Other kinds of value are rows of the bad-defaults table.
TEST_F(MenuBarTrackingTest, APeriodBelowATenthOfASecondIsRemovedAndTheDefaultUsed) {
    for (const double stored : {0.05, 0.1}) {
        restart();
        KRMainController controller;
        kit::UserDefaults::standard().setDouble(stored, "Menu Bar State Check Interval");
        controller.updateMenuBarVisibilityAndColorsKey(nullptr);
        const auto calls = kit::RunLoop::main().pendingCalls();
        ASSERT_EQ(calls.size(), 1u) << stored;
        EXPECT_DOUBLE_EQ(calls[0].dueTime - world().now(), stored < 0.1 ? 2.0 : 0.1) << stored;
        EXPECT_EQ(kit::UserDefaults::standard().objectForKey("Menu Bar State Check Interval").has_value(),
                  stored >= 0.1)
            << stored;
    }
}

// That a notification never adds a second check loop is an invariant of the soak test.
TEST_F(MenuBarTrackingTest, ANotificationChecksAtOnceAndTheNextCheckFollowsAFullPeriodLater) {
    launch();
    EXPECT_DOUBLE_EQ(nextCheckTime(), 2.0);
    world().advance(1.5);
    showMenuBar();
    postSpaceChange();
    EXPECT_NE(controller().tintWindow(), nullptr);
    EXPECT_EQ(pendingChecks(), 1u);
    EXPECT_DOUBLE_EQ(nextCheckTime(), 3.5);
}

TEST_F(MenuBarTrackingTest, HoverCountsTheStripGrownByOnePoint) {
    showMenuBar(24);
    launch();
    struct Case {
        kit::Point pointer;
        bool hovering;
    };
    const Case cases[] = {
        {{700, 899.5}, true},  // the very top row
        {{700, 876}, true},    // the strip's lowest row
        {{700, 875}, true},    // one point below the strip
        {{700, 874}, false},   // two points below
        {{-1, 880}, true},     // the margin on the left
        {{1441, 880}, false},  // the grown strip's right edge is outside
        {{700, 450}, false},
    };
    for (const Case& c : cases) {
        world().setMouseLocation(c.pointer);
        world().advance(0.2);
        EXPECT_DOUBLE_EQ(controller().tintWindow()->alphaValue(), c.hovering ? 0.0 : 0.2)
            << c.pointer.x << ", " << c.pointer.y;
        world().setMouseLocation({700, 450});
        world().advance(0.2);
    }
}

TEST_F(MenuBarTrackingTest, ANewWindowShowsAtOnceAndLaterChangesFade) {
    showMenuBar(24);
    world().setMouseLocation({700, 400});
    launch();
    KRTintWindow* window = controller().tintWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->frame(), kit::Rect(0, 876, 1440, 24));
    EXPECT_EQ(window->level(), kit::StatusWindowLevel + 1);
    EXPECT_TRUE(window->isOnActiveSpace());
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.2);
    std::vector<double> fades;
    for (const auto& event : world().windowEvents()) {
        if (event.kind == Kind::AlphaChanged) {
            fades.push_back(event.fadeDuration);
        }
    }
    EXPECT_EQ(fades, (std::vector<double>{0.0, 0.0})) << "made transparent, then set at once: no fade";

    world().runUntilIdle();
    world().clearWindowEvents();
    world().setMouseLocation({700, 890});
    world().advance(0.2);
    ASSERT_EQ(world().windowEvents().size(), 1u);
    EXPECT_EQ(world().windowEvents()[0].kind, Kind::AlphaChanged);
    EXPECT_DOUBLE_EQ(world().windowEvents()[0].fadeDuration, 0.15);
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.0);

    // Differences of 0.001 or less are not applied; just above is.
    world().clearWindowEvents();
    kit::UserDefaults::standard().setDouble(0.001, "Hover Alpha");
    world().advance(0.2);
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.0);
    kit::UserDefaults::standard().setDouble(0.0011, "Hover Alpha");
    world().advance(0.2);
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.0011);
    EXPECT_EQ(countEvents(world(), Kind::AlphaChanged), 1u);
}

TEST_F(MenuBarTrackingTest, FrameAndSpaceChangesApplyAtOnceWithoutFading) {
    showMenuBar(24);
    launch();
    KRTintWindow* window = controller().tintWindow();
    world().clearWindowEvents();

    // Another space: the window is off the active space, so the pass places it and orders it front.
    world().setActiveSpace(2);
    EXPECT_FALSE(window->isOnActiveSpace());
    world().setMouseLocation({700, 890});
    world().advance(0.2);
    EXPECT_TRUE(window->isOnActiveSpace());
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.0);
    EXPECT_EQ(countEvents(world(), Kind::OrderedFront), 1u);
    for (const auto& event : world().windowEvents()) {
        if (event.kind == Kind::AlphaChanged) {
            EXPECT_EQ(event.fadeDuration, 0.0);
        }
    }

    // A taller menu bar reaches the window at the next check, then the pass resizes it without a fade.
    world().clearWindowEvents();
    world().setMouseLocation({700, 400});
    showMenuBar(37);
    world().advance(2.1);
    EXPECT_EQ(window->frame(), kit::Rect(0, 863, 1440, 37));
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.2);
    EXPECT_EQ(countEvents(world(), Kind::OrderedFront), 0u);

    // A screen change moves the window at once through the application delegate.
    world().setScreens({headless::HeadlessHost::plainScreen(1920, 1080)});
    kit::Notification notification("NSApplicationDidChangeScreenParametersNotification", nullptr);
    controller().applicationDidChangeScreenParameters(&notification);
    EXPECT_EQ(window->frame(), kit::Rect(0, 1043, 1920, 37));
    EXPECT_EQ(pendingLayoutPasses(), 1u);
}

TEST_F(MenuBarTrackingTest, DesktopPictureChangesSwitchTheColourKeyAndRedrawOnlyAfterTheFirstCheck) {
    world().setDesktopImageURL(0, "file:///pictures/dunes.jpg");
    showMenuBar();
    launch();
    EXPECT_EQ(currentDesktopKey(), "file:///pictures/dunes.jpg");
    world().runUntilIdle();
    EXPECT_EQ(countEvents(world(), Kind::Redrawn), 1u) << "the window's first display only";

    world().clearWindowEvents();
    world().setDesktopImageURL(0, std::nullopt);
    world().advance(2.0);
    EXPECT_EQ(currentDesktopKey(), "(Unknown)");
    EXPECT_EQ(countEvents(world(), Kind::Redrawn), 1u);

    // While hidden, a change only switches the key; the next window shows that picture's colours.
    hideMenuBar();
    world().advance(2.0);
    world().setDesktopImageURL(0, "file:///pictures/forest.jpg");
    world().advance(2.0);
    EXPECT_EQ(currentDesktopKey(), "file:///pictures/forest.jpg");
    EXPECT_EQ(controller().tintWindow(), nullptr);
    EXPECT_EQ(pendingLayoutPasses(), 0u);
}
