#pragma once

#include <optional>
#include <string>

#include "kit/text/AttributedString.h"

namespace kit {

class Panel;

// What the standard About panel shows beyond the bundle's name, version and icon: each option replaces the
// panel's own when present.
struct AboutPanelOptions {
    std::optional<AttributedString> credits;
    std::optional<std::string> copyright;
};

// The platform's standard About panel, built as the platform builds it: one panel per process, not
// resizable, with an enabled close button, showing the icon, name and version, the credits in a text view
// inside a scroll view and the copyright. From system version 11 on, the panel stacks these in a stack view.
class StandardAboutPanel {
public:
    // Shows the panel, making it on the first call; later calls bring the same panel forward as it is.
    static Panel& orderFront(const AboutPanelOptions& options);
    // The panel, once made.
    static Panel* existing();
};

}  // namespace kit
