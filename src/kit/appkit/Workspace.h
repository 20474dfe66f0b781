#pragma once

#include <optional>
#include <string>

#include "kit/core/Host.h"
#include "kit/foundation/NotificationCenter.h"

namespace kit {

class Screen;

// The shared workspace (NSWorkspace): desktop pictures, its own notification centre, opening addresses
// and launching applications.
class Workspace {
public:
    static Workspace& shared();

    NotificationCenter& notificationCenter() { return NotificationCenter::workspaceCenter(); }
    // The absolute address of the picture on that screen's desktop, or nullopt.
    std::optional<std::string> desktopImageURLForScreen(const Screen& screen) const;
    bool openURL(const std::string& url);
    bool launchApplication(const LaunchRequest& request, std::string& error);
};

}  // namespace kit
