#include <gtest/gtest.h>

#include <algorithm>

#include "app/MainInterfaceFile.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "support/TintOverlayTest.h"
#include "tint/KRTintWindow.h"

using Kind = headless::WindowEvent::Kind;

namespace {

constexpr std::uint64_t shift = kit::EventModifierFlagShift;
constexpr std::uint64_t control = 1u << 18;
const kit::Color red = kit::Color::sRGB(1, 0, 0, 0.5);
const kit::Color blue = kit::Color::sRGB(0, 0, 1, 0.75);

std::optional<double> storedDouble(const char* key) {
    const std::optional<kit::PropertyList> value = kit::UserDefaults::standard().objectForKey(key);
    return value ? value->doubleValue() : std::nullopt;
}

}  // namespace

class SettingsWindowTest : public TintOverlayTest {
protected:
    SettingsWindowTest() { registerInterfaceFiles(); }
    KRMainController::SettingsOutlets outlets() const {
        return const_cast<SettingsWindowTest*>(this)->controller().settingsOutlets();
    }
    // A new process with nothing stored: a first start.
    void freshStart() {
        std::filesystem::remove(kit::UserDefaults::standard().path());
        restart();
    }
};

TEST_F(SettingsWindowTest, TheFirstStartShowsTheWindowFilledFromEmptyDefaults) {
    launch(false);
    const auto o = outlets();
    ASSERT_NE(o.window, nullptr);
    EXPECT_TRUE(o.window->isVisible());
    EXPECT_TRUE(o.window->isKeyWindow());
    EXPECT_EQ(o.window->level(), kit::NormalWindowLevel);
    EXPECT_FALSE(o.window->hidesOnDeactivate());
    ASSERT_NE(o.showStatusItemButton, nullptr);
    EXPECT_TRUE(o.showStatusItemButton->isHidden());
    EXPECT_DOUBLE_EQ(o.idleAlphaSlider->doubleValue(), 0.2);
    EXPECT_DOUBLE_EQ(o.hoverAlphaSlider->doubleValue(), 0.0);
    EXPECT_EQ(o.topColorWell->color(), KRTintWindow::topColor());
    EXPECT_EQ(o.centerColorWell->color(), KRTintWindow::centerColor());
    EXPECT_EQ(o.bottomColorWell->color(), KRTintWindow::bottomColor());
    EXPECT_EQ(o.launchAtLoginButton->state(), kit::ControlStateValue::Off);
    EXPECT_EQ(world().activationCount(), 1u);

    // Every control is inside the window and acts on the controller.
    for (kit::Control* control :
         std::initializer_list<kit::Control*>{o.idleAlphaSlider, o.hoverAlphaSlider, o.topColorWell,
                                              o.centerColorWell, o.bottomColorWell, o.launchAtLoginButton}) {
        EXPECT_EQ(control->window(), o.window);
        EXPECT_EQ(control->target(), &controller());
    }
}

TEST_F(SettingsWindowTest, AVisibleWindowStaysWhereItIsAndAClosedOneIsCentredAgain) {
    launch(false);
    kit::Window* window = outlets().window;
    const kit::Rect centred = window->frame();
    EXPECT_EQ(centred.midX(), 720.0) << "centred across the 1440-point screen";

    window->setFrame(kit::offsetRect(centred, 100, -50), false);
    controller().positionSettingsWindow();
    EXPECT_EQ(window->frame(), kit::offsetRect(centred, 100, -50));

    window->close();
    EXPECT_FALSE(controller().applicationShouldHandleReopen(kit::Application::shared(), false));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frame(), centred);
    EXPECT_EQ(outlets().window, window) << "the same window, never loaded twice";
}

