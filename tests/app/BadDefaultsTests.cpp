#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "about/KRAdButtonWindow.h"
#include "app/KRMainController.h"
#include "app/MainInterfaceFile.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Archiver.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/StatusItem.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/graphics/Image.h"
#include "statusitem/KRSetActivationPolicy.h"
#include "statusitem/KRStatusItemController.h"
#include "support/HeadlessTest.h"
#include "support/WindowListEntries.h"
#include "tint/CurrentDesktopKey.h"
#include "tint/KRTintView.h"
#include "tint/KRTintWindow.h"
#include "update/KRSparkleWrapper.h"

// The bad-input table of docs/ROBUSTNESS.md: every key Awning reads, stored with each kind of wrong
// value in turn, and what the running application then does. A row's cells are in `kinds()` order.

namespace {

using kit::PropertyList;

struct Kind {
    const char* name;
    std::optional<PropertyList> value;  // nullopt: the key is absent
};

const std::vector<Kind>& kinds() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    static const std::vector<Kind> all = {
        {"absent", std::nullopt},
        {"string \"abc\"", PropertyList("abc")},
        {"string \"0.5\"", PropertyList("0.5")},
        {"number 0.5", PropertyList(0.5)},
        {"boolean true", PropertyList(true)},
        {"data", PropertyList(PropertyList::Data{1, 2, 3})},
        {"date", PropertyList(PropertyList::Date{1000.0})},
        {"array", PropertyList(PropertyList::Array{0.5})},
        {"dictionary", PropertyList(PropertyList::Dictionary{{"a", 0.5}})},
        {"NaN", PropertyList(std::numeric_limits<double>::quiet_NaN())},
        {"+infinity", PropertyList(inf)},
        {"-infinity", PropertyList(-inf)},
        {"huge 1e300", PropertyList(1e300)},
        {"negative -5", PropertyList(-5)},
    };
    return all;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

struct Row {
    std::string key;
    // Launches a controller on the stored value and describes what the user gets.
    std::function<std::string(headless::HeadlessHost&)> outcome;
    std::vector<std::string> expected;
    PropertyList::Dictionary alongside = {};  // other values the row needs stored
};

std::string settingsWindowAtLaunch(headless::HeadlessHost& world) {
    KRMainController controller;
    controller.applicationDidFinishLaunching(nullptr);
    return world.activationCount() > 0 ? "shown" : "not shown";
}

std::string checkPeriod(headless::HeadlessHost& world) {
    KRMainController controller;
    controller.applicationDidFinishLaunching(nullptr);
    for (const auto& call : kit::RunLoop::main().pendingCalls()) {
        if (call.target == &controller && call.selector == kit::sel("updateMenuBarVisibilityAndColorsKey:")) {
            return number(call.dueTime - world.now()) + " s";
        }
    }
    return "no check";
}

// The opacity the tint shows with the pointer away from the bar or on it.
std::string shownOpacity(headless::HeadlessHost& world, bool hovering) {
    world.setWindowList(PropertyList::Array{menuBarEntry(24.0)});
    world.setMouseLocation(hovering ? kit::Point{720, 890} : kit::Point{720, 400});
    KRMainController controller;
    controller.applicationDidFinishLaunching(nullptr);
    return controller.tintWindow() ? number(controller.tintWindow()->presentedAlphaValue()) : "no tint";
}

std::string pills(headless::HeadlessHost&) {
    KRMainController controller;
    controller.applicationDidFinishLaunching(nullptr);
    return !KRTintView::pillsEnabled() ? "off" : KRTintView::detailedPillsEnabled() ? "detailed" : "simple";
}

std::string colour(kit::Color (*read)(), double defaultAlpha) {
    return read() == kit::Color::calibratedWhite(0.0, defaultAlpha) ? "default" : "stored";
}

// The update sentence the stored record gives, and whether a check that finds nothing then records soundly.
std::string updateRecord(headless::HeadlessHost&) {
    KRSparkleWrapper& wrapper = KRSparkleWrapper::sharedSparkleWrapper();
    const std::string sentence =
        wrapper.statusDescriptionWithUpdateVersion(nullptr) ? "sentence" : "no sentence";
    wrapper.updaterDidNotFindUpdate(wrapper.updater());
    const auto stored = kit::UserDefaults::standard().objectForKey("KRSparkleWrapperStatus");
    const PropertyList::Dictionary* record = stored ? stored->dictionary() : nullptr;
    const bool sound = record && record->count("Current Version") && record->at("Current Version").string() &&
                       record->count("Update Version") && record->at("Update Version").string();
    return sentence + (sound ? ", then recorded" : ", then not recorded");
}

std::string automaticChecks(headless::HeadlessHost&) {
    return KRSparkleWrapper::sharedSparkleWrapper().updater().automaticallyChecksForUpdates() ? "on" : "off";
}

// Whether the promotional popover opens by itself at the settings window's first and second showing.
std::string promotionalPopover(headless::HeadlessHost&) {
    KRAdButtonWindow window(kit::Rect(100, 100, 400, 300), kit::WindowStyleMaskTitled,
                            kit::BackingStoreType::Buffered, false);
    const auto opensByItself = [&window] {
        window.makeKeyAndOrderFront(nullptr);
        const bool shown = window.adPopover() && window.adPopover()->isShown();
        if (shown) {
            window.adButton()->performClick(nullptr);  // "OK"
        }
        return shown;
    };
    const bool first = opensByItself();
    const bool second = opensByItself();
    return first && !second ? "opens once" : first ? "opens every time" : "never opens";
}

std::string statusItemLength(headless::HeadlessHost&) {
    kit::SystemVersion::setCurrent(kit::SystemVersion(26));
    KRStatusItemController& controller = KRStatusItemController::defaultController();
    const auto image = std::make_shared<kit::Image>(kit::Size{22.0, 22.0});
    controller.setStatusItemEnabled(true, image, image, nullptr);
    return number(controller.statusItem()->length()) + " pt";
}

// Whether switching to a Dock icon on an older system brings the application forward.
std::string dockSwitch(headless::HeadlessHost& world) {
    kit::SystemVersion::setCurrent(kit::SystemVersion(10, 14));
    world.applicationPort().setActivationPolicy(1);
    KRSetActivationPolicy(false, false, nullptr, nullptr);
    world.advance(0.5);
    return world.activationCount() > 0 ? "activates" : "stays behind";
}

// A key read as a boolean: a number or boolean other than 0 is on, a string or anything else is not read.
std::vector<std::string> readAsBoolean(const std::string& off, const std::string& on) {
    return {off, off, off, on, on, off, off, off, off, on, on, on, on, on};
}

const std::vector<std::string> alwaysDefault(kinds().size(), "default");
const std::vector<std::string> recordedAfterACheck(kinds().size(), "no sentence, then recorded");

}  // namespace

