#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/wayland/ShmBuffer.h"
#include "hosts/qt/wayland/WaylandWindowListTranslation.h"

struct wl_callback;
struct wl_surface;
struct zwlr_layer_surface_v1;

namespace qthost {

class WaylandConnection;
class WaylandSession;

// The tint as a layer surface of our own (in the layer the session says), anchored to the top, left and right
// edges of its output, ignoring the panels' exclusive zones (so it lies over them), with an empty input region (every
// click reaches the panel) and no keyboard. Its pixels are the kit's rendering of the window's layers at the
// output's scale, with the opacity multiplied in (Wayland has no window opacity); a fade repaints them once
// per frame the compositor asks for, over the fade's duration.
class TintSurface final : public OverlaySurface {
public:
    TintSurface(WaylandSession& session, WaylandConnection& connection);
    ~TintSurface() override;
    TintSurface(const TintSurface&) = delete;
    TintSurface& operator=(const TintSurface&) = delete;

    void setGeometry(const PixelRect& geometry) override;
    void setPainter(std::function<kit::Bitmap(double scale)> paint) override;
    void contentDidChange() override;
    void setOpacity(double opacity, double fadeSeconds) override;
    void show() override;
    void hide() override;

    // --- For the session
    // The screens, the outputs or the panels changed: lie where the geometry now says, at the output's scale.
    void placementMayHaveChanged();
    // Makes the surface anew: within a layer, some compositors stack the surface shown last on top, so a panel
    // started again after us would otherwise cover the tint.
    void mapAgain();
    bool isMapped() const { return _layer != nullptr && _configured; }
    const PixelRect& geometry() const { return _geometry; }
    double shownOpacity() const { return _shownOpacity; }
    // "1280x30 on HEADLESS-1, scale 1" while mapped.
    std::string description() const;

    // --- For the protocol's callbacks
    void configured(std::uint32_t serial, int width, int height);
    void closed();
    void frameDone();

private:
    void map();
    void unmap();
    void paint();
    void stepFade();
    void finishFade();
    bool fading() const { return _fadeEnd.isActive(); }
    ShmBuffer* freeBuffer(int width, int height);
    const kit::Bitmap& content(double scale);
    int outputScale() const;

    WaylandSession& _session;
    WaylandConnection& _connection;
    PixelRect _geometry;
    std::function<kit::Bitmap(double)> _paint;
    bool _wantsShown = false;
    double _targetOpacity = 0.0;
    double _shownOpacity = 0.0;  // in the pixels now

    std::optional<LayerPlacement> _placement;
    int _scale = 1;
    wl_surface* _surface = nullptr;
    zwlr_layer_surface_v1* _layer = nullptr;
    wl_callback* _frame = nullptr;
    bool _configured = false;
    int _width = 0;  // the configured size, in the output's logical units
    int _height = 0;
    std::vector<std::unique_ptr<ShmBuffer>> _buffers;

    kit::Bitmap _content;
    std::optional<double> _contentScale;  // what _content was rendered at; nullopt: render again

    double _fadeFrom = 0.0;
    double _fadeSeconds = 0.0;
    QElapsedTimer _fadeClock;
    QTimer _fadeEnd;  // ends the fade on time even when the compositor sends no frames (a hidden surface)
};

}  // namespace qthost
