#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <random>

#include "kit/appkit/Menu.h"
#include "kit/appkit/MenuItem.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/UserDefaults.h"
#include "update/KRSparkleWrapper.h"
#include "update/UpdateTest.h"

using kit::PropertyList;
using kit::URLLoadFailure;
using kit::URLLoadResult;

namespace {

constexpr std::int64_t dayBeforeStart = 1767614400 - 86400;
const PropertyList::Dictionary foundEarlier{
    {"Current Version", "1.5"}, {"Update Version", "2.0"}, {"Check Date", dayBeforeStart}};
const std::string webFeed = "https://maker.example/appcast.xml";
constexpr double checkInterval = 3600.0;
constexpr double pastTheTimeout = 31.0;

// What the user can see of the last check: the record, the Updates submenu's lines with their badges,
// and the badge of the application menu's "Check for Updates…".
struct Seen {
    std::optional<PropertyList> record;
    std::vector<std::string> submenu;
    std::optional<kit::MenuItemBadge> checkBadge;
    friend bool operator==(const Seen&, const Seen&) = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
    for (const std::string& line : seen.submenu) {
        *out << "[" << line << "] ";
    }
}

std::string randomBytes(std::size_t count) {
    std::mt19937 generator(18);
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

// A process that found update 2.0 a day ago, with the wrapper as the updater's delegate and an Updates
// submenu, checking automatically every hour.
class UpdateFailureTest : public UpdateTest {
protected:
    void startWithFeed(const std::string& feed) {
        start({{"SUFeedURL", feed.empty() ? PropertyList() : PropertyList(feed)},
               {"SUScheduledCheckInterval", checkInterval}});
        storeRecord(foundEarlier);
        world().runUntilIdle();  // the wrapper becomes the delegate
        _updates = wrapper().controlsSubmenuItem();
    }
    headless::HeadlessURLLoadingPort& server() { return world().urlLoadingPort(); }

    Seen seen() {
        kit::Menu& menu = *_updates->submenu();
        menu.update();
        Seen seen{kit::UserDefaults::standard().objectForKey("KRSparkleWrapperStatus"), {}, {}};
        for (const kit::MenuItem* item : menu.itemArray()) {
            seen.submenu.push_back(item->title() + (item->badge() ? " | " + item->badge()->string : ""));
        }
        kit::MenuItem check("Check for Updates…", kit::sel("checkForUpdates:"));
        wrapper().validateMenuItem(check);
        seen.checkBadge = check.badge();
        return seen;
    }
    // Chooses the submenu's "Check Now...".
    void checkNow() {
        kit::Menu& menu = *_updates->submenu();
        menu.update();
        for (kit::MenuItem* item : menu.itemArray()) {
            if (item->title() == "Check Now...") {
                item->sendAction();
            }
        }
    }
    const kit::Window* alert() { return wrapper().updater().alertWindow(); }

    TemporaryFolder files;

private:
    std::unique_ptr<kit::MenuItem> _updates;
};

}  // namespace

TEST_F(UpdateFailureTest, AFailedCheckChangesNothingAndOnlyACheckTheUserAskedForSaysWhy) {
    const std::string feedFile = (files.path() / "appcast.xml").string();
    const auto fileWith = [&](const std::string& contents) {
        return [&, contents] { return files.write("appcast.xml", contents).string(); };
    };
    const auto fileMadeBy = [&](std::function<void()> make) {
        return [&, make] {
            make();
            return feedFile;
        };
    };
    const auto constant = [](const std::string& address) { return [address] { return address; }; };
    const auto web = constant(webFeed);
    const auto answering = [](URLLoadFailure failure) {
        return [failure](headless::HeadlessURLLoadingPort& port) {
            port.script(webFeed, URLLoadResult::failed(failure, "scripted"));
        };
    };
    const std::string wholeFeed =
        "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><item>"
        "<title>Version 3.0</title></item></channel></rss>";
    const std::string damaged = "the update information is damaged.";
    const std::string unreadable = "the update information could not be read.";
    const std::string notFound = "the update information was not found.";
    const std::string tooLarge = "the update information is larger than 2 MB.";
    const std::string noAnswer = "the update server did not answer within 30 seconds.";
    const std::string load = "cannot load the update feed: ";
    const std::string read = "cannot read the update feed: ";
    const std::string notRegular = load + feedFile + " is not a regular file";
    std::string deepNesting = "<rss>";
    for (int level = 0; level < 300; ++level) {
        deepNesting += "<a>";
    }
    struct Case {
        const char* name;
        std::function<std::string()> feed;  // makes what the feed names and returns its address
        std::function<void(headless::HeadlessURLLoadingPort&)> script;
        std::string reason;
        std::string log;
    };
    const Case cases[] = {
        {"no feed address", constant(""), nullptr, "no update address is set.", "no update feed: "},
        {"a missing file", constant("file:///no/such/appcast.xml"), nullptr, notFound,
         load + "cannot read /no/such/appcast.xml"},
        {"a folder", [&] { return files.path().string(); }, nullptr, unreadable,
         load + files.path().string() + " is not a regular file"},
        {"a pipe without a writer", fileMadeBy([&] { ::mkfifo(feedFile.c_str(), 0600); }), nullptr,
         unreadable, notRegular},
        {"a link to an endless device",
         fileMadeBy([&] { std::filesystem::create_symlink("/dev/zero", feedFile); }), nullptr, unreadable,
         notRegular},
        {"50 MB",
         fileMadeBy([&] { std::filesystem::resize_file(files.write("appcast.xml", ""), 50u << 20); }),
         nullptr, tooLarge, load + feedFile + " is larger than 2 MiB"},
        {"random bytes", fileWith(randomBytes(4096)), nullptr, damaged, read},
        {"truncated", fileWith(wholeFeed.substr(0, wholeFeed.size() / 2)), nullptr, damaged, read},
        {"not a feed", fileWith("<html><body/></html>"), nullptr, damaged, read + "not an RSS channel"},
        {"nested too deeply", fileWith(deepNesting), nullptr, damaged, read + "elements nested too deeply"},
        {"a flood of unclosed elements", fileWith(std::string(100000, '<')), nullptr, damaged, read},
        {"a server that never answers", web,
         [](headless::HeadlessURLLoadingPort& port) { port.script(webFeed, std::nullopt); }, noAnswer,
         load + "no answer within 30 s"},
        {"a load that timed out", web, answering(URLLoadFailure::TimedOut), noAnswer, load + "scripted"},
        {"an unreachable server", web, answering(URLLoadFailure::CannotConnect),
         "the update server could not be reached.", load + "scripted"},
        {"a page the server does not have", web, answering(URLLoadFailure::NotFound), notFound,
         load + "scripted"},
        {"a server error", web, answering(URLLoadFailure::ServerError),
         "the update server reported an error.", load + "scripted"},
        {"too large a download", web, answering(URLLoadFailure::TooLarge), tooLarge, load + "scripted"},
        {"an address of another kind", constant("ftp://maker.example/appcast.xml"), nullptr,
         "its update address is not one it can use.", load + "not a local address"},
    };
    for (const Case& c : cases) {
        for (const bool userAsked : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (userAsked ? ", asked for" : ", automatic"));
            std::filesystem::remove_all(feedFile);
            startWithFeed(c.feed());
            if (c.script) {
                c.script(server());
            }
            const Seen before = seen();
            if (userAsked) {
                checkNow();
            } else {
                world().advance(checkInterval);
            }
            world().advance(pastTheTimeout);
            EXPECT_EQ(seen(), before);
            EXPECT_FALSE(wrapper().updater().updateInProgress());
            ASSERT_EQ(world().logMessages().size(), 1u);
            EXPECT_TRUE(world().logMessages()[0].starts_with("[SUUpdater] " + c.log))
                << world().logMessages()[0];
            if (userAsked) {
                ASSERT_NE(alert(), nullptr);
                EXPECT_EQ(alert()->title(), "Update Check Failed");
                EXPECT_EQ(sentenceIn(*alert()), "Example could not check for updates: " + c.reason);
            } else {
                EXPECT_EQ(alert(), nullptr) << "an automatic check fails quietly";
            }
        }
    }
}

