#include <gtest/gtest.h>

#include "hosts/qt/desktop/SessionCheck.h"

using namespace qthost;

TEST(SessionCheck, OnlyAnX11SessionOrForcedX11Runs) {
    const struct {
        const char* what;
        SessionEnvironment session;
        const char* problem;  // a word of the line, or nullptr when Awning runs
    } cases[] = {
        {"an X11 session", {"", "x11", "", ":0"}, nullptr},
        {"no session type, a display", {"", "", "", ":0"}, nullptr},
        {"a Wayland session", {"", "wayland", "wayland-0", ":0"}, "Wayland"},
        {"no session type, a Wayland display", {"", "", "wayland-0", ":0"}, "Wayland"},
        {"an X11 session with a stray Wayland display", {"", "x11", "wayland-0", ":0"}, nullptr},
        {"X11 forced by hand in a Wayland session", {"xcb", "wayland", "wayland-0", ":0"}, nullptr},
        {"another platform forced by hand", {"offscreen", "", "", ""}, nullptr},
        {"no display at all", {"", "", "", ""}, "DISPLAY"},
        {"X11 forced without a display", {"xcb", "", "", ""}, "DISPLAY"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<std::string> problem = sessionProblem(c.session);
        if (c.problem) {
            ASSERT_TRUE(problem);
            EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
        } else {
            EXPECT_EQ(problem, std::nullopt);
        }
    }
}
