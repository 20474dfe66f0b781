#include "hosts/qt/x11/X11SessionStatus.h"

#include <cstdio>

namespace qthost {

namespace {

std::string format(const char* pattern, auto... values) {
    char line[512];
    std::snprintf(line, sizeof line, pattern, values...);
    return line;
}

std::string panelLine(const X11WindowList::Finding* finding) {
    if (!finding) {
        return "Panel: none (no X11 window list on this display)";
    }
    if (const std::optional<X11WindowRecord>& panel = finding->panel) {
        // The class is another application's text, of any length: never through the fixed-size line.
        return format("Panel: window 0x%lx, class \"", panel->id) + panel->owner +
               format("\", %dx%d at %d,%d", panel->bounds.width, panel->bounds.height, panel->bounds.x,
                      panel->bounds.y);
    }
    if (finding->reservedStrip) {
        return "Panel: the strip the desktop reserves at the top (its bar is no X window)";
    }
    if (!finding->compositing) {
        return "Panel: none taken, since no compositing manager runs";
    }
    return "Panel: none (no top panel on the primary screen, or a full-screen window covers it)";
}

}  // namespace

SessionStatus x11SessionStatus(const X11WindowList::Finding* finding) {
    SessionStatus status;
    status.panel = {panelLine(finding)};
    const bool compositing = finding && finding->compositing;
    status.desktop = {compositing ? "Compositing manager: running" : "Compositing manager: none"};
    status.checkCost = format("%llu X requests", finding ? static_cast<unsigned long long>(finding->requests) : 0ULL);
    if (finding) {
        status.lastReading = {format("Last reading: %llu X requests, %zu of %zu windows read",
                                     static_cast<unsigned long long>(finding->readingRequests),
                                     finding->windowsRead, finding->windowsKnown)};
    }
    return status;
}

}  // namespace qthost
