#include <gtest/gtest.h>

#include "kit/appkit/Button.h"
#include "kit/appkit/Menu.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "update/KRSparkleWrapper.h"
#include "update/UpdateTest.h"

using kit::MenuItem;
using kit::PropertyList;

namespace {

constexpr std::int64_t checkDate = 1767614400;

struct Line {
    std::string title;
    long tag;
    std::string badge;  // empty: none
    friend bool operator==(const Line&, const Line&) = default;
};

void PrintTo(const Line& line, std::ostream* out) {
    *out << "{" << line.title << ", " << line.tag << ", " << line.badge << "}";
}

std::vector<Line> lines(const kit::Menu& menu) {
    std::vector<Line> result;
    for (const MenuItem* item : menu.itemArray()) {
        result.push_back({item->isSeparatorItem() ? "---" : item->title(), item->tag(),
                          item->badge() ? item->badge()->string : ""});
    }
    return result;
}

class KRSparkleWrapperMenuTest : public UpdateTest {
protected:
    void record(const std::string& current, const std::string& update) {
        storeRecord({{"Current Version", current}, {"Update Version", update}, {"Check Date", checkDate}});
        start();
    }
};

const Line checkNow{"Check Now...", -1, ""};
const Line checkAutomatically{"Check Automatically", 0, ""};
const Line separator{"---", 0, ""};
const std::string date = "Last check: January 5, 2026";
const Line available{"Example 2.0 is now available! You are currently using Example 1.5.", 0, ""};

}  // namespace

TEST_F(KRSparkleWrapperMenuTest, TheSubmenuShowsTheRecordByVersionAndKeepsACallersItems) {
    struct Case {
        const char* name;
        std::string current;
        std::string update;
        int system;
        std::vector<Line> expected;
    };
    const Case cases[] = {
        {"up to date, 14", "1.5", "", 14, {{date, 0, "\u2713"}, separator, checkNow, checkAutomatically}},
        {"update, 14", "1.5", "2.0", 14, {{date, 0, "2.0"}, separator, checkNow, checkAutomatically}},
        {"update, 13", "1.5", "2.0", 13, {{date, 0, ""}, available, separator, checkNow, checkAutomatically}},
        {"another version's record, 14", "1.4", "2.0", 14, {checkNow, checkAutomatically}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        record(c.current, c.update);
        kit::SystemVersion::setCurrent(kit::SystemVersion(c.system));
        std::unique_ptr<MenuItem> updates = wrapper().controlsSubmenuItem();
        kit::Menu& menu = *updates->submenu();
        menu.update();
        menu.update();
        EXPECT_EQ(lines(menu), c.expected) << "opened twice";
    }

    storeRecord({{"Current Version", "1.5"}, {"Update Version", "2.0"}});
    start();
    kit::Menu menu;
    menu.setDelegate(&wrapper());
    menu.addItemWithTitle("Mine", {}, "").setTag(1);
    menu.addItemWithTitle("stale", {}, "").setTag(0);
    menu.addItemWithTitle("stale too", {}, "").setTag(-1);
    wrapper().menuNeedsUpdate(menu);
    EXPECT_EQ(lines(menu), (std::vector<Line>{{"Mine", 1, ""}, checkNow, checkAutomatically}))
        << "a sentence without a check date shows no status lines";
    EXPECT_EQ(menu.itemAtIndex(2)->state(), kit::ControlStateValue::On);
}

TEST_F(KRSparkleWrapperMenuTest, ValidationBadgesOnlyTagZeroCheckItemsAndHandsOutSymbols) {
    record("1.5", "2.0");
    struct Case {
        int system;
        long tag;
        bool badged;
    };
    for (const Case c : {Case{14, 0, true}, Case{14, 7, false}, Case{14, -1, false}, Case{13, 0, false}}) {
        SCOPED_TRACE(testing::Message() << "macOS " << c.system << ", tag " << c.tag);
        kit::SystemVersion::setCurrent(kit::SystemVersion(c.system));
        MenuItem item("Check for Updates…", kit::sel("checkForUpdates:"));
        item.setTag(c.tag);
        EXPECT_TRUE(wrapper().validateMenuItem(item));
        EXPECT_EQ(item.badge(), c.badged ? std::optional(kit::MenuItemBadge{"2.0"}) : std::nullopt);
    }

    record("1.5", "");
    MenuItem check("Check for Updates…", kit::sel("checkForUpdates:"));
    check.setBadge(kit::MenuItemBadge{"1.9"});
    EXPECT_TRUE(wrapper().validateMenuItem(check));
    EXPECT_EQ(check.badge(), kit::MenuItemBadge{"1.9"}) << "up to date: an earlier badge stays";
}

TEST_F(KRSparkleWrapperMenuTest, TheToggleFlipsTheSettingAndMovesTheSwitchUnlessItSentIt) {
    kit::Button checkBox{kit::Rect()};
    checkBox.setButtonType(kit::ButtonType::Switch);
    checkBox.setTarget(&wrapper());
    checkBox.setAction(kit::sel("toggleAutomaticChecking:"));
    wrapper().autoUpdateCheckingSwitch = &checkBox;
    SUUpdater& updater = wrapper().updater();
    ASSERT_TRUE(updater.automaticallyChecksForUpdates());

    MenuItem item("Check Automatically", kit::sel("toggleAutomaticChecking:"));
    item.setTarget(&wrapper());
    item.sendAction();
    EXPECT_FALSE(updater.automaticallyChecksForUpdates());
    EXPECT_EQ(checkBox.state(), kit::ControlStateValue::Off);

    checkBox.performClick(nullptr);  // the box turns itself on, then sends the action
    EXPECT_TRUE(updater.automaticallyChecksForUpdates());
    EXPECT_EQ(checkBox.state(), kit::ControlStateValue::On);
    checkBox.setState(kit::ControlStateValue::Mixed);
    wrapper().toggleAutomaticChecking(&checkBox);
    EXPECT_EQ(checkBox.state(), kit::ControlStateValue::Mixed) << "the sender's state is left alone";
    EXPECT_FALSE(updater.automaticallyChecksForUpdates());
}

TEST_F(KRSparkleWrapperMenuTest, TheProductPageComesFromTheToolTipElseTheNameElseABeep) {
    kit::Button button{kit::Rect()};
    button.setToolTip("https://maker.example/elsewhere");
    wrapper().visitProductPage(&button);
    wrapper().visitProductPage(nullptr);
    EXPECT_EQ(world().openedURLs(), std::vector<std::string>{"https://maker.example/elsewhere"});
    EXPECT_EQ(world().beepCount(), 1u) << "no sender, no tool tip";

    start({{"CFBundleName", "Example App"}});
    MenuItem item("Visit");
    wrapper().visitProductPage(&item);
    EXPECT_EQ(world().openedURLs(), std::vector<std::string>{"https://maker.example/exampleapp"});

    start({{"CFBundleName", ""}});
    button.setToolTip("not an address");
    wrapper().visitProductPage(&button);
    wrapper().visitProductPage(&item);
    EXPECT_EQ(world().beepCount(), 2u);
    EXPECT_TRUE(world().openedURLs().empty());
}
