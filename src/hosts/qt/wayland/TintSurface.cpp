#include "hosts/qt/wayland/TintSurface.h"

#include <wayland-client.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "hosts/qt/wayland/LayerShellProtocol.h"
#include "hosts/qt/wayland/PixelOpacity.h"
#include "hosts/qt/wayland/WaylandConnection.h"
#include "hosts/qt/wayland/WaylandSession.h"

namespace qthost {

namespace {

constexpr std::uint32_t topLeftRight = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
// A buffer being read by the compositor while the next frame is painted, and one spare.
constexpr std::size_t maximumBuffers = 3;

void onConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                 std::uint32_t height) {
    static_cast<TintSurface*>(data)->configured(serial, static_cast<int>(width), static_cast<int>(height));
}

void onClosed(void* data, zwlr_layer_surface_v1*) {
    static_cast<TintSurface*>(data)->closed();
}

const zwlr_layer_surface_v1_listener layerListener{onConfigure, onClosed};

void onFrameDone(void* data, wl_callback*, std::uint32_t) {
    static_cast<TintSurface*>(data)->frameDone();
}

const wl_callback_listener frameListener{onFrameDone};

}  // namespace

TintSurface::TintSurface(WaylandSession& session, WaylandConnection& connection)
    : _session(session), _connection(connection) {
    _fadeEnd.setSingleShot(true);
    QObject::connect(&_fadeEnd, &QTimer::timeout, [this] { finishFade(); });
    _session.adopt(*this);
}

TintSurface::~TintSurface() {
    unmap();
    _session.forget(*this);
}

void TintSurface::setGeometry(const PixelRect& geometry) {
    if (geometry == _geometry) {
        return;
    }
    if (geometry.width != _geometry.width || geometry.height != _geometry.height) {
        _contentScale.reset();  // the layers are laid out anew at the new size
    }
    _geometry = geometry;
    placementMayHaveChanged();
}

void TintSurface::setPainter(std::function<kit::Bitmap(double)> paint) {
    _paint = std::move(paint);
    contentDidChange();
}

void TintSurface::contentDidChange() {
    _contentScale.reset();
    if (isMapped()) {
        paint();
    }
}

void TintSurface::setOpacity(double opacity, double fadeSeconds) {
    _targetOpacity = opacity;
    if (fadeSeconds <= 0.0 || !isMapped()) {
        finishFade();
        return;
    }
    _fadeFrom = _shownOpacity;
    _fadeSeconds = fadeSeconds;
    _fadeClock.start();
    _fadeEnd.start(static_cast<int>(std::ceil(fadeSeconds * 1000.0)));
    paint();  // the first step, asking for the frame the next one is paced by
}

void TintSurface::stepFade() {
    const double progress = std::min(1.0, static_cast<double>(_fadeClock.nsecsElapsed()) / 1e9 / _fadeSeconds);
    if (progress >= 1.0) {
        finishFade();
        return;
    }
    _shownOpacity = _fadeFrom + (_targetOpacity - _fadeFrom) * progress;
    paint();
}

void TintSurface::finishFade() {
    _fadeEnd.stop();
    _shownOpacity = _targetOpacity;
    if (isMapped()) {
        paint();
    }
}

void TintSurface::show() {
    _wantsShown = true;
    if (!_layer) {
        map();
    }
}

void TintSurface::hide() {
    _wantsShown = false;
    unmap();
    // Shown again later, it must be at the opacity it was given, not halfway through a fade.
    _fadeEnd.stop();
    _shownOpacity = _targetOpacity;
}

void TintSurface::placementMayHaveChanged() {
    if (!_wantsShown) {
        return;
    }
    const std::optional<LayerPlacement> placement = _session.place(_geometry);
    if (!_layer || !placement || !_placement || placement->output != _placement->output) {
        // A layer surface stays on the output it was made for.
        unmap();
        map();
        return;
    }
    const bool moved = *placement != *_placement;
    _placement = placement;
    if (moved) {
        zwlr_layer_surface_v1_set_size(_layer, 0, static_cast<std::uint32_t>(_placement->height));
        zwlr_layer_surface_v1_set_margin(_layer, _placement->top, _placement->right, 0, _placement->left);
        wl_surface_commit(_surface);  // the compositor answers with a configure, which paints
        _connection.flush();
    } else if (outputScale() != _scale && isMapped()) {
        paint();
    }
}

void TintSurface::mapAgain() {
    if (_layer) {
        unmap();
        map();
    }
}

