#include <gtest/gtest.h>

#include "hosts/qt/desktop/SessionCheck.h"

using namespace qthost;

TEST(SessionCheck, AWaylandSessionRunsNativelyAndAnX11OneNeedsItsDisplay) {
    const struct {
        const char* what;
        SessionEnvironment session;
        const char* platform;
        const char* problem;  // a word of the line, or nullptr when Awning runs
    } cases[] = {
        {"an X11 session", {"", "x11", "", ":0"}, "xcb", nullptr},
        {"no session type, a display", {"", "", "", ":0"}, "xcb", nullptr},
        {"a Wayland session", {"", "wayland", "wayland-0", ":0"}, "wayland", nullptr},
        {"no session type, a Wayland display", {"", "", "wayland-0", ":0"}, "wayland", nullptr},
        {"a Wayland session without XWayland", {"", "wayland", "wayland-1", ""}, "wayland", nullptr},
        {"a Wayland session naming no display", {"", "wayland", "", ""}, "wayland", nullptr},
        {"an X11 session with a stray Wayland display", {"", "x11", "wayland-0", ":0"}, "xcb", nullptr},
        {"X11 forced by hand in a Wayland session", {"xcb", "wayland", "wayland-0", ":0"}, "xcb", nullptr},
        {"another platform forced by hand", {"offscreen", "", "", ""}, "offscreen", nullptr},
        {"no display at all", {"", "", "", ""}, "xcb", "DISPLAY"},
        {"X11 forced without a display", {"xcb", "wayland", "wayland-0", ""}, "xcb", "DISPLAY"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(sessionPlatform(c.session), c.platform);
        const std::optional<std::string> problem = sessionProblem(c.session);
        if (c.problem) {
            ASSERT_TRUE(problem);
            EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
        } else {
            EXPECT_EQ(problem, std::nullopt);
        }
    }
}
