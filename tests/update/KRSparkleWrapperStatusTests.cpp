#include <gtest/gtest.h>

#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/Date.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "update/KRSparkleWrapper.h"
#include "update/UpdateTest.h"

using kit::PropertyList;
using Dictionary = kit::PropertyList::Dictionary;

namespace {

constexpr std::int64_t startUnixTime = 1767614400;  // the headless clock's start: January 5, 2026

// An updater reporting checks of another kind than the ordinary one.
class OtherKindUpdater : public SUUpdater {
public:
    OtherKindUpdater() : SUUpdater(kit::Bundle::main()) {}
    long currentCheckType() const override { return 1; }
};

SUAppcastItem update(const std::string& version, bool newest) {
    SUAppcastItem item;
    item.versionString = version;
    item.displayVersionString = version;
    item.newestSupportedUpdate = newest;
    return item;
}

Dictionary checked(const char* current, const char* update, const PropertyList& date = startUnixTime) {
    return Dictionary{{"Current Version", current}, {"Update Version", update}, {"Check Date", date}};
}

Dictionary storedRecord() {
    const auto stored = kit::UserDefaults::standard().objectForKey("KRSparkleWrapperStatus");
    return stored && stored->dictionary() ? *stored->dictionary() : Dictionary{};
}

using KRSparkleWrapperStatusTest = UpdateTest;

// A delegate that counts the refits the wrapper asks for.
class RefittingDelegate : public kit::Object,
                          public kit::ApplicationDelegate,
                          public KRPreferencesWindowFrameUpdating {
public:
    void updatePreferencesWindowFrame() override { ++refits; }
    int refits = 0;
};

}  // namespace

TEST_F(KRSparkleWrapperStatusTest, TheSentencesSayWhatTheRecordHoldsForTheRunningVersion) {
    struct Case {
        const char* name;
        Dictionary record;
        std::optional<std::string> sentence;
        std::string slot;  // "unchanged" when it must stay untouched
        std::optional<std::string> date;
    };
    const std::optional<std::string> none;
    const std::string kept = "unchanged";
    const std::string available = "Example 2.0 is now available! You are currently using Example 1.5.";
    const std::string upToDate = "Example 1.5 is up to date.";
    const std::string lastCheck = "Last check: January 5, 2026";
    const Case cases[] = {
        {"empty record", {}, none, kept, none},
        {"up to date", checked("1.5", "", startUnixTime), upToDate, kept, lastCheck},
        {"update available", checked("1.5", "2.0", startUnixTime), available, "2.0", lastCheck},
        {"another version's record", checked("1.4", "2.0", startUnixTime), none, kept, lastCheck},
        {"no update version", {{"Current Version", "1.5"}}, none, kept, none},
        {"a numeric version", {{"Current Version", 15}, {"Update Version", "2.0"}}, none, kept, none},
        {"a numeric update", {{"Current Version", "1.5"}, {"Update Version", 2}}, none, kept, none},
        {"check date as digits", checked("1.5", "", "1767614400"), upToDate, kept, lastCheck},
        {"check date of another kind", {{"Check Date", PropertyList::Date{0.0}}}, none, kept, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.record.empty()) {
            kit::UserDefaults::standard().removeObject("KRSparkleWrapperStatus");
        } else {
            storeRecord(c.record);
        }
        start();
        std::string slot = kept;
        EXPECT_EQ(wrapper().statusDescriptionWithUpdateVersion(&slot), c.sentence);
        EXPECT_EQ(slot, c.slot);
        EXPECT_EQ(wrapper().statusDateDescription(), c.date);
    }
}

TEST_F(KRSparkleWrapperStatusTest, TheOlderKeyIsReadOnceAndTheRecordMovesToTheNewKey) {
    storeRecord({{"Current Version", "1.5"}, {"Update Version", "2.0"}, {"Extra", "kept"}},
                "KRSparkleWrapper Status");
    start();
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("2.0"));

    wrapper().setUpdateVersion("3.0");
    EXPECT_EQ(storedRecord(), (Dictionary{{"Current Version", "1.5"},
                                          {"Update Version", "3.0"},
                                          {"Check Date", startUnixTime},
                                          {"Extra", "kept"}}));
    EXPECT_TRUE(kit::UserDefaults::standard().objectForKey("KRSparkleWrapper Status")) << "never removed";

    storeRecord({{"Update Version", "9.9"}}, "KRSparkleWrapper Status");
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("3.0")) << "read once per process";
}

TEST_F(KRSparkleWrapperStatusTest, RecordingCutsTheSecondAndNilKeepsTheOldDate) {
    world().advance(0.9);
    wrapper().setUpdateVersion("");
    EXPECT_EQ(storedRecord(), checked("1.5", ""));

    world().advance(100.0);
    wrapper().setUpdateVersion(std::nullopt);
    EXPECT_EQ(storedRecord(), (Dictionary{{"Current Version", "1.5"}, {"Check Date", startUnixTime}}));

    start({{"CFBundleShortVersionString", PropertyList()}});
    wrapper().setUpdateVersion("2.0");
    EXPECT_EQ(storedRecord(), (Dictionary{{"Check Date", startUnixTime}}))
        << "no running version: only it goes";
    EXPECT_EQ(wrapper().statusDescriptionWithUpdateVersion(nullptr), std::nullopt);
}

