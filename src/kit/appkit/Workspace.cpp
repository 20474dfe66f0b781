#include "kit/appkit/Workspace.h"

#include "kit/appkit/Screen.h"

namespace kit {

Workspace& Workspace::shared() {
    static Workspace workspace;  // stateless: everything lives in the host
    return workspace;
}

std::optional<std::string> Workspace::desktopImageURLForScreen(const Screen& screen) const {
    return host().desktopImageURL(screen.index());
}

bool Workspace::openURL(const std::string& url) {
    return host().openURL(url);
}

bool Workspace::launchApplication(const LaunchRequest& request, std::string& error) {
    return host().launchApplication(request, error);
}

}  // namespace kit
