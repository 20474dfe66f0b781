#include "hosts/qt/gnome/GnomeOverlaySurface.h"

#include <QByteArray>
#include <bit>

#include "hosts/qt/gnome/GnomeShellPeer.h"

namespace qthost {

GnomeOverlaySurface::GnomeOverlaySurface(GnomeShellPeer& peer, std::function<double()> scale)
    : _peer(peer), _scale(std::move(scale)) {}

GnomeOverlaySurface::~GnomeOverlaySurface() {
    hide();
}

void GnomeOverlaySurface::setGeometry(const PixelRect& geometry) {
    const bool resized = geometry.width != _geometry.width || geometry.height != _geometry.height;
    _geometry = geometry;
    if (resized) {
        contentDidChange();
    }
}

void GnomeOverlaySurface::setPainter(std::function<kit::Bitmap(double scale)> paint) {
    _paint = std::move(paint);
    contentDidChange();
}

void GnomeOverlaySurface::contentDidChange() {
    if (_shown) {
        sendPicture();
    }
}

void GnomeOverlaySurface::setOpacity(double opacity, double fadeSeconds) {
    _peer.setOpacity(opacity, fadeSeconds);
}

void GnomeOverlaySurface::show() {
    if (!_shown) {
        _shown = true;
        sendPicture();
    }
}

void GnomeOverlaySurface::hide() {
    if (_shown) {
        _shown = false;
        _peer.hideTint();
    }
}

void GnomeOverlaySurface::sendPicture() {
    if (!_paint) {
        return;
    }
    const kit::Bitmap picture = _paint(_scale());
    if (picture.isEmpty()) {
        return;
    }
    // The kit's premultiplied 0xAARRGGBB words are the bytes blue, green, red, alpha in memory: the
    // extension's format.
    static_assert(std::endian::native == std::endian::little);
    const auto* bytes = reinterpret_cast<const char*>(picture.pixels());
    _peer.setTint(QByteArray(bytes, static_cast<qsizetype>(picture.width()) * picture.height() * 4),
                  picture.width(), picture.height());
}

}  // namespace qthost