TEST_F(SettingsWindowTest, SlidersStoreTheirOwnOpacityOrWithShiftBoth) {
    const struct {
        bool hover;  // which slider the user moves
        std::uint64_t modifiers;
        std::optional<double> idle, hoverStored;  // what the defaults hold afterwards
        double otherSlider;
    } cases[] = {
        {false, 0, 0.6, std::nullopt, 0.0},
        {true, 0, std::nullopt, 0.6, 0.2},
        {false, shift, 0.6, 0.6, 0.6},
        {true, shift, 0.6, 0.6, 0.6},
        {true, shift | control, 0.6, 0.6, 0.6},
        {true, control, std::nullopt, 0.6, 0.2},  // no other modifier means anything
    };
    for (const auto& c : cases) {
        freshStart();
        KRMainController controller;
        showMenuBar();
        controller.applicationDidFinishLaunching(nullptr);
        const auto o = controller.settingsOutlets();
        kit::Slider* moved = c.hover ? o.hoverAlphaSlider : o.idleAlphaSlider;
        kit::Slider* other = c.hover ? o.idleAlphaSlider : o.hoverAlphaSlider;
        world().setModifierFlags(c.modifiers);
        moved->moveKnob(0.6);
        EXPECT_EQ(storedDouble("Idle Alpha"), c.idle) << c.hover << c.modifiers;
        EXPECT_EQ(storedDouble("Hover Alpha"), c.hoverStored) << c.hover << c.modifiers;
        EXPECT_DOUBLE_EQ(other->doubleValue(), c.otherSlider) << c.hover << c.modifiers;
        // The pass runs at once, in place of the pending one: the idle tint shows the new opacity without
        // waiting for the loop, and the loop goes on once.
        EXPECT_DOUBLE_EQ(controller.tintWindow()->alphaValue(), c.idle.value_or(0.2))
            << c.hover << c.modifiers;
        EXPECT_EQ(kit::RunLoop::main().pendingCount(controller, layoutSelector), 1u);
    }
}

TEST_F(SettingsWindowTest, WellsStoreTheirOwnStopOrWithShiftAllThree) {
    using Getter = kit::Color (*)();
    const Getter stops[] = {&KRTintWindow::topColor, &KRTintWindow::centerColor, &KRTintWindow::bottomColor};
    for (int picked = 0; picked < 3; ++picked) {
        for (bool shift : {false, true}) {
            freshStart();
            KRMainController controller;
            showMenuBar();
            controller.applicationDidFinishLaunching(nullptr);
            world().runUntilIdle();
            const auto o = controller.settingsOutlets();
            kit::ColorWell* wells[] = {o.topColorWell, o.centerColorWell, o.bottomColorWell};
            std::vector<kit::Color> before;
            for (Getter stop : stops) {
                before.push_back(stop());
            }
            world().clearWindowEvents();
            world().clearShownStateChanges();
            world().setModifierFlags(shift ? kit::EventModifierFlagShift : 0);
            wells[picked]->pickColor(red);
            const auto& changes = world().shownStateChanges();
            for (int stop = 0; stop < 3; ++stop) {
                SCOPED_TRACE(testing::Message()
                             << "picked " << picked << ", shift " << shift << ", stop " << stop);
                const bool changed = shift || stop == picked;
                EXPECT_EQ(std::count(changes.begin(), changes.end(), wells[stop]), changed ? 1 : 0)
                    << "the sender is not set again";
                EXPECT_EQ(stops[stop](), changed ? red : before[stop]);
                EXPECT_EQ(wells[stop]->color(), changed ? red : before[stop]);
            }
            world().runUntilIdle();
            EXPECT_EQ(countEvents(world(), Kind::Redrawn), 1u) << "the tint redraws at once";
        }
    }
}

TEST_F(SettingsWindowTest, ANewDesktopPictureBringsItsOwnColoursIntoTheWells) {
    world().setDesktopImageURL(0, "file:///pictures/beach.jpg");
    showMenuBar();
    launch(false);
    outlets().topColorWell->pickColor(blue);
    world().setDesktopImageURL(0, "file:///pictures/forest.jpg");
    world().advance(2.0);
    EXPECT_EQ(outlets().topColorWell->color(), blue) << "the fall-back, as forest has no colours yet";
    outlets().topColorWell->pickColor(red);
    world().setDesktopImageURL(0, "file:///pictures/beach.jpg");
    world().advance(2.0);
    EXPECT_EQ(outlets().topColorWell->color(), blue);
}

