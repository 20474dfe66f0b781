#include "hosts/qt/widgets/QtWindowPeer.h"

#include <QWindow>
#include <algorithm>
#include <cmath>

#include "hosts/qt/QtHost.h"
#include "kit/appkit/Menu.h"
#include "kit/appkit/Window.h"
#include "kit/quartz/LayerRenderer.h"

namespace qthost {

namespace {

// A popover's window: it belongs to the window it points into.
bool isChildWindow(const kit::Window& window) {
    return window.parentWindow() && !QtWindowPeer::isOverlay(window);
}

QRect qtGeometry(const kit::Rect& rect) {
    return QRect(static_cast<int>(std::lround(rect.minX())), static_cast<int>(std::lround(rect.minY())),
                 static_cast<int>(std::lround(rect.width())), static_cast<int>(std::lround(rect.height())));
}

}  // namespace

bool QtWindowPeer::isOverlay(const kit::Window& window) {
    return window.styleMask() == kit::WindowStyleMaskBorderless && window.ignoresMouseEvents();
}

Qt::WindowFlags QtWindowPeer::windowFlags(const kit::Window& window) {
    // A tool window transient for its parent: the window manager keeps it above that window.
    Qt::WindowFlags flags = isChildWindow(window) ? Qt::Tool : Qt::Window;
    const std::uint64_t style = window.styleMask();
    if (style == kit::WindowStyleMaskBorderless) {
        flags |= Qt::FramelessWindowHint;
    }
    if (style & kit::WindowStyleMaskTitled) {
        // The title bar offers what the style mask allows, and no more.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style & kit::WindowStyleMaskClosable) {
            flags |= Qt::WindowCloseButtonHint;
        }
        if (style & kit::WindowStyleMaskMiniaturizable) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (style & kit::WindowStyleMaskResizable) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    if (isOverlay(window)) {
        // Bypassing the window manager keeps the overlay exactly where it is put and lets clicks reach the
        // panel beneath; a managed window gets moved and swallows them.
        flags |=
            Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint;
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
    if (isChildWindow(window)) {
        // Shown, it leaves the keyboard with the window it points into; frameless, it needs an edge of its own.
        _widget->setAttribute(Qt::WA_ShowWithoutActivating);
        _widget->setDrawsEdge(true);
    }
    _fade.setTargetObject(_widget.get());
    _fade.setPropertyName("windowOpacity");
    QObject::connect(&_fade, &QVariantAnimation::valueChanged, [this] { _host.session().sendQueuedRequests(); });
    applyFrame();
    _widget->setWindowOpacity(_window.presentedAlphaValue());
    _widget->setWindowTitle(QString::fromStdString(_window.title()));
    if (!isOverlay(window)) {
        becomePopupOfParent();
        attachMenuBar();
        _widget->setCloseHandler([this] { _window.close(); });
        _widget->setGeometryHandler([this] { adoptShownFrame(); });
        _widget->setActivationHandler([this] { _window.becomeKeyWindow(); });
        presentContentView();
    }
}

QtWindowPeer::~QtWindowPeer() = default;

void QtWindowPeer::becomePopupOfParent() {
    kit::Window* parentWindow = _window.parentWindow();
    auto* parent = parentWindow ? dynamic_cast<QtWindowPeer*>(parentWindow->peer()) : nullptr;
    if (!parent || _host.session().windowsKeepTheirPlace()) {
        return;
    }
    // A tooltip-type window with a transient parent is a popup that takes no grab: it stays open while the
    // user works in its parent, as a popover does, and lies where it is put relative to the parent.
    _widget->setWindowFlags((_widget->windowFlags() & ~Qt::WindowType_Mask) | Qt::ToolTip);
    nativeWindow().setTransientParent(&parent->nativeWindow());
    _popupParent = parent;
    applyFrame();
}

void QtWindowPeer::frameDidChange() {
    const QSize oldSize = _widget->size();
    applyFrame();
    if (_widget->size() != oldSize) {
        render();
    }
}

QRect QtWindowPeer::kitGeometry() const {
    const QRect geometry = qtGeometry(_host.screenCoordinates().toQt(_window.frame()));
    if (!_popupParent) {
        return geometry;
    }
    // Where the compositor places windows, Qt's window for the parent is not where its widget was put (it
    // stays at 0,0): a popup keeps its place relative to the parent's window.
    return geometry.translated(_popupParent->nativeWindow().geometry().topLeft() -
                               _popupParent->_widget->geometry().topLeft());
}

QRect QtWindowPeer::shownGeometry() const {
    return kitGeometry().adjusted(0, -menuBarHeight(), 0, 0);
}

int QtWindowPeer::menuBarHeight() const {
    return _menuBar ? _menuBar->sizeHint().height() : 0;
}

void QtWindowPeer::attachMenuBar() {
    const std::uint64_t mask = _window.styleMask();
    kit::Menu* mainMenu = kit::Menu::mainMenu();
    if (!mainMenu || !(mask & kit::WindowStyleMaskTitled) || !(mask & kit::WindowStyleMaskClosable)) {
        return;
    }
    _menuBar = std::make_unique<QtMenuBar>(*mainMenu, *_widget);
    _contentArea = std::make_unique<QWidget>(_widget.get());
    applyFrame();
}

void QtWindowPeer::layOutMenuBar() {
    if (_menuBar) {
        const int height = menuBarHeight();
        _menuBar->setGeometry(0, 0, _widget->width(), height);
        _contentArea->setGeometry(0, height, _widget->width(), _widget->height() - height);
    }
}

void QtWindowPeer::applyFrame() {
    const QRect geometry = shownGeometry();
    if (!isOverlay(_window) && !(_window.styleMask() & kit::WindowStyleMaskResizable)) {
        _widget->setFixedSize(geometry.size());
    }
    _widget->setGeometry(geometry);
    layOutMenuBar();
    // A panel that moved may have been mapped again over an overlay, and no window manager restacks windows
    // that bypass it.
    if (isOverlay(_window) && _widget->isVisible()) {
        _widget->raise();
    }
}

void QtWindowPeer::adoptShownFrame() {
    const QRect shown = _widget->geometry().adjusted(0, menuBarHeight(), 0, 0);
    // Our own placements arrive here too, already matching the kit's frame.
    if (!_widget->isVisible() || shown == kitGeometry()) {
        return;
    }
    _window.setFrame(
        _host.screenCoordinates().toKit(kit::Rect(shown.x(), shown.y(), shown.width(), shown.height())),
        true);
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
    _widget->raise();
    _host.session().activate(nativeWindow());
}

void QtWindowPeer::didOrderFront() {
    if (isChildWindow(_window) && !_widget->isVisible()) {
        attachToParentWindow();
    }
    _widget->show();
    _widget->raise();
    _host.session().windowShown(nativeWindow());
}

void QtWindowPeer::attachToParentWindow() {
    // Where the compositor places windows, the popup already has its parent.
    if (!_popupParent) {
        if (auto* parent = dynamic_cast<QtWindowPeer*>(_window.parentWindow()->peer())) {
            nativeWindow().setTransientParent(&parent->nativeWindow());
        }
    }
    _host.session().keepOutOfTaskLists(nativeWindow());
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

void QtWindowPeer::titleDidChange() {
    _widget->setWindowTitle(QString::fromStdString(_window.title()));
}

void QtWindowPeer::contentViewDidChange() {
    if (!isOverlay(_window)) {
        presentContentView();
    }
}

void QtWindowPeer::viewDidChange(kit::View& view) {
    if (isOverlay(_window)) {
        return;
    }
    QtViewPeer* peer = viewPeer(view);
    if (!peer) {
        // Newly added: presented inside its superview's widget, unless that is not presented either.
        if (QtViewPeer* parent = view.superview() ? viewPeer(*view.superview()) : nullptr) {
            present(view, parent->widget());
        }
        return;
    }
    if (!peer->presents(view)) {
        presentAgain(view);
        return;
    }
    peer->sync();
    // Subviews keep their kit frames but sit elsewhere from the top when this view's height changed.
    for (const auto& subview : view.subviews()) {
        if (QtViewPeer* subviewPeer = viewPeer(*subview)) {
            subviewPeer->place();
        }
    }
}

QtViewPeer* QtWindowPeer::viewPeer(const kit::View& view) const {
    const auto found = _viewPeers.find(&view);
    return found == _viewPeers.end() ? nullptr : found->second.get();
}

void QtWindowPeer::presentContentView() {
    _viewPeers.clear();
    if (kit::View* content = _window.contentView()) {
        present(*content, _contentArea ? *_contentArea : static_cast<QWidget&>(*_widget));
    }
    presentTitlebarAccessories();
}

void QtWindowPeer::titlebarAccessoriesDidChange() {
    if (!isOverlay(_window)) {
        presentTitlebarAccessories();
    }
}

void QtWindowPeer::presentTitlebarAccessories() {
    for (const auto& entry : _window.titlebarAccessoryViewControllers()) {
        kit::View* container = entry->view();
        if (!container) {
            continue;
        }
        if (QtViewPeer* peer = viewPeer(*container)) {
            peer->place();
        } else {
            present(*container, _contentArea ? *_contentArea : static_cast<QWidget&>(*_widget));
        }
        viewPeer(*container)->widget().raise();
    }
}

void QtWindowPeer::viewWillBeRemoved(kit::View& view) {
    forget(view);
}

void QtWindowPeer::present(kit::View& view, QWidget& parent) {
    QtViewPeer& peer = *(_viewPeers[&view] = QtViewPeer::make(view, parent));
    for (const auto& subview : view.subviews()) {
        present(*subview, peer.widget());
    }
    peer.sync();
}

void QtWindowPeer::forget(const kit::View& view) {
    for (const auto& subview : view.subviews()) {
        forget(*subview);
    }
    _viewPeers.erase(&view);
}

void QtWindowPeer::presentAgain(kit::View& view) {
    QWidget* parent = viewPeer(view)->widget().parentWidget();
    forget(view);
    present(view, *parent);
    // A new widget lies above its siblings; the kit's order of subviews is the order of stacking.
    if (const kit::View* superview = view.superview()) {
        for (const auto& sibling : superview->subviews()) {
            if (QtViewPeer* siblingPeer = viewPeer(*sibling)) {
                siblingPeer->widget().raise();
            }
        }
    }
}

void QtWindowPeer::render() {
    const kit::View* content = _window.contentView();
    if (!content || !content->layer()) {
        return;
    }
    const double scale = _widget->devicePixelRatioF();
    _widget->setContent(kit::LayerRenderer::render(*content->layer(), scale), scale);
}

QWindow& QtWindowPeer::nativeWindow() {
    _widget->winId();  // makes the native window when there is none yet
    return *_widget->windowHandle();
}

}  // namespace qthost
