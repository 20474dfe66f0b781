#include <gtest/gtest.h>

#include "hosts/qt/desktop/StatusReport.h"

using namespace qthost;

// The session's lines frame the host's own: the panel first, then the tint, the session's other facts, the
// desktop picture, the opacities and the last check with what it cost; what the last reading cost only once
// a check ran.
TEST(StatusReport, PutsTheSessionsLinesAroundTheHostsOwn) {
    StatusFacts facts;
    facts.session.panel = {"Compositor: sway", "Panel: 30 px reserved at the top of HEADLESS-1"};
    facts.session.desktop = {"Hover: not known"};
    facts.session.checkCost = "2 requests";
    facts.session.lastReading = {"Last reading: quick"};
    facts.strip = PixelRect{0, 0, 1280, 30};
    facts.currentOpacity = 0.25;
    facts.idleOpacity = 0.25;
    facts.hoverOpacity = 0.5;
    facts.desktopKey = "(Unknown)";
    facts.secondsSinceCheck = 0.5;
    EXPECT_EQ(statusReport(facts),
              "Compositor: sway\n"
              "Panel: 30 px reserved at the top of HEADLESS-1\n"
              "Tint: 1280x30 at 0,0\n"
              "Hover: not known\n"
              "Desktop: (Unknown)\n"
              "Opacity: idle 0.25, hover 0.50, now 0.25\n"
              "Last check: 0.5 s ago, 2 requests\n"
              "Last reading: quick\n");

    StatusFacts quiet;
    quiet.session.lastReading = {"Last reading: never shown before a check"};
    quiet.desktopKey = "(Unknown)";
    EXPECT_EQ(statusReport(quiet),
              "Tint: not shown\n"
              "Desktop: (Unknown)\n"
              "Opacity: idle 0.20, hover 0.00, now none\n"
              "Last check: none yet\n");
    quiet.secondsSinceCheck = 3.0;
    quiet.session.lastReading.clear();
    EXPECT_NE(statusReport(quiet).find("Last check: 3.0 s ago\n"), std::string::npos)
        << "a session whose checks cost nothing worth telling adds nothing to the line";
}

// The opacities come from the settings: however long they print, the line stays whole.
TEST(StatusReport, NoLineIsCutHoweverLongItsValues) {
    StatusFacts facts;
    facts.idleOpacity = 1e308;
    facts.hoverOpacity = -1e308;
    const std::string report = statusReport(facts);
    const std::size_t opacity = report.find("Opacity: idle 1");
    ASSERT_NE(opacity, std::string::npos);
    const std::string line = report.substr(opacity, report.find('\n', opacity) - opacity);
    EXPECT_EQ(line.size(), std::string("Opacity: idle , hover , now none").size() + 2 * 312 + 1) << line;
    EXPECT_TRUE(line.ends_with(".00, now none")) << line;
}
