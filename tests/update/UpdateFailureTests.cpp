#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <random>

#include "kit/appkit/Window.h"
#include "kit/foundation/UserDefaults.h"
#include "update/KRSparkleWrapper.h"
#include "update/UpdateTest.h"

using kit::PropertyList;
using kit::URLLoadFailure;
using kit::URLLoadResult;

namespace {

const PropertyList::Dictionary foundEarlier{
    {"Current Version", "1.5"}, {"Update Version", "2.0"}, {"Check Date", std::int64_t{1767614400 - 86400}}};
const std::string webFeed = "https://maker.example/appcast.xml";
constexpr double checkInterval = 3600.0;

// A process that found update 2.0 a day ago, with the wrapper as the updater's delegate, checking
// automatically every hour. The menus and badges show what the stored record says.
class UpdateFailureTest : public UpdateTest {
protected:
    void startWithFeed(const std::string& feed) {
        start({{"SUFeedURL", feed.empty() ? PropertyList() : PropertyList(feed)},
               {"SUScheduledCheckInterval", checkInterval}});
        storeRecord(foundEarlier);
        wrapper();
        world().runUntilIdle();  // the wrapper becomes the delegate
    }
    headless::HeadlessURLLoadingPort& server() { return world().urlLoadingPort(); }
    static std::optional<PropertyList> record() {
        return kit::UserDefaults::standard().objectForKey("KRSparkleWrapperStatus");
    }
    void checkNow() { wrapper().checkForUpdates(nullptr); }
    const kit::Window* alert() { return wrapper().updater().alertWindow(); }

    TemporaryFolder files;
};

}  // namespace

