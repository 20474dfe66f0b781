#include <gtest/gtest.h>
#include <stdlib.h>

#include <wayland-server.h>

#include <QScopeGuard>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "hosts/qt/wayland/WaylandSession.h"
#include "support/TemporaryFolder.h"

using qthost::SessionOpening;
using qthost::WaylandSession;

namespace {

// A compositor of the test's own, offering a client what GNOME Shell's does for this purpose: surfaces and
// shared memory, no layer-shell. It runs on a thread, in a runtime folder of its own.
class CompositorWithoutLayerShell {
public:
    CompositorWithoutLayerShell() {
        setenv("XDG_RUNTIME_DIR", _runtime.path().c_str(), 1);
        _display = wl_display_create();
        _socket = wl_display_add_socket_auto(_display);
        wl_global_create(_display, &wl_compositor_interface, 4, nullptr, bindCompositor);
        wl_display_init_shm(_display);
        _thread = std::thread([this] {
            wl_event_loop* loop = wl_display_get_event_loop(_display);
            while (!_stop) {
                wl_event_loop_dispatch(loop, 20);
                wl_display_flush_clients(_display);
            }
        });
    }
    ~CompositorWithoutLayerShell() {
        _stop = true;
        _thread.join();
        // A client whose going the loop had not yet handled would outlive the display.
        wl_display_destroy_clients(_display);
        wl_display_destroy(_display);
    }
    const char* socket() const { return _socket; }

private:
    static void bindCompositor(wl_client* client, void*, std::uint32_t version, std::uint32_t id) {
        wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
    }

    TemporaryFolder _runtime;
    wl_display* _display = nullptr;
    const char* _socket = nullptr;
    std::atomic<bool> _stop = false;
    std::thread _thread;
};

// Sets an environment variable until the guard returned goes, which puts the old value back.
auto scopedEnvironment(const char* name, const char* value) {
    std::optional<std::string> old;
    if (const char* set = getenv(name)) {
        old = set;
    }
    setenv(name, value, 1);
    return qScopeGuard([name, old] { old ? setenv(name, old->c_str(), 1) : unsetenv(name); });
}

}  // namespace

// A compositor without layer-shell, or none at all, is refused in one line that names what is missing.
TEST(WaylandSessionOpening, SaysInOneLineWhatTheCompositorLacks) {
    const auto runtime = scopedEnvironment("XDG_RUNTIME_DIR", "");
    {
        CompositorWithoutLayerShell compositor;
        const auto display = scopedEnvironment("WAYLAND_DISPLAY", compositor.socket());
        const SessionOpening opening = WaylandSession::open();
        EXPECT_EQ(opening.session, nullptr);
        EXPECT_NE(opening.problem.find("zwlr_layer_shell_v1"), std::string::npos) << opening.problem;
        EXPECT_NE(opening.problem.find("(qt_host_tests)"), std::string::npos)
            << "names the compositor's process";
        EXPECT_EQ(opening.problem.find('\n'), std::string::npos);
    }
    const auto nowhere = scopedEnvironment("WAYLAND_DISPLAY", "awning-no-such-compositor");
    const SessionOpening opening = WaylandSession::open();
    EXPECT_EQ(opening.session, nullptr);
    EXPECT_EQ(opening.problem,
              "Awning cannot reach the Wayland compositor at \"awning-no-such-compositor\".");
}
