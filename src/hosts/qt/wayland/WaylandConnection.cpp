#include "hosts/qt/wayland/WaylandConnection.h"

#include <sys/socket.h>

#include <QDebug>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hosts/qt/wayland/LayerShellProtocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace qthost {

namespace {

// The versions whose requests and events we use; a newer compositor still speaks these.
constexpr std::uint32_t compositorVersion = 4;  // wl_surface.set_buffer_scale needs 3
constexpr std::uint32_t layerShellVersion = 3;
constexpr std::uint32_t outputVersion = 4;  // wl_output.name needs 4
constexpr std::uint32_t wmBaseVersion = 1;
constexpr std::uint32_t toplevelManagerVersion = 2;  // full screen is told from 2 on

template <typename Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t offered,
            std::uint32_t wanted) {
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

void onGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
    static_cast<WaylandConnection*>(data)->globalAdded(name, interface, version);
}

void onGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    static_cast<WaylandConnection*>(data)->globalRemoved(name);
}

const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onPing(void*, xdg_wm_base* base, std::uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}

const xdg_wm_base_listener wmBaseListener{onPing};

// Of an output we keep its name and scale; where it lies Qt tells, in the units its screens use.
void onOutputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                      const char*, const char*, std::int32_t) {}
void onOutputMode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void onOutputDone(void*, wl_output*) {}
void onOutputScale(void* data, wl_output*, std::int32_t factor) {
    static_cast<WaylandOutput*>(data)->scale = std::max(1, factor);
}
void onOutputName(void* data, wl_output*, const char* name) {
    static_cast<WaylandOutput*>(data)->name = name;
}
void onOutputDescription(void*, wl_output*, const char*) {}

void releaseOutput(wl_output* output) {
    if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output);
    } else {
        wl_output_destroy(output);
    }
}

