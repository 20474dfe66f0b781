#include "hosts/qt/widgets/OverlaySurfacePeer.h"

#include <cmath>

#include "hosts/qt/ScreenCoordinates.h"
#include "kit/appkit/Window.h"
#include "kit/quartz/LayerRenderer.h"

namespace qthost {

namespace {

PixelRect pixelRect(const kit::Rect& rect) {
    return PixelRect{static_cast<int>(std::lround(rect.minX())), static_cast<int>(std::lround(rect.minY())),
                     static_cast<int>(std::lround(rect.width())), static_cast<int>(std::lround(rect.height()))};
}

}  // namespace

OverlaySurfacePeer::OverlaySurfacePeer(kit::Window& window, std::unique_ptr<OverlaySurface> surface,
                                       const ScreenCoordinates& coordinates)
    : _window(window), _surface(std::move(surface)), _coordinates(coordinates) {
    _surface->setGeometry(pixelRect(_coordinates.toQt(_window.frame())));
    _surface->setOpacity(_window.presentedAlphaValue(), 0.0);
    _surface->setPainter([this](double scale) { return render(scale); });
}

void OverlaySurfacePeer::frameDidChange() {
    _surface->setGeometry(pixelRect(_coordinates.toQt(_window.frame())));
}

void OverlaySurfacePeer::alphaDidChange(double fadeDuration) {
    _surface->setOpacity(_window.presentedAlphaValue(), fadeDuration);
}

void OverlaySurfacePeer::didOrderFront() {
    _surface->show();
}

void OverlaySurfacePeer::didClose() {
    _surface->hide();
}

void OverlaySurfacePeer::contentDidChange() {
    _surface->contentDidChange();
}

void OverlaySurfacePeer::contentViewDidChange() {
    _surface->contentDidChange();
}

kit::Bitmap OverlaySurfacePeer::render(double scale) const {
    const kit::View* content = _window.contentView();
    if (!content || !content->layer()) {
        return kit::Bitmap();
    }
    return kit::LayerRenderer::render(*content->layer(), scale);
}

}  // namespace qthost
