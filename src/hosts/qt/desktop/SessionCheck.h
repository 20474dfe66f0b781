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

// The Qt platform Awning runs on: "wayland" in a Wayland session (through XWayland no X window stands for the
// panel and the tint would take the panel's clicks), "xcb" in an X11 one, and whatever the user forced with
// QT_QPA_PLATFORM as it is (QT_QPA_PLATFORM=xcb forces X11).
std::string sessionPlatform(const SessionEnvironment& session);

// The one line that says why Awning cannot run here, or nullopt. Whether a Wayland compositor can host the
// tint is known only once connected to it.
std::optional<std::string> sessionProblem(const SessionEnvironment& session);

}  // namespace qthost
