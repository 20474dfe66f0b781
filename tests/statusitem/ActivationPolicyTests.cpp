#include <gtest/gtest.h>

#include "kit/appkit/Application.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "statusitem/KRSetActivationPolicy.h"
#include "support/HeadlessTest.h"

namespace {

using headless::HeadlessApplicationPort;

constexpr std::int64_t dockProcess = 77;

class ActivationPolicyTest : public HeadlessTest {
protected:
    ActivationPolicyTest() { withDock(); }
    void withDock() { port().addRunningApplication({{"com.apple.dock", dockProcess, "/System/Dock.app"}}); }
    HeadlessApplicationPort& port() { return world().applicationPort(); }
    kit::ActivationPolicy policy() { return kit::Application::shared().activationPolicy(); }

    int completions = 0;
    std::function<void()> completion() {
        return [this] { ++completions; };
    }
};

TEST_F(ActivationPolicyTest, ThePolicyAlreadySetNeedsNothing) {
    EXPECT_TRUE(KRSetActivationPolicy(false, true, nullptr, completion()));
    world().advance(1.0);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(world().activationCount(), 0u);
    EXPECT_TRUE(port().activations().empty());
}

TEST_F(ActivationPolicyTest, AnOldAppKitCannotSwitchToAccessory) {
    kit::SystemVersion::setAppKitVersionNumber(1264.9);
    bool notAttempted = false;
    EXPECT_TRUE(KRSetActivationPolicy(true, true, &notAttempted));
    EXPECT_TRUE(notAttempted);
    EXPECT_TRUE(world().logMessages().empty());
    EXPECT_FALSE(KRSetActivationPolicy(true, true, nullptr));
    EXPECT_EQ(world().logMessages(), std::vector<std::string>{"cannot set activation policy: 1"});
    EXPECT_EQ(world().beepCount(), 1u);
    EXPECT_EQ(policy(), kit::ActivationPolicy::Regular);

    kit::SystemVersion::setAppKitVersionNumber(1265.0);
    notAttempted = false;
    EXPECT_TRUE(KRSetActivationPolicy(true, false, &notAttempted));
    EXPECT_FALSE(notAttempted);
    EXPECT_EQ(policy(), kit::ActivationPolicy::Accessory);
}

TEST_F(ActivationPolicyTest, ARefusedPolicyIsLoggedWithABeep) {
    port().setRefusesActivationPolicy(true);
    EXPECT_FALSE(KRSetActivationPolicy(true, true, nullptr, completion()));
    EXPECT_EQ(world().logMessages(), std::vector<std::string>{"cannot set activation policy: 1"});
    EXPECT_EQ(world().beepCount(), 1u);
    world().advance(1.0);
    EXPECT_EQ(completions, 0);
}

TEST_F(ActivationPolicyTest, AccessoryActivatesHalfASecondLaterOnlyWhenAsked) {
    EXPECT_TRUE(KRSetActivationPolicy(true, false, nullptr, completion()));
    world().advance(1.0);
    EXPECT_EQ(world().activationCount(), 0u);
    EXPECT_EQ(completions, 0);

    restart();
    withDock();
    EXPECT_TRUE(KRSetActivationPolicy(true, true, nullptr, completion()));
    world().advance(0.49);
    EXPECT_EQ(world().activationCount(), 0u);
    world().advance(0.01);
    EXPECT_EQ(world().activationCount(), 1u);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(port().activations().empty()) << "the Dock is left alone";
}

TEST_F(ActivationPolicyTest, RegularActivatesTheDockFirstFrom1015) {
    struct Case {
        kit::SystemVersion version;
        bool activate;
        bool backgroundLaunch;
        bool dockActivated;
        bool applicationActivated;
    };
    for (const Case& c : {Case{{10, 15}, false, true, true, true}, Case{{26}, false, false, true, true},
                          Case{{10, 14}, true, true, true, true}, Case{{10, 14}, false, true, false, false},
                          Case{{10, 14}, false, false, false, true}}) {
        SCOPED_TRACE(testing::Message() << c.version.major() << "." << c.version.minor() << " activate "
                                        << c.activate << " background launch " << c.backgroundLaunch);
        restart();
        withDock();
        completions = 0;
        kit::SystemVersion::setCurrent(c.version);
        kit::UserDefaults::standard().setBool(c.backgroundLaunch,
                                              "Application Mode: Dock: Background Launch");
        port().setActivationPolicy(1);
        EXPECT_TRUE(KRSetActivationPolicy(false, c.activate, nullptr, completion()));
        EXPECT_EQ(policy(), kit::ActivationPolicy::Regular);
        EXPECT_EQ(port().activations().size(), c.dockActivated ? 1u : 0u);
        if (c.dockActivated) {
            EXPECT_EQ(port().activations().front().processIdentifier, dockProcess);
            EXPECT_EQ(port().activations().front().options, 0u);
        }
        EXPECT_EQ(world().activationCount(), 0u) << "not before the delay";
        world().advance(0.5);
        EXPECT_EQ(world().activationCount(), c.applicationActivated ? 1u : 0u);
        EXPECT_EQ(completions, c.applicationActivated ? 1 : 0);
    }
}

}  // namespace
