#include "hosts/qt/QtWindowPeer.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/X11WindowList.h"
#include "kit/appkit/Window.h"
#include "kit/quartz/LayerRenderer.h"

namespace qthost {

namespace {

bool isOverlay(const kit::Window& window) {
    return window.styleMask() == kit::WindowStyleMaskBorderless && window.ignoresMouseEvents();
}

QRect qtGeometry(const kit::Rect& rect) {
    return QRect(static_cast<int>(std::lround(rect.minX())), static_cast<int>(std::lround(rect.minY())),
                 static_cast<int>(std::lround(rect.width())), static_cast<int>(std::lround(rect.height())));
}

}  // namespace

Qt::WindowFlags QtWindowPeer::windowFlags(const kit::Window& window) {
    Qt::WindowFlags flags = Qt::Window;
    if (isOverlay(window)) {
        // Bypassing the window manager keeps the overlay exactly where it is put and lets clicks reach the
        // panel beneath; a managed window gets moved and swallows them.
        flags |= Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
                 Qt::X11BypassWindowManagerHint;
    }
    if (window.level() >= kit::StatusWindowLevel || isOverlay(window)) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    return flags;
}

QtWindowPeer::QtWindowPeer(QtHost& host, kit::Window& window)
    : _host(host), _window(window), _widget(std::make_unique<LayerWidget>(windowFlags(window))) {
    if (isOverlay(window)) {
        // Before the native window exists: translucency chooses the window's visual.
        _widget->setAttribute(Qt::WA_TranslucentBackground);
        _widget->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    _fade.setTargetObject(_widget.get());
    _fade.setPropertyName("windowOpacity");
    _widget->setGeometry(qtGeometry(_host.screenCoordinates().toQt(_window.frame())));
    _widget->setWindowOpacity(_window.presentedAlphaValue());
}

QtWindowPeer::~QtWindowPeer() = default;

void QtWindowPeer::frameDidChange() {
    const QSize oldSize = _widget->size();
    _widget->setGeometry(qtGeometry(_host.screenCoordinates().toQt(_window.frame())));
    if (_widget->size() != oldSize) {
        render();
    }
}

void QtWindowPeer::levelDidChange() {
    const bool onTop = _window.level() >= kit::StatusWindowLevel;
    if (onTop == _widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        return;
    }
    // Changing a flag hides a shown window.
    const bool visible = _widget->isVisible();
    _widget->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) {
        didOrderFront();
    }
}

void QtWindowPeer::alphaDidChange(double fadeDuration) {
    const double target = _window.presentedAlphaValue();
    _fade.stop();
    if (fadeDuration > 0.0) {
        _fade.setStartValue(_widget->windowOpacity());
        _fade.setEndValue(target);
        _fade.setDuration(std::max(1, static_cast<int>(std::lround(fadeDuration * 1000.0))));
        _fade.start();
    } else {
        _widget->setWindowOpacity(target);
    }
}

void QtWindowPeer::didBecomeKey() {
    _widget->activateWindow();
}

void QtWindowPeer::didOrderFront() {
    _widget->show();
    _widget->raise();
    markAsOwnWindow();
}

void QtWindowPeer::didClose() {
    if (isFading()) {
        // Shown again later, the window must be at the opacity the kit holds, not halfway there.
        _fade.stop();
        _widget->setWindowOpacity(_fade.endValue().toDouble());
    }
    _widget->hide();
}

void QtWindowPeer::contentDidChange() {
    render();
}

void QtWindowPeer::render() {
    const kit::View* content = _window.contentView();
    if (!content || !content->layer()) {
        return;
    }
    const double scale = _widget->devicePixelRatioF();
    _widget->setContent(kit::LayerRenderer::render(*content->layer(), scale), scale);
}

void QtWindowPeer::markAsOwnWindow() {
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        X11WindowList::markAsAwningWindow(x11->display(), _widget->winId());
    }
}

}  // namespace qthost
