#include <gtest/gtest.h>

#include "kit/appkit/Button.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/SystemVersion.h"
#include "update/SUUpdateAlert.h"
#include "update/SUUpdater.h"
#include "update/SUVersionComparison.h"
#include "update/UpdateTest.h"

namespace {

// Writes down what the updater reports, in order.
class RecordingDelegate : public SUUpdaterDelegate {
public:
    void updaterDidFinishLoadingAppcast(SUUpdater&, const SUAppcast&) override { events += "loaded; "; }
    void updaterDidFindValidUpdate(SUUpdater&, const SUAppcastItem& item, kit::Window* alert) override {
        events +=
            "found " + item.displayVersionString + (item.newestSupportedUpdate ? "; " : " (not newest); ");
        alertWindow = alert;
    }
    void updaterDidNotFindUpdate(SUUpdater&) override { events += "not found; "; }
    std::string events;
    kit::Window* alertWindow = nullptr;
};

class SUUpdaterTest : public UpdateTest {
protected:
    SUUpdater& updater() {
        SUUpdater& updater = SUUpdater::updaterForBundle(kit::Bundle::main());
        updater.setDelegate(&delegate);
        return updater;
    }
    // One check the user asked for, run to its end.
    std::string check() {
        delegate.events.clear();
        updater().checkForUpdates(nullptr);
        EXPECT_TRUE(updater().updateInProgress());
        world().runUntilIdle();
        EXPECT_FALSE(updater().updateInProgress());
        return delegate.events;
    }
    RecordingDelegate delegate;
};

}  // namespace

TEST(SUVersionComparisonTest, VersionsCompareAsPeopleReadThem) {
    struct Case {
        const char* older;
        const char* newer;
    };
    for (const Case c : {Case{"1.9", "1.10"}, Case{"1.2", "1.2.1"}, Case{"1.0b", "1.0"}, Case{"2.0a", "2.0b"},
                         Case{"99", "100"}, Case{"150", "200"}, Case{"12.5", "13"}}) {
        SCOPED_TRACE(std::string(c.older) + " < " + c.newer);
        EXPECT_LT(SUCompareVersions(c.older, c.newer), 0);
        EXPECT_GT(SUCompareVersions(c.newer, c.older), 0);
    }
    EXPECT_EQ(SUCompareVersions("1.2", "1.2.0"), 0);
    EXPECT_EQ(SUCompareVersions("007", "7"), 0);
}

TEST_F(SUUpdaterTest, ACheckReportsTheNewestUpdateTheSystemCanTake) {
    kit::SystemVersion::setCurrent(kit::SystemVersion(14));
    struct Case {
        const char* name;
        std::string items;
        std::string events;
    };
    const Case cases[] = {
        {"newest chosen", item("180", "1.8") + item("200", "2.0") + item("170", "1.7"),
         "loaded; found 2.0; "},
        {"one that needs a newer system skipped", item("300", "3.0", "15.0") + item("200", "2.0", "14.0"),
         "loaded; found 2.0; "},
        {"nothing newer than the running build", item("150", "1.5") + item("120", "1.2"),
         "loaded; not found; "},
        {"an empty channel", "", "loaded; not found; "},
        {"items without a version left out", "<item><title>no version</title></item>", "loaded; not found; "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFeed(c.items);
        EXPECT_EQ(check(), c.events);
    }
    EXPECT_TRUE(world().logMessages().empty());
}

TEST_F(SUUpdaterTest, AutomaticChecksFollowTheIntervalAndTheSetting) {
    writeFeed(item("200", "2.0"));
    start({{"SUScheduledCheckInterval", 3600}});
    updater().resetUpdateCycle();
    world().advance(3599.0);
    EXPECT_EQ(delegate.events, "");
    world().advance(1.0);
    EXPECT_EQ(delegate.events, "loaded; found 2.0; ");
    world().advance(3600.0);
    EXPECT_EQ(delegate.events, "loaded; found 2.0; loaded; found 2.0; ")
        << "the next check an interval later";

    updater().setAutomaticallyChecksForUpdates(false);
    start({{"SUScheduledCheckInterval", 3600}});
    delegate.events.clear();
    updater().resetUpdateCycle();
    world().advance(7200.0);
    EXPECT_EQ(delegate.events, "") << "switched off, which the defaults keep";
}

TEST_F(SUUpdaterTest, AFoundUpdateIsAnnouncedWithBothVersionsAndAWebPageAboutIt) {
    writeFeed(item("100", "1.0"));
    EXPECT_EQ(check(), "loaded; not found; ");
    ASSERT_NE(updater().alertWindow(), nullptr) << "a check the user asked for says it found nothing";
    EXPECT_EQ(updater().alertWindow()->title(), "You’re up to date!");

    // The enclosure is the download itself; a page that is no web address would open a local file.
    struct Case {
        const char* name;
        std::string pages;
        std::string button;  // empty: only "OK"
        std::string opened;
    };
    const std::string notes =
        "<sparkle:releaseNotesLink>https://maker.example/notes/3.0</sparkle:releaseNotesLink>";
    const std::string localLink = "<link>file:///etc/passwd</link>";
    const Case cases[] = {
        {"the item's page", "<link>https://maker.example/3.0</link>" + notes, "Visit Download Page",
         "https://maker.example/3.0"},
        {"no page: the release notes", notes, "Read Release Notes", "https://maker.example/notes/3.0"},
        {"a local page: the release notes", localLink + notes, "Read Release Notes",
         "https://maker.example/notes/3.0"},
        {"neither: the product page", "", "Visit Product Page", "https://maker.example/example"},
        {"local pages only: the product page",
         localLink + "<sparkle:releaseNotesLink>file:///etc/passwd</sparkle:releaseNotesLink>",
         "Visit Product Page", "https://maker.example/example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        writeFeed("<item>" + c.pages +
                  "<enclosure url=\"https://maker.example/example-3.0.zip\" sparkle:version=\"300\" "
                  "sparkle:shortVersionString=\"3.0\"/></item>");
        EXPECT_EQ(check(), "loaded; found 3.0; ");
        kit::Window* alert = updater().alertWindow();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(delegate.alertWindow, alert);
        EXPECT_TRUE(alert->isVisible());
        EXPECT_EQ(alert->title(), "Software Update");
        EXPECT_EQ(sentenceIn(*alert), "Example 3.0 is now available! You are currently using Example 1.5.");
        const std::vector<kit::Button*> buttons = buttonsIn(*alert);
        ASSERT_EQ(buttons.size(), 2u);
        EXPECT_EQ(buttons[0]->title(), c.button);
        EXPECT_EQ(buttons[1]->title(), "Later");
        buttons[0]->performClick(nullptr);
        EXPECT_EQ(world().openedURLs(), std::vector<std::string>{c.opened});
        EXPECT_EQ(updater().alertWindow(), nullptr);
    }
}
