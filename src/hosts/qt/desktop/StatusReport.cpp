#include "hosts/qt/desktop/StatusReport.h"

#include <cstdio>

namespace qthost {

namespace {

// As long as the values need: a number such as 1e308 alone takes 300 digits, a window class any length.
std::string format(const char* pattern, auto... values) {
    const int length = std::snprintf(nullptr, 0, pattern, values...);
    if (length <= 0) {
        return "";
    }
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), pattern, values...);
    line.resize(static_cast<std::size_t>(length));
    return line;
}

std::string rectangle(const PixelRect& rect) {
    return format("%dx%d at %d,%d", rect.width, rect.height, rect.x, rect.y);
}

std::string panelLine(const StatusFacts& facts) {
    if (!facts.windowList) {
        return "Panel: none (no X11 window list on this display)";
    }
    if (facts.panel) {
        return format("Panel: window 0x%lx, class \"%s\", %s", facts.panel->id, facts.panel->owner.c_str(),
                      rectangle(facts.panel->bounds).c_str());
    }
    if (facts.reservedStrip) {
        return "Panel: the strip the desktop reserves at the top (its bar is no X window)";
    }
    if (!facts.compositing) {
        return "Panel: none taken, since no compositing manager runs";
    }
    return "Panel: none (no top panel on the primary screen, or a full-screen window covers it)";
}

}  // namespace

std::string statusReport(const StatusFacts& facts) {
    std::string report = panelLine(facts) + "\n";
    report += facts.strip ? "Tint: " + rectangle(*facts.strip) + "\n" : "Tint: not shown\n";
    report += facts.compositing ? "Compositing manager: running\n" : "Compositing manager: none\n";
    report += "Desktop: " + facts.desktopKey + "\n";
    report += format("Opacity: idle %.2f, hover %.2f, ", facts.idleOpacity, facts.hoverOpacity);
    report += facts.currentOpacity ? format("now %.2f\n", *facts.currentOpacity) : "now none\n";
    report += facts.secondsSinceCheck ? format("Last check: %.1f s ago, %llu X requests\n",
                                               *facts.secondsSinceCheck, facts.checkRequests)
                                      : "Last check: none yet\n";
    if (facts.windowList && facts.secondsSinceCheck) {
        report += format("Last reading: %llu X requests, %zu of %zu windows read\n", facts.readingRequests,
                         facts.windowsRead, facts.windowsKnown);
    }
    return report;
}

}  // namespace qthost