class BadDefaultsTest : public HeadlessTest {
protected:
    BadDefaultsTest() { registerInterfaceFiles(); }

    // Starts a returning user's process on a settings file holding `kind` under the row's key and asks the
    // row; ", removed" when the application deleted the stored value.
    std::string cell(const Row& row, const Kind& kind) {
        PropertyList::Dictionary stored = row.alongside;
        stored["Shown Settings"] = true;
        stored.erase(row.key);
        if (kind.value) {
            stored[row.key] = *kind.value;
        }
        // Written plainly, not through the defaults: a synced write per cell would make this test slow.
        std::ofstream(kit::UserDefaults::standard().path(), std::ios::trunc)
            << kit::PropertyListSerialization::write(stored);
        restart();
        world().setWindowList(PropertyList::Array{});
        const kit::UserDefaults& defaults = kit::UserDefaults::standard();
        const std::string outcome = row.outcome(world());
        return kind.value && !defaults.objectForKey(row.key) ? outcome + ", removed" : outcome;
    }
};

TEST_F(BadDefaultsTest, EveryKeyWithEveryWrongKindOfValue) {
    const std::string picture = "file:///a/picture/of/its/own.jpg";
    const PropertyList red = *kit::archivedDataWithRootObject(kit::Color::sRGB(1, 0, 0, 1));
    // Columns: absent, "abc", "0.5", 0.5, true, data, date, array, dictionary, NaN, +inf, -inf, 1e300, -5.
    const std::vector<Row> rows = {
        {"Show Settings On Launch", settingsWindowAtLaunch, readAsBoolean("not shown", "shown")},
        {"Shown Settings", settingsWindowAtLaunch, readAsBoolean("shown", "not shown")},
        {"Menu Bar State Check Interval",
         checkPeriod,
         {"2 s", "2 s, removed", "0.5 s", "0.5 s", "1 s", "2 s", "2 s", "2 s", "2 s", "2 s, removed",
          "2 s, removed", "2 s, removed", "1e+300 s", "2 s, removed"}},
        {"Idle Alpha",
         [](auto& world) { return shownOpacity(world, false); },
         {"0.2", "0", "0.5", "0.5", "1", "0.2", "0.2", "0.2", "0.2", "0.2", "0.2", "0.2", "1", "0"}},
        {"Hover Alpha",
         [](auto& world) { return shownOpacity(world, true); },
         {"0", "0", "0.5", "0.5", "1", "0", "0", "0", "0", "0", "0", "0", "1", "0"}},
        {"Pills", pills, readAsBoolean("off", "detailed")},
        {"Pills: Simple", pills, readAsBoolean("detailed", "simple"), {{"Pills", true}}},
        {"Top Color", [](auto&) { return colour(KRTintWindow::topColor, 0.0); }, alwaysDefault},
        {"Center Color", [](auto&) { return colour(KRTintWindow::centerColor, 0.2); }, alwaysDefault},
        {"Bottom Color", [](auto&) { return colour(KRTintWindow::bottomColor, 1.0); }, alwaysDefault},
        // A per-picture value that cannot be read shows the default, not the shared colour: the shared key
        // is looked up only when the picture has no value of its own.
        {"Top Color: " + picture,
         [picture](auto&) {
             setCurrentDesktopKey(picture);
             return colour(KRTintWindow::topColor, 0.0);
         },
         {"stored", "default", "default", "default", "default", "default", "default", "default", "default",
          "default", "default", "default", "default", "default"},
         {{"Top Color", red}}},
        {"KRSparkleWrapperStatus", updateRecord, recordedAfterACheck},
        {"KRSparkleWrapper Status", updateRecord, recordedAfterACheck},
        {"SUEnableAutomaticChecks",
         automaticChecks,
         {"on", "off", "off", "on", "on", "on", "on", "on", "on", "on", "on", "on", "on", "on"}},
        {"KRAdButtonWindowAppVersion", promotionalPopover,
         std::vector<std::string>(kinds().size(), "opens once")},
        {"KRStatusItemWidth",
         statusItemLength,
         {"22 pt", "22 pt", "22 pt", "22 pt", "22 pt", "22 pt", "22 pt", "22 pt", "22 pt", "22 pt", "100 pt",
          "22 pt", "100 pt", "22 pt"}},
        {"Application Mode: Dock: Background Launch", dockSwitch, readAsBoolean("activates", "stays behind")},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(row.expected.size(), kinds().size()) << row.key;
        for (std::size_t column = 0; column < kinds().size(); ++column) {
            EXPECT_EQ(cell(row, kinds()[column]), row.expected[column])
                << row.key << " = " << kinds()[column].name;
        }
    }
}