TEST_F(SettingsWindowTest, TheNewestSystemNudgesTwoControlsOnceOnly) {
    for (bool newest : {false, true}) {
        freshStart();
        kit::SystemVersion::setCurrent(newest ? kit::SystemVersion(26, 0) : kit::SystemVersion(15, 7));
        KRMainController controller;
        controller.applicationDidFinishLaunching(nullptr);
        const auto o = controller.settingsOutlets();
        const kit::Rect popUp = o.updateSelector->frame();
        const kit::Rect statusItem = o.showStatusItemButton->frame();
        o.window->close();
        controller.positionSettingsWindow();
        controller.positionSettingsWindow();
        EXPECT_EQ(o.updateSelector->frame(), popUp) << "later showings move nothing";
        EXPECT_EQ(o.showStatusItemButton->frame(), statusItem);

        // Loaded again in a fresh process without the nudges, to compare.
        restart();
        kit::SystemVersion::setCurrent(kit::SystemVersion(15, 7));
        KRMainController plain;
        plain.positionSettingsWindow();
        const auto p = plain.settingsOutlets();
        // (Its width differs: the newest system's pop-up buttons have a narrower margin.)
        EXPECT_EQ(popUp.origin, kit::offsetRect(p.updateSelector->frame(), 0, newest ? -1 : 0).origin);
        EXPECT_EQ(statusItem, newest ? kit::offsetRect(p.showStatusItemButton->frame(), 1, 0)
                                     : p.showStatusItemButton->frame());
    }
}

TEST_F(SettingsWindowTest, TheStatusItemButtonDoesNothingAndAMissingFileLeavesEveryOutletNil) {
    launch(false);
    controller().showStatusItem(outlets().showStatusItemButton);
    EXPECT_TRUE(outlets().showStatusItemButton->isHidden());

    freshStart();
    kit::InterfaceFile::registerBuilder("Settings", [](kit::InterfaceBuilder& file, kit::Object*) {
        file.make<kit::Window>("NSWindow");
        file.make<kit::Object>("NoSuchClass");
    });
    KRMainController broken;
    broken.applicationDidFinishLaunching(nullptr);
    broken.updateColorWells();
    broken.changeAlpha(nullptr);
    const auto o = broken.settingsOutlets();
    EXPECT_EQ(o.window, nullptr);
    EXPECT_EQ(o.idleAlphaSlider, nullptr);
    EXPECT_EQ(o.topColorWell, nullptr);
    EXPECT_EQ(world().activationCount(), 1u) << "the application still comes forward";
    EXPECT_NE(world().logMessages().back().find("\"Settings\""), std::string::npos);
}

TEST_F(SettingsWindowTest, TheLoginBoxShowsTheDesktopsSettingAndSaysWhenItCannotChangeIt) {
    world().setLaunchAtLoginState(true);
    launch(false);
    kit::Button* box = outlets().launchAtLoginButton;
    EXPECT_EQ(box->state(), kit::ControlStateValue::On);

    box->performClick(nullptr);
    EXPECT_FALSE(world().launchesAtLogin());
    world().setLaunchAtLoginState(true);  // changed elsewhere meanwhile
    controller().positionSettingsWindow();
    EXPECT_EQ(box->state(), kit::ControlStateValue::On) << "read again at each showing";

    world().setLaunchAtLoginFailure("read-only folder");
    box->performClick(nullptr);
    EXPECT_EQ(box->state(), kit::ControlStateValue::On) << "back to the real setting";
    EXPECT_EQ(world().beepCount(), 1u);
    EXPECT_EQ(world().logMessages().back(),
              "Could not remove Awning from the programs started at login: read-only folder");
}

// Where the desktop never tells where the pointer is, a line under the hover slider says that hover cannot
// be followed; elsewhere there is no such line.
TEST_F(SettingsWindowTest, ALineUnderTheHoverSliderSaysWhenTheDesktopHidesThePointer) {
    for (const bool knowsPointer : {true, false}) {
        freshStart();
        world().setKnowsMouseLocation(knowsPointer);
        KRMainController controller;
        controller.applicationDidFinishLaunching(nullptr);
        const auto o = controller.settingsOutlets();
        std::vector<kit::Rect> notes;
        for (const auto& view : o.window->contentView()->subviews()) {
            const auto* text = dynamic_cast<const kit::TextField*>(view.get());
            if (text && text->stringValue() == "Hover cannot be followed on this desktop.") {
                notes.push_back(text->frame());
            }
        }
        ASSERT_EQ(notes.size(), knowsPointer ? 0u : 1u) << knowsPointer;
        if (!knowsPointer) {
            const kit::Rect slider = o.hoverAlphaSlider->frame();
            EXPECT_NEAR(notes[0].maxY(), slider.minY(), 2.0) << "right under the hover slider";
            EXPECT_GE(notes[0].minY(), o.updateSelector->frame().maxY()) << "above the update pop-up";
            EXPECT_DOUBLE_EQ(notes[0].minX(), slider.minX());
        }
    }
}