TEST_F(KRSparkleWrapperStatusTest, ACheckThatLoadsTheFeedAndSaysNothingCountsAsUpToDate) {
    SUUpdater& updater = wrapper().updater();
    world().advance(2.0);
    wrapper().updaterDidFinishLoadingAppcast(updater, SUAppcast());
    EXPECT_TRUE(storedRecord().empty()) << "not during the call";
    world().runUntilIdle();
    EXPECT_EQ(storedRecord(), checked("1.5", "", startUnixTime + 2));

    wrapper().updaterDidFinishLoadingAppcast(updater, SUAppcast());
    wrapper().updaterDidFindValidUpdate(updater, update("2.1", true), nullptr);
    world().advance(1.0);
    EXPECT_EQ(storedRecord().at("Update Version"), PropertyList("2.1"))
        << "a find in time cancels the fallback";
}

TEST_F(KRSparkleWrapperStatusTest, OnlyTheNewestSupportedFindAndOrdinaryNotFoundsAreRecorded) {
    storeRecord(checked("1.5", "2.0"));
    start();
    OtherKindUpdater otherKind;
    const Dictionary before = wrapper().status();

    wrapper().updaterDidFindValidUpdate(wrapper().updater(), update("1.9", false), nullptr);
    wrapper().updaterDidNotFindUpdate(otherKind);
    wrapper().updaterDidFinishLoadingAppcast(otherKind, SUAppcast());
    world().advance(1.0);
    EXPECT_EQ(wrapper().status(), before);

    wrapper().updaterDidFindValidUpdate(otherKind, update("3.0", true), nullptr);
    EXPECT_EQ(wrapper().status().at("Update Version"), PropertyList("3.0")) << "whatever the kind";
}

TEST_F(KRSparkleWrapperStatusTest, WindowUpdatesReArmOnceASecondAfterTheirStreamAndAtMostHourly) {
    kit::Window window(kit::Rect(0, 0, 10, 10), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                       false);
    KRSparkleWrapper& wrapper = this->wrapper();
    world().runUntilIdle();
    const double armed = wrapper.resetUpdateCycleTimestamp();
    EXPECT_EQ(armed, kit::timeIntervalSinceReferenceDate()) << "armed on the turn after creation";
    const auto nextCheck = []() -> std::optional<double> {
        for (const auto& call : kit::RunLoop::main().pendingCalls()) {
            if (call.selector == kit::sel("checkInBackground")) {
                return call.dueTime;
            }
        }
        return std::nullopt;
    };

    world().advance(1800.0);
    window.update();
    world().advance(10.0);
    EXPECT_EQ(wrapper.resetUpdateCycleTimestamp(), armed) << "within the hour";

    world().advance(3600.0);
    const double streamEnd = kit::timeIntervalSinceReferenceDate() + 60.0;
    for (int update = 0; update <= 120; ++update) {
        window.update();
        world().advance(0.5);
    }
    EXPECT_EQ(wrapper.resetUpdateCycleTimestamp(), armed) << "not while the stream lasts";
    world().advance(0.5);
    EXPECT_EQ(wrapper.resetUpdateCycleTimestamp(), streamEnd + 1.0);
    EXPECT_EQ(nextCheck(), world().elapsed() + wrapper.updater().updateCheckInterval())
        << "the updater re-armed";

    wrapper.updater().setAutomaticallyChecksForUpdates(false);
    world().advance(3601.0);
    window.update();
    world().advance(1.0);
    EXPECT_EQ(wrapper.resetUpdateCycleTimestamp(), kit::timeIntervalSinceReferenceDate());
    EXPECT_EQ(nextCheck(), std::nullopt) << "automatic checks off: the updater is left alone";
}

TEST_F(KRSparkleWrapperStatusTest, ControlsShowTheSentencesOnlyWithTheSwitchConnected) {
    storeRecord(checked("1.5", "2.0"));
    start();
    RefittingDelegate delegate;
    kit::Application::shared().setDelegate(&delegate);
    kit::Button checkBox{kit::Rect()};
    kit::TextField status{kit::Rect()}, date{kit::Rect()};
    status.setStringValue("old");
    KRSparkleWrapper& wrapper = this->wrapper();
    wrapper.statusTextField = &status;
    wrapper.statusDateTextField = &date;
    wrapper.updateControls();
    EXPECT_EQ(status.stringValue(), "old");
    EXPECT_EQ(delegate.refits, 0);

    wrapper.autoUpdateCheckingSwitch = &checkBox;
    wrapper.updateControls();
    EXPECT_EQ(checkBox.state(), kit::ControlStateValue::On);
    EXPECT_EQ(status.stringValue(), "Example 2.0 is now available! You are currently using Example 1.5.");
    EXPECT_TRUE(status.isSelectable());
    EXPECT_EQ(date.stringValue(), "Last check: January 5, 2026");
    EXPECT_EQ(delegate.refits, 1);

    wrapper.status()["Current Version"] = "1.0";
    wrapper.updater().setAutomaticallyChecksForUpdates(false);
    wrapper.updateControls();
    EXPECT_EQ(checkBox.state(), kit::ControlStateValue::Off);
    EXPECT_EQ(status.stringValue(), "");
    EXPECT_FALSE(status.isSelectable());
    EXPECT_EQ(date.stringValue(), "");
}
