#include <gtest/gtest.h>

#include "hosts/qt/desktop/StatusReport.h"

using namespace qthost;

// The first line says why the bar looks as it does; the rest are the facts as they stand.
TEST(StatusReport, SaysWhichPanelWasTakenOrWhyNone) {
    X11WindowRecord panel;
    panel.id = 0x1a00003;
    panel.owner = "Polybar";
    panel.bounds = {0, 0, 1920, 30};
    StatusFacts found;
    found.windowList = true;
    found.panel = panel;
    found.compositing = true;
    found.strip = PixelRect{0, 0, 1920, 30};
    found.currentOpacity = 0.2;
    found.desktopKey = "file:///usr/share/backgrounds/a.png";
    found.secondsSinceCheck = 1.25;
    found.readingRequests = 14;
    found.windowsRead = 1;
    found.windowsKnown = 41;
    EXPECT_EQ(statusReport(found),
              "Panel: window 0x1a00003, class \"Polybar\", 1920x30 at 0,0\n"
              "Tint: 1920x30 at 0,0\n"
              "Compositing manager: running\n"
              "Desktop: file:///usr/share/backgrounds/a.png\n"
              "Opacity: idle 0.20, hover 0.00, now 0.20\n"
              "Last check: 1.2 s ago, 0 X requests\n"
              "Last reading: 14 X requests, 1 of 41 windows read\n");

    const auto facts = [](bool windowList, bool reservedStrip, bool compositing) {
        StatusFacts result;
        result.windowList = windowList;
        result.reservedStrip = reservedStrip;
        result.compositing = compositing;
        return result;
    };
    const struct {
        const char* what;
        StatusFacts facts;
        const char* firstLine;
    } cases[] = {
        {"no window list", facts(false, false, false), "Panel: none (no X11 window list on this display)"},
        {"a reserved strip", facts(true, true, true),
         "Panel: the strip the desktop reserves at the top (its bar is no X window)"},
        {"no compositor", facts(true, false, false), "Panel: none taken, since no compositing manager runs"},
        {"nothing found", facts(true, false, true),
         "Panel: none (no top panel on the primary screen, or a full-screen window covers it)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string report = statusReport(c.facts);
        EXPECT_EQ(report.substr(0, report.find('\n')), c.firstLine);
        EXPECT_NE(report.find("Tint: not shown\n"), std::string::npos);
        EXPECT_NE(report.find("Last check: none yet\n"), std::string::npos);
    }
}

// The values come from the settings and the X server: however long they print, every line stays whole.
TEST(StatusReport, NoLineIsCutHoweverLongItsValues) {
    X11WindowRecord panel;
    panel.id = 0x1a00003;
    panel.owner = std::string(600, 'P');
    panel.bounds = {0, 0, 1920, 30};
    StatusFacts facts;
    facts.windowList = true;
    facts.panel = panel;
    facts.idleOpacity = 1e308;
    facts.hoverOpacity = -1e308;
    const std::string report = statusReport(facts);
    const std::size_t opacity = report.find("Opacity: idle 1");
    ASSERT_NE(opacity, std::string::npos);
    const std::string line = report.substr(opacity, report.find('\n', opacity) - opacity);
    EXPECT_EQ(line.size(), std::string("Opacity: idle , hover , now none").size() + 2 * 312 + 1) << line;
    EXPECT_TRUE(line.ends_with(".00, now none")) << line;
    EXPECT_NE(report.find("class \"" + panel.owner + "\", 1920x30 at 0,0\n"), std::string::npos);
}
