#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "hosts/qt/x11/WindowListTranslation.h"

namespace qthost {

// What `awning --status` tells: why the bar looks as it does, in a few plain lines.
struct StatusFacts {
    bool windowList = false;               // an X11 window list is read at all
    std::optional<X11WindowRecord> panel;  // the window taken as the panel
    bool reservedStrip = false;            // the bar is a strip the desktop reserves, with no window
    bool compositing = false;
    std::optional<PixelRect> strip;        // where the tint lies, when it is shown
    std::optional<double> currentOpacity;  // the tint's, when it is shown
    double idleOpacity = 0.2;
    double hoverOpacity = 0.0;
    std::string desktopKey;
    std::optional<double> secondsSinceCheck;
    unsigned long long checkRequests = 0;
    // The last check that asked the server anything: its requests, the windows it read and those it knew.
    unsigned long long readingRequests = 0;
    std::size_t windowsRead = 0;
    std::size_t windowsKnown = 0;
};

std::string statusReport(const StatusFacts& facts);

}  // namespace qthost
