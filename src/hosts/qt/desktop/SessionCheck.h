#pragma once

#include <optional>
#include <string>

namespace qthost {

// What the desktop host needs from the session, read from the environment before Qt starts.
struct SessionEnvironment {
    std::string platform;        // QT_QPA_PLATFORM
    std::string sessionType;     // XDG_SESSION_TYPE
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string display;         // DISPLAY
};

// The one line that says why Awning cannot run here, or nullopt. A Wayland session is refused unless the
// user forced X11 (QT_QPA_PLATFORM=xcb): through XWayland no X window stands for the panel and the tint
// would take the panel's clicks.
std::optional<std::string> sessionProblem(const SessionEnvironment& session);

}  // namespace qthost