TEST_F(UpdateFailureTest, ATimedOutCheckFreesTheUpdaterAndALateAnswerIsIgnored) {
    startWithFeed(webFeed);
    server().script(webFeed, std::nullopt);
    world().advance(checkInterval);
    ASSERT_EQ(server().requests().size(), 1u);
    EXPECT_EQ(server().requests()[0].maximumLength, 2u * 1024 * 1024);
    EXPECT_EQ(server().requests()[0].timeout, 30.0);
    EXPECT_TRUE(wrapper().updater().updateInProgress());

    checkNow();
    EXPECT_EQ(server().requests().size(), 1u) << "no second check while one runs";
    world().advance(29.0);
    EXPECT_EQ(alert(), nullptr);
    world().advance(1.0);
    EXPECT_FALSE(wrapper().updater().updateInProgress());
    ASSERT_NE(alert(), nullptr) << "the running check answers the user who asked meanwhile";
    EXPECT_EQ(alert()->title(), "Update Check Failed");
    wrapper().updater().alertWindow()->close();
    const Seen afterTimeout = seen();

    checkNow();
    EXPECT_EQ(server().requests().size(), 2u) << "Check Now reaches the server again";
    writeFeed(item("300", "3.0"));
    const URLLoadResult update = URLLoadResult::success(TemporaryFolder::read(feedPath()));
    ASSERT_TRUE(server().answerOldestWaiting(update));
    world().runUntilIdle();
    EXPECT_EQ(seen(), afterTimeout) << "an answer after its check timed out belongs to no later check";
    EXPECT_TRUE(wrapper().updater().updateInProgress());
    world().advance(30.0);
    ASSERT_NE(alert(), nullptr);
    wrapper().updater().alertWindow()->close();
    ASSERT_TRUE(server().answerOldestWaiting(update));
    world().runUntilIdle();
    EXPECT_EQ(seen(), afterTimeout) << "nor when no check runs";

    world().advance(checkInterval);
    EXPECT_EQ(server().requests().size(), 3u) << "the next automatic check reaches the server too";
    EXPECT_EQ(alert(), nullptr) << "and fails quietly, though the user asked for the one before";

    server().script(webFeed, update);
    checkNow();
    world().runUntilIdle();
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("3.0")) << "a server that answers again";
    const std::size_t logged = world().logMessages().size();
    world().advance(pastTheTimeout);
    EXPECT_EQ(world().logMessages().size(), logged) << "a check that ended has no deadline left";
    EXPECT_EQ(alert()->title(), "Software Update");
}

