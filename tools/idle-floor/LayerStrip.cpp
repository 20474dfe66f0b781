#include "LayerStrip.h"

#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <string_view>

// WORKAROUND: the protocol names an argument `namespace`, which C++ cannot read in the generated header.
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace {

void onGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
    static_cast<LayerStrip*>(data)->globalAdded(name, interface, version);
}
void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                 std::uint32_t height) {
    static_cast<LayerStrip*>(data)->configured(serial, static_cast<int>(width), static_cast<int>(height));
}
void onClosed(void*, zwlr_layer_surface_v1*) {}
const zwlr_layer_surface_v1_listener layerListener{onConfigure, onClosed};

}  // namespace

std::unique_ptr<LayerStrip> LayerStrip::open(int height) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        return nullptr;
    }
    std::unique_ptr<LayerStrip> strip(new LayerStrip(display, height));
    wl_display_roundtrip(display);
    if (!strip->_compositor || !strip->_shm || !strip->_layerShell) {
        return nullptr;
    }
    strip->_surface = wl_compositor_create_surface(strip->_compositor);
    wl_region* nothing = wl_compositor_create_region(strip->_compositor);
    wl_surface_set_input_region(strip->_surface, nothing);
    wl_region_destroy(nothing);
    strip->_layer = zwlr_layer_shell_v1_get_layer_surface(strip->_layerShell, strip->_surface, nullptr,
                                                          ZWLR_LAYER_SHELL_V1_LAYER_TOP, "idle-floor");
    zwlr_layer_surface_v1_set_anchor(strip->_layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                        ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                        ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(strip->_layer, 0, static_cast<std::uint32_t>(height));
    zwlr_layer_surface_v1_set_exclusive_zone(strip->_layer, -1);
    zwlr_layer_surface_v1_add_listener(strip->_layer, &layerListener, strip.get());
    wl_surface_commit(strip->_surface);
    wl_display_flush(display);
    return strip;
}

LayerStrip::LayerStrip(wl_display* display, int height) : _display(display), _height(height) {
    _registry = wl_display_get_registry(_display);
    wl_registry_add_listener(_registry, &registryListener, this);
    _readable = std::make_unique<QSocketNotifier>(wl_display_get_fd(_display), QSocketNotifier::Read);
    QObject::connect(_readable.get(), &QSocketNotifier::activated, [this] { readEvents(); });
}

LayerStrip::~LayerStrip() {
    _readable.reset();
    wl_display_disconnect(_display);
}

void LayerStrip::globalAdded(std::uint32_t name, const char* interface, std::uint32_t version) {
    const std::string_view kind(interface);
    if (kind == wl_compositor_interface.name) {
        _compositor = static_cast<wl_compositor*>(
            wl_registry_bind(_registry, name, &wl_compositor_interface, std::min(version, 4U)));
    } else if (kind == wl_shm_interface.name) {
        _shm = static_cast<wl_shm*>(wl_registry_bind(_registry, name, &wl_shm_interface, 1));
    } else if (kind == zwlr_layer_shell_v1_interface.name) {
        _layerShell = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(_registry, name, &zwlr_layer_shell_v1_interface, std::min(version, 3U)));
    }
}

void LayerStrip::configured(std::uint32_t serial, int width, int height) {
    zwlr_layer_surface_v1_ack_configure(_layer, serial);
    if (!_buffer && width > 0 && height > 0) {
        const std::size_t size = static_cast<std::size_t>(width) * height * 4;
        const int file = memfd_create("idle-floor", MFD_CLOEXEC);
        if (file >= 0 && ftruncate(file, static_cast<off_t>(size)) == 0) {
            if (void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
                memory != MAP_FAILED) {
                auto* pixels = static_cast<std::uint32_t*>(memory);
                std::fill(pixels, pixels + static_cast<std::size_t>(width) * height, 0x1a000000U);
                munmap(memory, size);
                wl_shm_pool* pool = wl_shm_create_pool(_shm, file, static_cast<std::int32_t>(size));
                _buffer = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, WL_SHM_FORMAT_ARGB8888);
                wl_shm_pool_destroy(pool);
            }
        }
        if (file >= 0) {
            close(file);
        }
    }
    wl_surface_attach(_surface, _buffer, 0, 0);
    wl_surface_damage(_surface, 0, 0, width, height);
    wl_surface_commit(_surface);
}

void LayerStrip::readEvents() {
    while (wl_display_prepare_read(_display) != 0) {
        wl_display_dispatch_pending(_display);
    }
    wl_display_read_events(_display);
    wl_display_dispatch_pending(_display);
    wl_display_flush(_display);
}
