#include "hosts/qt/desktop/SessionCheck.h"

namespace qthost {

namespace {

bool isWaylandSession(const SessionEnvironment& session) {
    return session.sessionType == "wayland" ||
           (session.sessionType.empty() && !session.waylandDisplay.empty());
}

}  // namespace

std::string sessionPlatform(const SessionEnvironment& session) {
    if (!session.platform.empty()) {
        return session.platform;
    }
    return isWaylandSession(session) ? "wayland" : "xcb";
}

std::optional<std::string> sessionProblem(const SessionEnvironment& session) {
    if (sessionPlatform(session) == "xcb" && session.display.empty()) {
        return "Awning needs an X11 display to tint, and DISPLAY is not set.";
    }
    return std::nullopt;
}

}  // namespace qthost
