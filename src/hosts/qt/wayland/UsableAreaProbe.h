#pragma once

#include <memory>

#include "hosts/qt/wayland/WaylandWindowListTranslation.h"

struct wl_surface;
struct xdg_popup;
struct xdg_surface;
struct zwlr_layer_surface_v1;

namespace qthost {

class WaylandConnection;
struct WaylandOutput;

// Learns which rows the panels reserve on one output, live, from two layer surfaces that are never drawn and
// take no input: a probe anchored to every edge that keeps out of the exclusive zones (so the compositor
// sizes it to the usable area) and a reference that ignores them (the whole output). Sizes alone do not say
// which edge a panel reserves, so each time they change a one-pixel popup is asked of each, pushed far above
// it and slid back by the compositor into the same box: the difference of their placements is how far the
// usable area starts below the output's top. A panel that reserves nothing cannot be seen this way.
class UsableAreaProbe {
public:
    UsableAreaProbe(WaylandConnection& connection, const WaylandOutput& output);
    ~UsableAreaProbe();
    UsableAreaProbe(const UsableAreaProbe&) = delete;
    UsableAreaProbe& operator=(const UsableAreaProbe&) = delete;

    const WaylandOutput& output() const { return _output; }
    // The last complete measurement; empty (0x0) before the first.
    const OutputArea& area() const { return _area; }
    // True once after each change of the measured area.
    bool takeChange();

    // --- For the protocol's callbacks
    struct Surface;
    struct Popup;
    void surfaceConfigured(Surface& surface, int width, int height);
    void popupPlaced(Popup& popup, int y);
    void surfaceClosed();

private:
    void measure();
    void finishMeasuring();
    std::unique_ptr<Popup> makePopup(Surface& parent);

    WaylandConnection& _connection;
    const WaylandOutput& _output;
    std::unique_ptr<Surface> _probe;
    std::unique_ptr<Surface> _reference;
    std::unique_ptr<Popup> _probePopup;
    std::unique_ptr<Popup> _referencePopup;
    OutputArea _area;
    bool _changed = false;
};

}  // namespace qthost
