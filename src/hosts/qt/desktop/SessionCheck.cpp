#include "hosts/qt/desktop/SessionCheck.h"

namespace qthost {

namespace {

bool isWaylandSession(const SessionEnvironment& session) {
    return session.sessionType == "wayland" ||
           (session.sessionType.empty() && !session.waylandDisplay.empty());
}

}  // namespace

std::optional<std::string> sessionProblem(const SessionEnvironment& session) {
    if (session.platform.empty() && isWaylandSession(session)) {
        return "Awning needs an X11 session for now; this is a Wayland session. (QT_QPA_PLATFORM=xcb forces "
               "X11 through XWayland, where the panel cannot be found.)";
    }
    if ((session.platform.empty() || session.platform == "xcb") && session.display.empty()) {
        return "Awning needs an X11 display to tint, and DISPLAY is not set.";
    }
    return std::nullopt;
}

}  // namespace qthost
