#include <gtest/gtest.h>

#include "hosts/qt/desktop/StatusReport.h"
#include "hosts/qt/x11/X11SessionStatus.h"

using namespace qthost;

// On X11 the report says which window was taken as the panel (or why none), whether a compositing manager
// runs and what the checks asked of the X server, in the order it always had.
TEST(X11SessionStatus, SaysWhichPanelWasTakenOrWhyNone) {
    X11WindowRecord panel;
    panel.id = 0x1a00003;
    panel.owner = "Polybar";
    panel.bounds = {0, 0, 1920, 30};
    X11WindowList::Finding finding;
    finding.panel = panel;
    finding.compositing = true;
    finding.readingRequests = 14;
    finding.windowsRead = 1;
    finding.windowsKnown = 41;
    StatusFacts facts;
    facts.session = x11SessionStatus(&finding);
    facts.strip = PixelRect{0, 0, 1920, 30};
    facts.currentOpacity = 0.2;
    facts.desktopKey = "file:///usr/share/backgrounds/a.png";
    facts.secondsSinceCheck = 1.25;
    EXPECT_EQ(statusReport(facts),
              "Panel: window 0x1a00003, class \"Polybar\", 1920x30 at 0,0\n"
              "Tint: 1920x30 at 0,0\n"
              "Compositing manager: running\n"
              "Desktop: file:///usr/share/backgrounds/a.png\n"
              "Opacity: idle 0.20, hover 0.00, now 0.20\n"
              "Last check: 1.2 s ago, 0 X requests\n"
              "Last reading: 14 X requests, 1 of 41 windows read\n");
    panel.owner = std::string(600, 'P');
    X11WindowList::Finding longClass;
    longClass.panel = panel;
    EXPECT_EQ(x11SessionStatus(&longClass).panel.front(),
              "Panel: window 0x1a00003, class \"" + std::string(600, 'P') + "\", 1920x30 at 0,0")
        << "another application's class of any length is never cut";

    X11WindowList::Finding reserved;
    reserved.reservedStrip = true;
    reserved.compositing = true;
    const X11WindowList::Finding noCompositor;
    X11WindowList::Finding nothing;
    nothing.compositing = true;
    const struct {
        const char* what;
        const X11WindowList::Finding* finding;
        const char* panelLine;
        const char* compositingLine;
    } cases[] = {
        {"no window list", nullptr, "Panel: none (no X11 window list on this display)",
         "Compositing manager: none"},
        {"a reserved strip", &reserved,
         "Panel: the strip the desktop reserves at the top (its bar is no X window)",
         "Compositing manager: running"},
        {"no compositor", &noCompositor, "Panel: none taken, since no compositing manager runs",
         "Compositing manager: none"},
        {"nothing found", &nothing,
         "Panel: none (no top panel on the primary screen, or a full-screen window covers it)",
         "Compositing manager: running"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SessionStatus status = x11SessionStatus(c.finding);
        EXPECT_EQ(status.panel, std::vector<std::string>{c.panelLine});
        EXPECT_EQ(status.desktop, std::vector<std::string>{c.compositingLine});
        EXPECT_EQ(status.checkCost, "0 X requests");
        EXPECT_EQ(status.lastReading.size(), c.finding ? 1U : 0U);
    }
}
