#include "hosts/qt/wayland/UsableAreaProbe.h"

#include <wayland-client.h>

#include <algorithm>
#include <utility>

#include "hosts/qt/wayland/LayerShellProtocol.h"
#include "hosts/qt/wayland/WaylandConnection.h"
#include "xdg-shell-client-protocol.h"

namespace qthost {

namespace {

constexpr std::uint32_t allEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
// Far enough above any output that the compositor must slide the popup back to its box's top.
constexpr int farAbove = -100000;

}  // namespace

struct UsableAreaProbe::Surface {
    UsableAreaProbe* probe = nullptr;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    int width = 0;
    int height = 0;
    bool configured = false;
};

struct UsableAreaProbe::Popup {
    UsableAreaProbe* probe = nullptr;
    wl_surface* surface = nullptr;
    xdg_surface* shell = nullptr;
    xdg_popup* popup = nullptr;
    int y = 0;
    bool placed = false;
    ~Popup() {
        xdg_popup_destroy(popup);
        xdg_surface_destroy(shell);
        wl_surface_destroy(surface);
    }
};

namespace {

void onLayerConfigure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t width,
                      std::uint32_t height) {
    auto* surface = static_cast<UsableAreaProbe::Surface*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    wl_surface_commit(surface->surface);
    surface->probe->surfaceConfigured(*surface, static_cast<int>(width), static_cast<int>(height));
}

void onLayerClosed(void* data, zwlr_layer_surface_v1*) {
    static_cast<UsableAreaProbe::Surface*>(data)->probe->surfaceClosed();
}

const zwlr_layer_surface_v1_listener layerListener{onLayerConfigure, onLayerClosed};

void onPopupConfigure(void* data, xdg_popup*, std::int32_t, std::int32_t y, std::int32_t, std::int32_t) {
    static_cast<UsableAreaProbe::Popup*>(data)->y = y;
}
void onPopupDone(void*, xdg_popup*) {}
void onPopupRepositioned(void*, xdg_popup*, std::uint32_t) {}

const xdg_popup_listener popupListener{onPopupConfigure, onPopupDone, onPopupRepositioned};

// The popup's place is final with the surface's configure, which follows the popup's.
void onPopupSurfaceConfigure(void* data, xdg_surface* shell, std::uint32_t serial) {
    auto* popup = static_cast<UsableAreaProbe::Popup*>(data);
    xdg_surface_ack_configure(shell, serial);
    popup->probe->popupPlaced(*popup, popup->y);
}

const xdg_surface_listener popupSurfaceListener{onPopupSurfaceConfigure};

std::unique_ptr<UsableAreaProbe::Surface> makeSurface(UsableAreaProbe& probe, WaylandConnection& connection,
                                                      const WaylandOutput& output, int exclusiveZone) {
    auto surface = std::make_unique<UsableAreaProbe::Surface>();
    surface->probe = &probe;
    surface->surface = wl_compositor_create_surface(connection.compositor());
    wl_region* nothing = wl_compositor_create_region(connection.compositor());
    wl_surface_set_input_region(surface->surface, nothing);
    wl_region_destroy(nothing);
    surface->layer = zwlr_layer_shell_v1_get_layer_surface(connection.layerShell(), surface->surface,
                                                           output.output, ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND,
                                                           "awning-probe");
    zwlr_layer_surface_v1_set_anchor(surface->layer, allEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(surface->layer, exclusiveZone);
    zwlr_layer_surface_v1_add_listener(surface->layer, &layerListener, surface.get());
    wl_surface_commit(surface->surface);
    return surface;
}

void destroySurface(UsableAreaProbe::Surface& surface) {
    zwlr_layer_surface_v1_destroy(surface.layer);
    wl_surface_destroy(surface.surface);
}

}  // namespace

UsableAreaProbe::UsableAreaProbe(WaylandConnection& connection, const WaylandOutput& output)
    : _connection(connection),
      _output(output),
      // Zone 0 keeps out of the panels' exclusive zones; -1 ignores them.
      _probe(makeSurface(*this, connection, output, 0)),
      _reference(makeSurface(*this, connection, output, -1)) {}

UsableAreaProbe::~UsableAreaProbe() {
    _probePopup.reset();
    _referencePopup.reset();
    destroySurface(*_probe);
    destroySurface(*_reference);
}

bool UsableAreaProbe::takeChange() {
    return std::exchange(_changed, false);
}

void UsableAreaProbe::surfaceConfigured(Surface& surface, int width, int height) {
    const bool changed = !surface.configured || surface.width != width || surface.height != height;
    surface.width = width;
    surface.height = height;
    surface.configured = true;
    if (changed && _probe->configured && _reference->configured) {
        measure();
    }
}

void UsableAreaProbe::surfaceClosed() {
    // The output is going: what it reserved no longer counts.
    _probe->configured = _reference->configured = false;
    _probePopup.reset();
    _referencePopup.reset();
    if (_area != OutputArea{}) {
        _area = OutputArea{};
        _changed = true;
    }
}

void UsableAreaProbe::measure() {
    if (!_connection.wmBase()) {
        finishMeasuring();  // the edge stays unknown
        return;
    }
    // A measurement under way for older sizes is dropped with its popups.
    _probePopup = makePopup(*_probe);
    _referencePopup = makePopup(*_reference);
}

std::unique_ptr<UsableAreaProbe::Popup> UsableAreaProbe::makePopup(Surface& parent) {
    xdg_wm_base* base = _connection.wmBase();
    auto popup = std::make_unique<Popup>();
    popup->probe = this;
    popup->surface = wl_compositor_create_surface(_connection.compositor());
    popup->shell = xdg_wm_base_get_xdg_surface(base, popup->surface);
    xdg_surface_add_listener(popup->shell, &popupSurfaceListener, popup.get());
    xdg_positioner* positioner = xdg_wm_base_create_positioner(base);
    xdg_positioner_set_size(positioner, 1, 1);
    xdg_positioner_set_anchor_rect(positioner, 0, 0, 1, 1);
    xdg_positioner_set_anchor(positioner, XDG_POSITIONER_ANCHOR_TOP_LEFT);
    xdg_positioner_set_gravity(positioner, XDG_POSITIONER_GRAVITY_BOTTOM_RIGHT);
    xdg_positioner_set_offset(positioner, 0, farAbove);
    xdg_positioner_set_constraint_adjustment(positioner, XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_Y);
    popup->popup = xdg_surface_get_popup(popup->shell, nullptr, positioner);
    xdg_positioner_destroy(positioner);
    xdg_popup_add_listener(popup->popup, &popupListener, popup.get());
    zwlr_layer_surface_v1_get_popup(parent.layer, popup->popup);
    wl_surface_commit(popup->surface);
    return popup;
}

void UsableAreaProbe::popupPlaced(Popup& popup, int) {
    popup.placed = true;
    if (_probePopup && _referencePopup && _probePopup->placed && _referencePopup->placed) {
        finishMeasuring();
    }
}

void UsableAreaProbe::finishMeasuring() {
    OutputArea area;
    area.output = _output.name;
    area.width = _reference->width;
    area.height = _reference->height;
    area.usableWidth = _probe->width;
    area.usableHeight = _probe->height;
    if (_probePopup && _referencePopup) {
        area.usableTop = std::max(0, _referencePopup->y - _probePopup->y);
    }
    // Called from a popup's own event: libwayland lets a proxy be destroyed there, and nothing touches the
    // popup after this returns.
    _probePopup.reset();
    _referencePopup.reset();
    if (area != _area) {
        _area = area;
        _changed = true;
    }
}

}  // namespace qthost