const wl_output_listener outputListener{onOutputGeometry, onOutputMode,  onOutputDone,
                                        onOutputScale,    onOutputName, onOutputDescription};

}  // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::connect() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    // The globals, then what binding them sent (the outputs' names and scales).
    if (!connection->roundtrip() || !connection->roundtrip()) {
        return nullptr;
    }
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : _display(display) {
    _registry = wl_display_get_registry(_display);
    wl_registry_add_listener(_registry, &registryListener, this);
    _readable = std::make_unique<QSocketNotifier>(wl_display_get_fd(_display), QSocketNotifier::Read);
    QObject::connect(_readable.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    _writable = std::make_unique<QSocketNotifier>(wl_display_get_fd(_display), QSocketNotifier::Write);
    _writable->setEnabled(false);
    QObject::connect(_writable.get(), &QSocketNotifier::activated, [this] { flush(); });
}

WaylandConnection::~WaylandConnection() {
    _readable.reset();
    _writable.reset();
    for (const auto* outputs : {&_outputs, &_removedOutputs}) {
        for (const std::unique_ptr<WaylandOutput>& output : *outputs) {
            releaseOutput(output->output);
        }
    }
    if (_toplevelManager) {
        zwlr_foreign_toplevel_manager_v1_destroy(_toplevelManager);
    }
    if (_wmBase) {
        xdg_wm_base_destroy(_wmBase);
    }
    if (_layerShell) {
        zwlr_layer_shell_v1_destroy(_layerShell);
    }
    if (_shm) {
        wl_shm_destroy(_shm);
    }
    if (_compositor) {
        wl_compositor_destroy(_compositor);
    }
    wl_registry_destroy(_registry);
    wl_display_disconnect(_display);
}

void WaylandConnection::globalAdded(std::uint32_t name, const char* interface, std::uint32_t version) {
    _globals.push_back(WaylandGlobal{interface, version});
    const std::string_view kind(interface);
    if (kind == wl_compositor_interface.name) {
        _compositor = bind<wl_compositor>(_registry, name, wl_compositor_interface, version, compositorVersion);
    } else if (kind == wl_shm_interface.name) {
        _shm = bind<wl_shm>(_registry, name, wl_shm_interface, version, 1);
    } else if (kind == zwlr_layer_shell_v1_interface.name) {
        _layerShell = bind<zwlr_layer_shell_v1>(_registry, name, zwlr_layer_shell_v1_interface, version,
                                                layerShellVersion);
    } else if (kind == xdg_wm_base_interface.name) {
        _wmBase = bind<xdg_wm_base>(_registry, name, xdg_wm_base_interface, version, wmBaseVersion);
        xdg_wm_base_add_listener(_wmBase, &wmBaseListener, this);
    } else if (kind == zwlr_foreign_toplevel_manager_v1_interface.name && version >= toplevelManagerVersion) {
        _toplevelManager = bind<zwlr_foreign_toplevel_manager_v1>(
            _registry, name, zwlr_foreign_toplevel_manager_v1_interface, version, toplevelManagerVersion);
    } else if (kind == wl_output_interface.name) {
        auto output = std::make_unique<WaylandOutput>();
        output->globalName = name;
        output->output = bind<wl_output>(_registry, name, wl_output_interface, version, outputVersion);
        wl_output_add_listener(output->output, &outputListener, output.get());
        _outputs.push_back(std::move(output));
    }
}

void WaylandConnection::globalRemoved(std::uint32_t name) {
    const auto gone = std::find_if(_outputs.begin(), _outputs.end(),
                                   [name](const auto& output) { return output->globalName == name; });
    if (gone != _outputs.end()) {
        // What was made for it is let go after this batch of events: until then it may still hear of it.
        _removedOutputs.push_back(std::move(*gone));
        _outputs.erase(gone);
    }
}

std::uint32_t WaylandConnection::offeredVersion(const std::string& interface) const {
    for (const WaylandGlobal& global : _globals) {
        if (global.interface == interface) {
            return global.version;
        }
    }
    return 0;
}

WaylandOutput* WaylandConnection::output(const std::string& name) const {
    for (const std::unique_ptr<WaylandOutput>& output : _outputs) {
        if (output->name == name) {
            return output.get();
        }
    }
    const bool unnamed = std::all_of(_outputs.begin(), _outputs.end(),
                                     [](const auto& output) { return output->name.empty(); });
    return unnamed && !_outputs.empty() ? _outputs.front().get() : nullptr;
}

std::optional<int> WaylandConnection::compositorProcess() const {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(wl_display_get_fd(_display), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid <= 0) {
        return std::nullopt;
    }
    return peer.pid;
}

bool WaylandConnection::roundtrip() {
    if (_broken || wl_display_roundtrip(_display) < 0) {
        noteBroken();
        return false;
    }
    return true;
}

void WaylandConnection::flush() {
    if (_broken) {
        return;
    }
    const int sent = wl_display_flush(_display);
    if (sent < 0 && errno != EAGAIN) {
        noteBroken();
        return;
    }
    // A full socket takes the rest once it drains.
    _writable->setEnabled(sent < 0);
}

void WaylandConnection::readEvents() {
    // Whatever is already queued first: reading requires an empty queue.
    while (wl_display_prepare_read(_display) != 0) {
        if (wl_display_dispatch_pending(_display) < 0) {
            noteBroken();
            return;
        }
    }
    if (wl_display_read_events(_display) < 0) {
        noteBroken();
        return;
    }
    dispatchPending();
}

void WaylandConnection::dispatchPending() {
    if (wl_display_dispatch_pending(_display) < 0) {
        noteBroken();
        return;
    }
    if (_eventsHandled) {
        _eventsHandled();
    }
    for (const std::unique_ptr<WaylandOutput>& output : _removedOutputs) {
        releaseOutput(output->output);
    }
    _removedOutputs.clear();
    flush();
}

void WaylandConnection::noteBroken() {
    if (_broken) {
        return;
    }
    _broken = true;
    _readable->setEnabled(false);
    _writable->setEnabled(false);
    const int error = wl_display_get_error(_display);
    qWarning("Awning: the connection to the Wayland compositor ended (%s); the tint stays as it is",
             error ? std::strerror(error) : "closed");
}

}  // namespace qthost
