#pragma once

#include <QSocketNotifier>
#include <memory>

struct wl_buffer;
struct wl_compositor;
struct wl_display;
struct wl_registry;
struct wl_shm;
struct wl_surface;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

// The floor's strip on a Wayland compositor: one translucent layer surface along the bottom edge, on a
// connection of its own read in Qt's event loop, painted once. Nothing else a bare program would do.
class LayerStrip {
public:
    // nullptr when no compositor with layer-shell answers.
    static std::unique_ptr<LayerStrip> open(int height);
    ~LayerStrip();

    // --- For the protocol's callbacks
    void globalAdded(std::uint32_t name, const char* interface, std::uint32_t version);
    void configured(std::uint32_t serial, int width, int height);

private:
    LayerStrip(wl_display* display, int height);
    void readEvents();

    wl_display* _display;
    int _height;
    wl_registry* _registry = nullptr;
    wl_compositor* _compositor = nullptr;
    wl_shm* _shm = nullptr;
    zwlr_layer_shell_v1* _layerShell = nullptr;
    wl_surface* _surface = nullptr;
    zwlr_layer_surface_v1* _layer = nullptr;
    wl_buffer* _buffer = nullptr;
    std::unique_ptr<QSocketNotifier> _readable;
};
