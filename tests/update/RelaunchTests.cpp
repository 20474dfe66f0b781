#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/appkit/Application.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/UserDefaults.h"
#include "support/HeadlessTest.h"
#include "update/KRSparkleWrapper.h"

namespace {

using headless::HeadlessApplicationPort;
using Dictionary = kit::PropertyList::Dictionary;

const std::string waitingLine = "[KRSparkleWrapper] waiting for other instance to quit";
const std::string multipleLine = "[KRSparkleWrapper] cannot relaunch: multiple instances";
const std::string notTerminatedLine = "[KRSparkleWrapper] application did not terminate";
constexpr std::int64_t oldInstance = 100;

class Deciding final : public kit::ApplicationDelegate, public kit::ApplicationTerminationDelegate {
public:
    explicit Deciding(kit::TerminateReply reply) : _reply(reply) {}
    kit::TerminateReply applicationShouldTerminate(kit::Application&) override {
        ++asked;
        return _reply;
    }
    int asked = 0;

private:
    kit::TerminateReply _reply;
};

class RelaunchTest : public HeadlessTest {
protected:
    HeadlessApplicationPort& port() { return world().applicationPort(); }

    void startedWith(const std::string& parameter) {
        port().setEnvironment({{KRSparkleWrapper::instanceCheckVariable, parameter}});
    }
    void dockKeeps(const std::vector<kit::PropertyList>& entries) {
        const Dictionary dock{{"persistent-apps", kit::PropertyList::Array(entries)}};
        ASSERT_TRUE(kit::PropertyListSerialization::writeFile(
            dock, kit::UserDefaults::standard().path().parent_path() / "com.apple.dock.plist"));
    }
    static kit::PropertyList tile(const std::string& identifier) {
        return Dictionary{{"tile-data", Dictionary{{"bundle-identifier", identifier}}}};
    }
    void oldInstanceQuitsAt(double time) {
        port().addRunningApplication({{"com.larkspur.Awning", oldInstance, "/opt/awning/bin/awning"}, time});
    }
    // Runs `relaunch`, which may end the process; its result when it returned.
    template <class Relaunch>
    std::optional<bool> run(Relaunch relaunch) {
        try {
            return relaunch();
        } catch (const HeadlessApplicationPort::Terminated&) {
            return std::nullopt;
        }
    }
    std::size_t linesEqualTo(const std::string& line) const {
        const auto& lines = const_cast<RelaunchTest*>(this)->world().logMessages();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }
};

TEST_F(RelaunchTest, OnlyAFirstRelaunchOfAnApplicationTheDockKeepsLooksFurther) {
    startedWith("skip");
    oldInstanceQuitsAt(100.0);
    EXPECT_FALSE(KRSparkleWrapper::relaunchAgainIfAppropriate()) << "no Dock domain";
    dockKeeps({tile("com.example.Other"), kit::PropertyList(Dictionary{{"tile-data", "not a dictionary"}}),
               kit::PropertyList("not an entry")});
    EXPECT_FALSE(KRSparkleWrapper::relaunchAgainIfAppropriate()) << "not among the Dock's";

    dockKeeps({tile("com.larkspur.Awning")});
    for (const char* parameter : {"", "skipagain", "Skip"}) {
        SCOPED_TRACE(parameter);
        startedWith(parameter);
        EXPECT_FALSE(KRSparkleWrapper::relaunchAgainIfAppropriate());
    }
    port().setEnvironment({});
    EXPECT_FALSE(KRSparkleWrapper::relaunchAgainIfAppropriate());
    EXPECT_EQ(world().sleptSeconds(), 0.0);
    EXPECT_TRUE(world().launches().empty());
}

TEST_F(RelaunchTest, StartsAgainOnceTheOldInstanceIsGone) {
    startedWith("skip");
    dockKeeps({tile("com.example.Other"), tile("COM.Larkspur.awning")});
    oldInstanceQuitsAt(1.5);  // still there at the polls after 0.5 and 1.0 s, gone at the third
    EXPECT_EQ(run([] { return KRSparkleWrapper::relaunchAgainIfAppropriate(); }), std::nullopt);
    EXPECT_EQ(linesEqualTo(waitingLine), 2u);
    EXPECT_DOUBLE_EQ(world().sleptSeconds(), 1.5 + 1.0);
    ASSERT_EQ(world().launches().size(), 1u);
    const kit::LaunchRequest& launch = world().launches().front();
    EXPECT_EQ(launch.applicationPath, "/opt/awning/bin/awning");
    EXPECT_TRUE(launch.newInstance);
    EXPECT_EQ(launch.environment,
              (std::map<std::string, std::string>{{KRSparkleWrapper::instanceCheckVariable, "skipagain"}}));
    EXPECT_EQ(port().terminateRequests(), 1u);
}

TEST_F(RelaunchTest, GivesUpWhenTheOldInstanceNeverQuits) {
    startedWith("skip");
    dockKeeps({tile("com.larkspur.Awning")});
    oldInstanceQuitsAt(std::numeric_limits<double>::infinity());
    EXPECT_FALSE(KRSparkleWrapper::relaunchAgainIfAppropriate());
    EXPECT_EQ(linesEqualTo(waitingLine), 10u);
    EXPECT_EQ(linesEqualTo(multipleLine), 1u);
    EXPECT_EQ(world().logMessages().back(), multipleLine);
    EXPECT_DOUBLE_EQ(world().sleptSeconds(), 5.0);
    EXPECT_TRUE(world().launches().empty());
}

TEST_F(RelaunchTest, ARefusingDelegateKeepsTheApplicationRunning) {
    for (const auto reply : {kit::TerminateReply::Cancel, kit::TerminateReply::Later}) {
        Deciding delegate(reply);
        kit::Application::shared().setDelegate(&delegate);
        EXPECT_FALSE(KRSparkleWrapper::relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(true));
        EXPECT_EQ(delegate.asked, 1);
        EXPECT_EQ(kit::Application::shared().delegate(), &delegate);
    }
    EXPECT_TRUE(world().launches().empty());
    EXPECT_TRUE(world().logMessages().empty());
    EXPECT_EQ(port().terminateRequests(), 0u);
}

TEST_F(RelaunchTest, AConsentingOrUnaskedDelegateTakesNoPartInQuitting) {
    Deciding delegate(kit::TerminateReply::Now);
    kit::Application::shared().setDelegate(&delegate);
    EXPECT_EQ(
        run([] { return KRSparkleWrapper::relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(true); }),
        std::nullopt);
    EXPECT_EQ(delegate.asked, 1) << "asked by the relaunch, not again by terminate";
    EXPECT_EQ(world().launches().back().environment.at(KRSparkleWrapper::instanceCheckVariable), "skip");

    // The second relaunch never asks.
    kit::Application::shared().setDelegate(&delegate);
    startedWith("skip");
    dockKeeps({tile("com.larkspur.Awning")});
    EXPECT_EQ(run([] { return KRSparkleWrapper::relaunchAgainIfAppropriate(); }), std::nullopt);
    EXPECT_EQ(delegate.asked, 1);
    EXPECT_EQ(port().terminateRequests(), 2u);
}

TEST_F(RelaunchTest, AFailedLaunchIsLoggedAndAnApplicationThatDoesNotQuitKeepsItsDelegate) {
    Deciding delegate(kit::TerminateReply::Now);
    kit::Application::shared().setDelegate(&delegate);
    world().setLaunchFailure("no such file");
    port().setTerminateReturns(true);
    EXPECT_EQ(run([] { return KRSparkleWrapper::relaunchWithInstanceCheckParameter("skip", false); }), false);
    EXPECT_EQ(
        world().logMessages(),
        (std::vector<std::string>{"[KRSparkleWrapper] cannot relaunch: no such file", notTerminatedLine}));
    EXPECT_EQ(port().terminateRequests(), 1u) << "it still tries to quit";
    EXPECT_EQ(kit::Application::shared().delegate(), &delegate);
    EXPECT_EQ(delegate.asked, 0);
}

}  // namespace