void TintSurface::map() {
    _placement = _session.place(_geometry);
    const WaylandOutput* output = _placement ? _connection.output(_placement->output) : nullptr;
    if (!output) {
        return;  // nowhere to show it until the screens say where
    }
    _surface = wl_compositor_create_surface(_connection.compositor());
    wl_region* nothing = wl_compositor_create_region(_connection.compositor());
    wl_surface_set_input_region(_surface, nothing);
    wl_region_destroy(nothing);
    const std::uint32_t layer =
        _session.tintsInOverlayLayer() ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY : ZWLR_LAYER_SHELL_V1_LAYER_TOP;
    _layer = zwlr_layer_shell_v1_get_layer_surface(_connection.layerShell(), _surface, output->output, layer,
                                                   "awning-tint");
    zwlr_layer_surface_v1_set_anchor(_layer, topLeftRight);
    zwlr_layer_surface_v1_set_size(_layer, 0, static_cast<std::uint32_t>(_placement->height));
    zwlr_layer_surface_v1_set_margin(_layer, _placement->top, _placement->right, 0, _placement->left);
    zwlr_layer_surface_v1_set_exclusive_zone(_layer, -1);
    zwlr_layer_surface_v1_add_listener(_layer, &layerListener, this);
    wl_surface_commit(_surface);
    _connection.flush();
}

void TintSurface::unmap() {
    if (_frame) {
        wl_callback_destroy(_frame);
        _frame = nullptr;
    }
    if (_layer) {
        zwlr_layer_surface_v1_destroy(_layer);
        wl_surface_destroy(_surface);
        _layer = nullptr;
        _surface = nullptr;
        _connection.flush();
    }
    _configured = false;
    // The compositor may still read them; destroying them now is allowed and frees their memory.
    _buffers.clear();
}

void TintSurface::configured(std::uint32_t serial, int width, int height) {
    zwlr_layer_surface_v1_ack_configure(_layer, serial);
    _configured = true;
    _width = width;
    _height = height > 0 ? height : (_placement ? _placement->height : 0);
    paint();
}

void TintSurface::closed() {
    // The compositor took the surface away (its output went): made again where the screens next say.
    unmap();
}

void TintSurface::frameDone() {
    wl_callback_destroy(_frame);
    _frame = nullptr;
    if (fading()) {
        stepFade();
    }
}

int TintSurface::outputScale() const {
    const WaylandOutput* output = _placement ? _connection.output(_placement->output) : nullptr;
    return output ? output->scale : 1;
}

const kit::Bitmap& TintSurface::content(double scale) {
    if (!_contentScale || *_contentScale != scale) {
        _content = _paint ? _paint(scale) : kit::Bitmap();
        _contentScale = scale;
    }
    return _content;
}

ShmBuffer* TintSurface::freeBuffer(int width, int height) {
    for (const std::unique_ptr<ShmBuffer>& buffer : _buffers) {
        if (!buffer->isBusy() && buffer->width() == width && buffer->height() == height) {
            return buffer.get();
        }
    }
    // Buffers of another size are of no more use; so is the oldest when there are too many.
    std::erase_if(_buffers, [&](const std::unique_ptr<ShmBuffer>& buffer) {
        return !buffer->isBusy() && (buffer->width() != width || buffer->height() != height);
    });
    if (_buffers.size() >= maximumBuffers) {
        _buffers.erase(_buffers.begin());
    }
    std::unique_ptr<ShmBuffer> buffer = ShmBuffer::create(_connection.shm(), width, height);
    if (!buffer) {
        return nullptr;
    }
    _buffers.push_back(std::move(buffer));
    return _buffers.back().get();
}

void TintSurface::paint() {
    if (!isMapped() || _width <= 0 || _height <= 0) {
        return;
    }
    _scale = outputScale();
    ShmBuffer* buffer = freeBuffer(_width * _scale, _height * _scale);
    if (!buffer) {
        return;
    }
    // Pixels per point: the output's scale over Qt's own scaling of its coordinates.
    const double pixelsPerPoint = _scale * (_placement ? _placement->unitsPerPoint : 1.0);
    copyWithOpacity(content(pixelsPerPoint), _shownOpacity, buffer->pixels(), buffer->width(),
                    buffer->height());
    wl_surface_set_buffer_scale(_surface, _scale);
    wl_surface_attach(_surface, buffer->buffer(), 0, 0);
    buffer->markBusy();
    wl_surface_damage(_surface, 0, 0, INT32_MAX, INT32_MAX);
    if (fading() && !_frame) {
        _frame = wl_surface_frame(_surface);
        wl_callback_add_listener(_frame, &frameListener, this);
    }
    wl_surface_commit(_surface);
    _connection.flush();
}

std::string TintSurface::description() const {
    if (!isMapped() || !_placement) {
        return "not mapped";
    }
    return std::to_string(_width) + "x" + std::to_string(_height) + " on " +
           (_placement->output.empty() ? std::string("the output") : _placement->output) + ", scale " +
           std::to_string(_scale);
}

}  // namespace qthost