TEST_F(UpdateFailureTest, AFeedMayBeTwoMebibytesAndNotAByteMore) {
    // Padding inside the channel keeps the feed well-formed at any length.
    const auto feedOfLength = [&](std::size_t length) {
        writeFeed("<!--x-->" + item("300", "3.0"));
        std::string feed = TemporaryFolder::read(feedPath());
        feed.insert(feed.find("<!--x") + 5, length - feed.size(), 'x');
        return files.write("appcast.xml", feed).string();
    };
    startWithFeed(feedOfLength(2 * 1024 * 1024));
    checkNow();
    world().runUntilIdle();
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("3.0"));

    startWithFeed(feedOfLength(2 * 1024 * 1024 + 1));
    checkNow();
    world().runUntilIdle();
    EXPECT_EQ(wrapper().status(), foundEarlier);
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(sentenceIn(*alert()),
              "Example could not check for updates: the update information is larger than 2 MB.");
}

TEST_F(UpdateFailureTest, AnItemWithAnOverlongVersionIsLeftOutAndNeverReachesTheSettings) {
    const std::string longest(64, '7');
    struct Case {
        const char* name;
        std::string items;
        std::string recorded;
        std::size_t logLines;
    };
    const Case cases[] = {
        {"a display version at the bound", item("900", longest), longest, 0},
        {"a build version at the bound", item(std::string(64, '9'), "9.0"), "9.0", 0},
        {"a display version past it", item("900", longest + "7") + item("250", "2.5"), "2.5", 1},
        {"a build version past it", item("9" + longest, "9.0") + item("250", "2.5"), "2.5", 1},
        {"the only item past it", item("900", longest + "7"), "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFeed(c.items);
        startWithFeed("file://" + feedPath());
        world().advance(checkInterval);
        EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList(c.recorded));
        ASSERT_EQ(world().logMessages().size(), c.logLines);
        if (c.logLines > 0) {
            EXPECT_EQ(world().logMessages()[0],
                      "[SUUpdater] left out 1 feed item(s) whose version is longer than 64 bytes");
        }
    }
}
