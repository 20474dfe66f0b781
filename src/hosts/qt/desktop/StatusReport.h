#pragma once

#include <optional>
#include <string>

#include "hosts/qt/DesktopSession.h"

namespace qthost {

// What `awning --status` tells: why the bar looks as it does, in a few plain lines.
struct StatusFacts {
    SessionStatus session;                 // what the desktop session tells of itself
    std::optional<PixelRect> strip;        // where the tint lies, when it is shown
    std::optional<double> currentOpacity;  // the tint's, when it is shown
    double idleOpacity = 0.2;
    double hoverOpacity = 0.0;
    std::string desktopKey;
    std::optional<double> secondsSinceCheck;
};

std::string statusReport(const StatusFacts& facts);

}  // namespace qthost