TEST_F(UpdateFailureTest, AFailedCheckChangesNothingAndOnlyACheckTheUserAskedForSaysWhy) {
    const std::string feedFile = (files.path() / "appcast.xml").string();
    // Each row's feed: what it names, made on demand (the file is removed between runs).
    const auto fileWith = [&](const std::string& contents) {
        return [&, contents] { return files.write("appcast.xml", contents).string(); };
    };
    const auto fileMadeBy = [&](std::function<void()> make) {
        return [&, make] {
            make();
            return feedFile;
        };
    };
    const auto address = [](const std::string& address) { return [address] { return address; }; };
    const auto answering = [](std::optional<URLLoadFailure> failure) {
        return [failure](headless::HeadlessURLLoadingPort& port) {
            port.script(webFeed,
                        failure ? std::optional(URLLoadResult::failed(*failure, "scripted")) : std::nullopt);
        };
    };
    const std::string wholeFeed =
        "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><item>"
        "<title>Version 3.0</title></item></channel></rss>";
    std::string randomBytes(4096, '\0');
    std::mt19937 generator(18);
    for (char& byte : randomBytes) {
        byte = static_cast<char>(generator());
    }
    std::string deepNesting = "<rss>";
    for (int level = 0; level < 300; ++level) {
        deepNesting += "<a>";
    }
    const std::string damaged = "the update information is damaged.";
    const std::string unreadable = "the update information could not be read.";
    const std::string notFound = "the update information was not found.";
    const std::string tooLarge = "the update information is larger than 2 MB.";
    const std::string noAnswer = "the update server did not answer within 30 seconds.";
    const std::string load = "cannot load the update feed: ";
    const std::string read = "cannot read the update feed: ";
    const std::string notRegular = load + feedFile + " is not a regular file";
    struct Case {
        const char* name;
        std::function<std::string()> feed;  // makes what the feed names and returns its address
        std::function<void(headless::HeadlessURLLoadingPort&)> script;
        std::string reason;
        std::string log;
    };
    const Case cases[] = {
        {"no feed address", address(""), nullptr, "no update address is set.", "no update feed: "},
        {"a missing file", address("file:///no/such/appcast.xml"), nullptr, notFound,
         load + "cannot read /no/such/appcast.xml"},
        {"a folder", address(files.path().string()), nullptr, unreadable,
         load + files.path().string() + " is not a regular file"},
        {"a pipe without a writer", fileMadeBy([&] { ::mkfifo(feedFile.c_str(), 0600); }), nullptr,
         unreadable, notRegular},
        {"a link to an endless device",
         fileMadeBy([&] { std::filesystem::create_symlink("/dev/zero", feedFile); }), nullptr, unreadable,
         notRegular},
        {"50 MB",
         fileMadeBy([&] { std::filesystem::resize_file(files.write("appcast.xml", ""), 50u << 20); }),
         nullptr, tooLarge, load + feedFile + " is larger than 2 MiB"},
        {"random bytes", fileWith(randomBytes), nullptr, damaged, read},
        {"truncated", fileWith(wholeFeed.substr(0, wholeFeed.size() / 2)), nullptr, damaged, read},
        {"not a feed", fileWith("<html><body/></html>"), nullptr, damaged, read + "not an RSS channel"},
        {"nested too deeply", fileWith(deepNesting), nullptr, damaged, read + "elements nested too deeply"},
        {"a flood of unclosed elements", fileWith(std::string(100000, '<')), nullptr, damaged, read},
        {"a server that never answers", address(webFeed), answering(std::nullopt), noAnswer,
         load + "no answer within 30 s"},
        {"a load that timed out", address(webFeed), answering(URLLoadFailure::TimedOut), noAnswer,
         load + "scripted"},
        {"an unreachable server", address(webFeed), answering(URLLoadFailure::CannotConnect),
         "the update server could not be reached.", load + "scripted"},
        {"a page the server does not have", address(webFeed), answering(URLLoadFailure::NotFound), notFound,
         load + "scripted"},
        {"a server error", address(webFeed), answering(URLLoadFailure::ServerError),
         "the update server reported an error.", load + "scripted"},
        {"too large a download", address(webFeed), answering(URLLoadFailure::TooLarge), tooLarge,
         load + "scripted"},
        {"an address of another kind", address("ftp://maker.example/appcast.xml"), nullptr,
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
            const auto before = record();
            if (userAsked) {
                checkNow();
            } else {
                world().advance(checkInterval);
            }
            world().advance(31.0);  // past the timeout
            EXPECT_EQ(record(), before);
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

// One byte more is refused, as the 50 MB feed above is.
TEST_F(UpdateFailureTest, AFeedMayBeTwoMebibytes) {
    writeFeed("<!--x-->" + item("300", "3.0"));  // padding inside the comment keeps it well-formed
    std::string feed = TemporaryFolder::read(feedPath());
    feed.insert(feed.find("<!--x") + 5, 2 * 1024 * 1024 - feed.size(), 'x');
    startWithFeed(files.write("appcast.xml", feed).string());
    world().advance(checkInterval);
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("3.0"));
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
    wrapper().updater().alertWindow()->close();
    const auto afterTimeout = record();

    checkNow();
    EXPECT_EQ(server().requests().size(), 2u) << "Check Now reaches the server again";
    writeFeed(item("300", "3.0"));
    const URLLoadResult update = URLLoadResult::success(TemporaryFolder::read(feedPath()));
    ASSERT_TRUE(server().answerOldestWaiting(update));
    world().runUntilIdle();
    EXPECT_EQ(record(), afterTimeout) << "an answer after its check timed out belongs to no later check";
    EXPECT_TRUE(wrapper().updater().updateInProgress());
    world().advance(30.0);
    ASSERT_NE(alert(), nullptr);
    wrapper().updater().alertWindow()->close();
    ASSERT_TRUE(server().answerOldestWaiting(update));
    world().runUntilIdle();
    EXPECT_EQ(record(), afterTimeout) << "nor when no check runs";

    world().advance(checkInterval);
    EXPECT_EQ(server().requests().size(), 3u) << "the next automatic check reaches the server too";
    EXPECT_EQ(alert(), nullptr) << "and fails quietly, though the user asked for the one before";

    server().script(webFeed, update);
    checkNow();
    world().runUntilIdle();
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("3.0")) << "a server that answers again";
    const std::size_t logged = world().logMessages().size();
    world().advance(31.0);
    EXPECT_EQ(world().logMessages().size(), logged) << "a check that ended has no deadline left";
    EXPECT_EQ(alert()->title(), "Software Update");
}

TEST_F(UpdateFailureTest, AnItemWithAnOverlongVersionIsLeftOutAndNeverReachesTheSettings) {
    const std::string longest(64, '7');
    const struct {
        const char* name;
        std::string items;
        std::string recorded;
        std::size_t logLines;
    } cases[] = {
        {"a display version at the bound", item("900", longest), longest, 0},
        {"a build version at the bound", item(std::string(64, '9'), "9.0"), "9.0", 0},
        {"a display version past it", item("900", longest + "7") + item("250", "2.5"), "2.5", 1},
        {"a build version past it", item("9" + longest, "9.0") + item("250", "2.5"), "2.5", 1},
        {"the only item past it", item("900", longest + "7"), "", 1},
    };
    for (const auto& c : cases) {
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
