#pragma once

#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_shm;
struct xdg_wm_base;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_layer_shell_v1;

namespace qthost {

// An output as this connection knows it.
struct WaylandOutput {
    wl_output* output = nullptr;
    std::uint32_t globalName = 0;
    std::string name;  // wl_output.name (version 4): the connector's, as Qt names the screen
    int scale = 1;     // wl_output.scale: buffer pixels per surface unit
};

// A global interface the compositor offers, with the version it offers.
struct WaylandGlobal {
    std::string interface;
    std::uint32_t version = 0;
};

// Our own connection to the Wayland compositor, beside Qt's: the globals the tint needs bound, the outputs
// followed as they come, change and go, and its events read in Qt's event loop (a socket notifier, no
// thread). After every batch of events the `eventsHandled` callback runs, so that what they changed is acted
// on once, outside the protocol's callbacks.
class WaylandConnection {
public:
    // nullptr when no compositor answers at $WAYLAND_DISPLAY.
    static std::unique_ptr<WaylandConnection> connect();
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return _display; }
    wl_compositor* compositor() const { return _compositor; }
    wl_shm* shm() const { return _shm; }
    zwlr_layer_shell_v1* layerShell() const { return _layerShell; }
    xdg_wm_base* wmBase() const { return _wmBase; }
    // The list of toplevel windows, on compositors that tell it (wlroots'); nullptr elsewhere.
    zwlr_foreign_toplevel_manager_v1* toplevelManager() const { return _toplevelManager; }
    const std::vector<WaylandGlobal>& globals() const { return _globals; }
    // The version offered of `interface`; 0 when it is not offered.
    std::uint32_t offeredVersion(const std::string& interface) const;
    const std::vector<std::unique_ptr<WaylandOutput>>& outputs() const { return _outputs; }
    // The output named `name`; the first one when no output carries names; nullptr otherwise.
    WaylandOutput* output(const std::string& name) const;
    // The compositor's process id, from the socket's peer.
    std::optional<int> compositorProcess() const;

    // Runs after each batch of events (outputs that came, went or changed included); an output gone from
    // outputs() stays valid until it returns.
    void setEventsHandled(std::function<void()> handler) { _eventsHandled = std::move(handler); }
    // Sends every queued request now, and waits for the compositor to have handled them and sent what
    // they caused (used while starting, before the event loop runs).
    bool roundtrip();
    // Sends the queued requests; what cannot be sent at once goes when the socket takes it.
    void flush();
    // The compositor closed the connection or found a protocol error: nothing more arrives.
    bool isBroken() const { return _broken; }

    // --- For the protocol's callbacks (C functions in the source file)
    void globalAdded(std::uint32_t name, const char* interface, std::uint32_t version);
    void globalRemoved(std::uint32_t name);

private:
    explicit WaylandConnection(wl_display* display);
    void readEvents();
    void dispatchPending();
    void noteBroken();

    wl_display* _display;
    wl_registry* _registry = nullptr;
    wl_compositor* _compositor = nullptr;
    wl_shm* _shm = nullptr;
    zwlr_layer_shell_v1* _layerShell = nullptr;
    xdg_wm_base* _wmBase = nullptr;
    zwlr_foreign_toplevel_manager_v1* _toplevelManager = nullptr;
    std::vector<WaylandGlobal> _globals;
    std::vector<std::unique_ptr<WaylandOutput>> _outputs;
    std::vector<std::unique_ptr<WaylandOutput>> _removedOutputs;  // until the batch that removed them is handled
    std::function<void()> _eventsHandled;
    std::unique_ptr<QSocketNotifier> _readable;
    std::unique_ptr<QSocketNotifier> _writable;
    bool _broken = false;
};

}  // namespace qthost
