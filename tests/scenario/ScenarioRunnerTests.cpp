#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/MainInterfaceFile.h"
#include "kit/appkit/Color.h"
#include "kit/appkit/Event.h"
#include "kit/core/Host.h"
#include "kit/foundation/UserDefaults.h"
#include "scenario/ScenarioRunner.h"
#include "support/TemporaryFolder.h"
#include "tint/KRTintWindow.h"

namespace {

class ScenarioRunnerTest : public ::testing::Test {
protected:
    ScenarioRunnerTest() { registerInterfaceFiles(); }

    // Plays `scenario`; `inspect` sees the world as the run left it, before the process ends.
    std::string play(const Scenario& scenario, const std::function<void()>& inspect = {}) {
        std::ostringstream trace;
        {
            ScenarioRunner runner(scenario, trace, _output.path());
            _played = runner.run();
            _error = runner.error();
            if (inspect) {
                inspect();
            }
        }
        return trace.str();
    }
    std::string play(const std::string& source, const std::function<void()>& inspect = {}) {
        std::string error;
        const std::optional<Scenario> scenario = Scenario::parse(source, error);
        EXPECT_TRUE(scenario) << error;
        return scenario ? play(*scenario, inspect) : "";
    }

    QImage snapshot(const char* name) const {
        return QImage(QString::fromStdString((_output.path() / name).string()));
    }

    TemporaryFolder _output;
    bool _played = false;
    std::string _error;
};

}  // namespace

// After a deliberate change to what the runner or the overlay does, regenerate the expected trace from
// the project's folder with
//   build/dev/bin/awning --headless examples/overlay.scenario --output "$(mktemp -d)" >
//   tests/scenario/overlay.trace
// and read the difference before committing it.
TEST_F(ScenarioRunnerTest, TheExampleScenarioPlaysAsSavedAndDrawsTheTintOverAPlainBar) {
    std::string error;
    const std::optional<Scenario> scenario =
        Scenario::load(AWNING_SOURCE_DIR "/examples/overlay.scenario", error);
    ASSERT_TRUE(scenario) << error;
    EXPECT_EQ(play(*scenario), TemporaryFolder::read(AWNING_SOURCE_DIR "/tests/scenario/overlay.trace"));
    EXPECT_TRUE(_played) << _error;

    // Its snapshots show the tint at its opacity over a plain bar.
    const QRgb plain = qRgb(236, 236, 236);

    const QImage hover = snapshot("overlay-hover.png");
    ASSERT_EQ(hover.size(), QSize(1440, 24));
    EXPECT_EQ(hover.pixel(720, 23), plain) << "the tint steps aside while the pointer is on the bar";

    // The default gradient runs from clear at the top to a dark bottom edge.
    const QImage idle = snapshot("overlay-idle.png");
    ASSERT_EQ(idle.size(), QSize(1440, 24));
    EXPECT_EQ(idle.pixel(720, 0), plain);
    EXPECT_NEAR(qGray(idle.pixel(720, 23)), 192, 8) << "the dark bottom edge at the idle opacity, 0.2";

    const QImage blue = snapshot("overlay-blue.png");
    EXPECT_GT(qBlue(blue.pixel(720, 23)), qRed(blue.pixel(720, 23)) + 10) << "the bottom stop is blue";
    EXPECT_EQ(blue.pixel(720, 0), plain) << "the top stop is unchanged";
}

// A snapshot at time zero is taken at launch; one of a bar taller than the screen stops at the screen's edge.
TEST_F(ScenarioRunnerTest, ASnapshotAtTimeZeroIsTakenAtLaunchAndNeverBeyondTheScreen) {
    const std::string trace = play("0 screens 100x50\n0 menubar 80\n0 snapshot start.png\n");
    EXPECT_TRUE(_played) << _error;
    EXPECT_LT(trace.find("launch"), trace.find("start.png")) << trace;
    EXPECT_EQ(snapshot("start.png").size(), QSize(100, 50));
}

TEST_F(ScenarioRunnerTest, EachCommandReachesTheWorldAwningRunsIn) {
    struct Effect {
        const char* source;
        std::function<bool()> holds;
    };
    const Effect effects[] = {
        {"0 shift on", [] { return kit::Event::modifierFlags() == kit::EventModifierFlagShift; }},
        {"0 shift on\n1 shift off", [] { return kit::Event::modifierFlags() == 0; }},
        {"0 pointer 10 -20", [] { return kit::host().mouseLocation() == kit::Point(10, -20); }},
        {"0 menubar unavailable", [] { return !kit::host().windowList(0, 0); }},
        {"0 menubar 24\n1 menubar off", [] { return kit::host().windowList(0, 0)->empty(); }},
        {"0 desktop file:///a.jpg\n1 desktop none", [] { return !kit::host().desktopImageURL(0); }},
        {"0 desktop file:///a.jpg", [] { return kit::host().desktopImageURL(0) == "file:///a.jpg"; }},
        {"0 space 3", [] { return kit::host().activeSpace() == 3; }},
        // Awning activates once to show its settings at first launch, and again when reopened.
        {"1 reopen",
         [] { return dynamic_cast<headless::HeadlessHost&>(kit::host()).activationCount() == 2; }},
        {"1 default \"K\" integer 7",
         [] { return kit::UserDefaults::standard().objectForKey("K") == kit::PropertyList(7); }},
        {"0 default \"K\" integer 7\n1 default \"K\" remove",
         [] { return !kit::UserDefaults::standard().objectForKey("K"); }},
        {"0 screens 1440x900\n0 menubar 24\n1 color top 1 0 0 1",
         [] { return KRTintWindow::topColor() == kit::Color::sRGB(1, 0, 0, 1); }},
        {"0 screens 1440x900\n0 menubar 24\n1 color center 0 1 0 1",
         [] { return KRTintWindow::centerColor() == kit::Color::sRGB(0, 1, 0, 1); }},
        {"0 screens 1440x900\n0 menubar 24\n1 color bottom 0 0 1 0.5",
         [] { return KRTintWindow::bottomColor() == kit::Color::sRGB(0, 0, 1, 0.5); }},
    };
    for (const Effect& effect : effects) {
        bool held = false;
        play(effect.source, [&] { held = effect.holds(); });
        EXPECT_TRUE(_played) << _error;
        EXPECT_TRUE(held) << effect.source;
    }
}

TEST_F(ScenarioRunnerTest, ActivationsAndSpaceChangesCheckTheBarAtOnce) {
    // The check loop runs every 2 s from launch; without a notification the bar would be found at 2 s.
    const char* created = R"({"alpha":0,"event":"created","frame":[0,876,1440,24],"level":0,"t":1,)";
    for (const char* notification : {"activate", "space 2"}) {
        const std::string trace =
            play(std::string("0 screens 1440x900\n1 menubar 24\n1 ") + notification + "\n");
        EXPECT_NE(trace.find(created), std::string::npos) << notification << "\n" << trace;
    }
}

TEST_F(ScenarioRunnerTest, WhatFallsDueAtAStepsTimeIsTracedBeforeTheStep) {
    // The check at 2 s finds the new picture before the user reopens Awning at 2 s.
    const std::string trace = play("0 menubar 24\n1 desktop file:///b.jpg\n2 reopen\n");
    const std::size_t key = trace.find(R"({"event":"desktop-key","key":"file:///b.jpg","t":2})");
    ASSERT_NE(key, std::string::npos) << trace;
    EXPECT_LT(key, trace.find(R"({"event":"reopen","t":2})")) << trace;
}
